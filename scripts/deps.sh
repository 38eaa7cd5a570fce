#!/usr/bin/env bash
# Installs what the build needs, when it is missing. Quiet and quick when
# everything is already there.
# Usage: scripts/deps.sh [programs|tests]
#   programs  what building and running the programs needs (the main job)
#   tests     that and what the tests and CI need (the default)
set -euo pipefail
set_name="${1:-tests}"

programs=(
  build-essential cmake ninja-build
  qt6-base-dev libgl-dev libxcb1-dev pkg-config fonts-liberation fonts-liberation2
)
# GoogleTest; the offscreen and VNC platform plugins; metafile and PDF tools
# the tests read their output with; the German locale; an X server, a window
# manager and key input for the window tests and the installed program's
# start; the desktop entry checker for the package's entries.
tests=(
  libgtest-dev libgmock-dev
  qt6-qpa-plugins emf2svg locales
  xvfb xauth openbox x11-utils xdotool poppler-utils
  desktop-file-utils
  clang-14 libclang-rt-14-dev  # the sanitized clang build and its libFuzzer binaries (.ci/run)
)

case "$set_name" in
  programs) packages=("${programs[@]}") ;;
  tests) packages=("${programs[@]}" "${tests[@]}") ;;
  *) echo "usage: $0 [programs|tests]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The locale tests read and print numbers under locales that write a decimal
# comma: German, and French for the suite's second run in .ci/run.
if [ "$set_name" = tests ]; then
  for comma_locale in de_DE fr_FR; do
    if ! locale -a 2>/dev/null | grep -qi "^${comma_locale}\.utf8\$"; then
      $SUDO localedef -i "$comma_locale" -f UTF-8 "$comma_locale.UTF-8" 2>/dev/null || true
    fi
  done
fi
