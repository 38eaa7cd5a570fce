#!/usr/bin/env bash
# The main job: installs what is missing, builds the engine, its driver, the
# sample writer and the two programs (not the tests: scripts/test.sh builds
# and runs every one of them), writes the sample workspace
# (databases, user files, cases) under workspace/, points the settings at it,
# searches the sample databases through the engine, runs the sample ILS case,
# summarises its results and starts the scientific edition CRV_Sci on the
# workspace when a display is available (CRV_NO_GUI=1 skips that).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${CRV_BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh" programs

# The build's own lines go to a log; here it is one line of progress.
mkdir -p "$build"
log="$build/build.log"
echo "== build (full log: $log) =="
progress() {
  local line
  while IFS= read -r line; do
    case "$line" in
      \[*/*\]*) if [ -t 1 ]; then printf '\r  %s' "${line%%]*}]"; fi ;;
    esac
  done
  if [ -t 1 ]; then printf '\r'; fi
}
if ! "$root/scripts/build.sh" "$build" -DCRV_BUILD_TESTS=OFF --target crv_programs 2>&1 | tee "$log" | progress; then
  echo "the build failed; the end of its log ($log):" >&2
  tail -n 30 "$log" >&2
  exit 1
fi
echo "  built: the engine, its driver and the programs in $build/bin"
crv50="$build/bin/crv50"

work="$root/workspace"
echo "== sample workspace: $work =="
"$build/bin/crv_sample" "$work"

# The settings the engine and the programs share, pointing at the workspace.
export CORVANE_SETTINGS="$work/settings.ini"
{
  "$root/scripts/workspace_paths.sh" "$work"
  printf '[General]\nModel Type=SCI\n'
} >"$CORVANE_SETTINGS"
echo "settings: $CORVANE_SETTINGS"
"$crv50" config

# The driver appends each search's result lines to RfiSrch1.tmp and
# RfiSrch2.tmp in the current folder (its own temporary folder goes with it).
temp="$work/search"
mkdir -p "$temp"
count_lines() { if [ -f "$1" ]; then wc -l <"$1" | tr -d ' '; else echo 0; fi; }

# The navaid search of a new case: navaids and COM facilities 60 nmi around
# the sample localizer, appended to one pair of result files.
echo "== navaid and COM search, 60 nmi around 39.3375N 77.7611W =="
rm -f "$temp/RfiSrch1.tmp" "$temp/RfiSrch2.tmp"
(cd "$temp" && "$crv50" --quiet search navaid 1 39.3375 77.7611 0 0 0 0 60 0)
(cd "$temp" && "$crv50" --quiet search com 1 39.3375 77.7611 0 0 0 0 60 0)
echo "result lines: RfiSrch1.tmp $(count_lines "$temp/RfiSrch1.tmp"), RfiSrch2.tmp $(count_lines "$temp/RfiSrch2.tmp")"
"$crv50" sort "$temp/RfiSrch2.tmp" "67:69:A" 100
head -5 "$temp/RfiSrch2.tmp"

echo "== FM stations within 25 nmi of the sample localizer (RF-source search) =="
rm -f "$temp/RfiSrch1.tmp" "$temp/RfiSrch2.tmp"
(cd "$temp" && "$crv50" --quiet search fm 3 39.3375 77.7611 0 0 0 0 25 0)
echo "result lines: RfiSrch1.tmp $(count_lines "$temp/RfiSrch1.tmp"), RfiSrch2.tmp $(count_lines "$temp/RfiSrch2.tmp")"
rm -f "$temp/RfiSrch1.tmp" "$temp/RfiSrch2.tmp"

echo "== simulation run of the sample ILS case =="
run="$work/Output/SampleILS/"
rm -rf "$run"
mkdir -p "$run"
cp "$work/Data/SampleILS.dat" "$run/Rfi.plt"
set +e
"$crv50" --quiet run "$run" >"$run/run.log" 2>"$run/run.err"
status=$?
set -e
cat "$run/run.log"
if [ "$status" -ne 0 ]; then
  echo "simulation run failed (exit $status):" >&2
  cat "$run/run.err" >&2
  exit "$status"
fi

echo "== summary =="
echo "workspace:  $work (databases in db/, cases in Data/, user files in User/)"
echo "run folder: $run"
# The driver prints one STEP.KEY=VALUE line per count; show them per step.
value() { sed -n "s/^$1=//p" "$run/run.log"; }
printf '  %-8s status %s, %s receiver points\n' Grid "$(value grid.status)" "$(value grid.points)"
printf '  %-8s status %s, %s A2/B2 case(s)\n' Evaluate "$(value evaluate.status)" "$(value evaluate.cases)"
printf '  %-8s status %s, %s case(s) of %s combination(s)\n' B1_2Sig "$(value b1-2sig.status)" \
  "$(value b1-2sig.cases)" "$(value b1-2sig.combinations)"
printf '  %-8s status %s, %s case(s) of %s combination(s)\n' B1_3Sig "$(value b1-3sig.status)" \
  "$(value b1-3sig.cases)" "$(value b1-3sig.combinations)"
if [ -f "$run/Rfi.txt" ]; then
  echo "report:     $run""Rfi.txt"
  plots=$(cd "$run" && find . -maxdepth 1 -name '*.plt' ! -name 'Rfi.plt' -printf '%f\n' | sort)
  echo "plots:      $(printf '%s\n' "$plots" | grep -c . || true) interference plot file(s) in the run folder"
  printf '%s\n' "$plots" | sed -n 's/^./            &/p'
else
  echo "report:     none (Rfi.txt is written by the evaluations)"
fi

echo "== the program =="
program="$build/bin/CRV_Sci"
start_cmd="CORVANE_SETTINGS=\"$CORVANE_SETTINGS\" \"$program\""
if [ ! -x "$program" ]; then
  echo "CRV_Sci was not built (Qt programs off); the results above stand on their own."
elif [ "${CRV_NO_GUI:-0}" = "1" ]; then
  echo "not started (CRV_NO_GUI=1); start it with:"
  echo "  $start_cmd"
elif [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  # Detached, so the job ends while the program stays open; the program
  # reads the same workspace settings as the runs above.
  log="$work/CRV_Sci.log"
  CORVANE_SETTINGS="$CORVANE_SETTINGS" setsid "$program" >"$log" 2>&1 </dev/null &
  echo "CRV_Sci started (pid $!) on the sample workspace; its messages go to $log"
  echo "open the results with File > Display Results..., or run the case with Simulation > Run Simulation..."
else
  echo "no display here; to use the program on the sample workspace, start it on a desktop with:"
  echo "  $start_cmd"
fi
