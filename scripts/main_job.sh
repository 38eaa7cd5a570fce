#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the engine's driver
# on the bundled example.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${CRV_BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$build"
crv50="$build/bin/crv50"

work="$root/workspace"
mkdir -p "$work"
export CORVANE_SETTINGS="${CORVANE_SETTINGS:-$work/settings.ini}"

echo "== engine configuration =="
"$crv50" config
echo "== position arithmetic: 30 nmi on 045 from 38.85N 77.04W =="
"$crv50" distll 30 45 38.85 77.04
echo "== sorting the example record file by frequency, then call sign =="
cp "$root/engine/examples/stations.txt" "$work/stations.txt"
"$crv50" sort "$work/stations.txt" "10:16:A 2:8:A" 40
cat "$work/stations.txt"
