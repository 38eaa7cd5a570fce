#!/usr/bin/env bash
# Configures and builds out of tree.
# Usage: scripts/build.sh [BUILD_DIR] [cmake options...] [--target TARGET...]
# Without --target it builds everything the configuration has.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
options=()
targets=()
while (($#)); do
  if [ "$1" = "--target" ]; then
    shift
    targets=("$@")
    break
  fi
  options+=("$1")
  shift
done
cmake -S "$root" -B "$build" -G Ninja "${options[@]}" >/dev/null
if ((${#targets[@]})); then
  cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
else
  cmake --build "$build" -j "$(nproc)"
fi
