#!/usr/bin/env bash
# Every test: installs what is missing, builds out of tree, runs the suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${CRV_BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh" tests
# The main job switches the tests off in the same build folder; on again here.
# CI sets CRV_WARNINGS_AS_ERRORS=ON: a compiler warning then fails the build.
"$root/scripts/build.sh" "$build" -DCRV_BUILD_TESTS=ON \
  -DCMAKE_COMPILE_WARNING_AS_ERROR="${CRV_WARNINGS_AS_ERRORS:-OFF}"
cd "$build"
# Tests never touch the user's own settings or folders.
export CORVANE_SETTINGS="$build/test-home/settings.ini"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$(nproc)"
