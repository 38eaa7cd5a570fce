#!/usr/bin/env bash
# Run inside an X server (xvfb-run): starts a window manager and PROGRAM,
# waits for the program's main window, leaves through File > Exit with the
# keys a person uses (Alt+F, then x for "E&xit") and expects status 0.
# The program's output goes to LOG. Every wait has a time limit.
# Usage: start_and_exit.sh PROGRAM LOG
set -euo pipefail
program="$1"
log="$2"

openbox >/dev/null 2>&1 &
wm=$!
# A window mapped while the manager is still taking over the screen may never
# be shown: start the program once the manager publishes its desktops.
managed=0
for _ in $(seq 200); do
  if xdotool get_num_desktops >/dev/null 2>&1; then managed=1; break; fi
  sleep 0.05
done
if [ "$managed" -ne 1 ]; then
  echo "the window manager did not start within 10 s" >"$log"
  exit 1
fi
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  kill "$wm" 2>/dev/null || true
}
trap cleanup EXIT

QT_QPA_PLATFORM=xcb "$program" >"$log" 2>&1 &
pid=$!

# The main window's title is the program's caption (" Corvane 5.0").
if ! wid="$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" --name 'Corvane' | head -n 1)" ||
  [ -z "$wid" ]; then
  echo "no main window of $program within 60 s" >>"$log"
  exit 1
fi
timeout 20 xdotool windowactivate --sync "$wid"

# File opens as a popup of the program's own; x then chooses Exit.
visible() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
before="$(visible)"
xdotool key --clearmodifiers alt+f
opened=0
for _ in $(seq 200); do
  if [ "$(visible)" -gt "$before" ]; then opened=1; break; fi
  sleep 0.05
done
if [ "$opened" -ne 1 ]; then
  echo "the File menu did not open" >>"$log"
  exit 1
fi
xdotool key x

# The program ends by itself after Exit; its status is the check.
if ! timeout 30 tail --pid="$pid" -f /dev/null; then
  echo "$program still running 30 s after File > Exit" >>"$log"
  exit 1
fi
set +e
wait "$pid"
status=$?
set -e
pid=""
if [ "$status" -ne 0 ]; then
  echo "$program ended with status $status" >>"$log"
  exit 1
fi
