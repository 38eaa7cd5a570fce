#!/usr/bin/env bash
# Installs what the build and the tests need, when it is missing. Quiet and
# quick when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev fonts-liberation fonts-liberation2
  emf2svg locales
  xvfb xauth poppler-utils
  openbox x11-utils xdotool
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}" >&2
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The locale tests read and print numbers under a German locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || true
fi
