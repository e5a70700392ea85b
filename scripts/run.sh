#!/usr/bin/env bash
# Builds Quillmoor and runs it under Wine. With no X display it runs on a virtual one, saves
# a screenshot of the main window under the build folder, prints its path and closes it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qm_install
qm_build
qm_prefix
exe="$BUILD/quillmoor.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  cd "$BUILD"
  exec wine "$exe" </dev/null
fi

# A caller that already runs the persistent wineserver (the test suite) keeps it.
[ -n "${QM_KEEP_WINESERVER:-}" ] || trap qm_stop EXIT
[ -n "${QM_KEEP_WINESERVER:-}" ] && trap '[ -n "$QM_XVFB_PID" ] && kill "$QM_XVFB_PID" 2>/dev/null || true' EXIT
qm_display
[ -n "${QM_KEEP_WINESERVER:-}" ] || qm_wineserver
(cd "$BUILD" && exec wine "$exe" </dev/null >"$BUILD/quillmoor-run.log" 2>&1) &
program=$!
window=""
for _ in $(seq 1 200); do
  window=$(xdotool search --onlyvisible --name '^Quillmoor$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "Quillmoor's main window did not appear; see $BUILD/quillmoor-run.log" >&2
  exit 1
fi
# The pointer rests in a corner, so that no tooltip covers the window in the screenshot.
xdotool mousemove 0 0 2>/dev/null || true
sleep 1
mkdir -p "$BUILD/screenshots"
shot="$BUILD/screenshots/main-window.png"
import -window "$window" "$shot"
echo "$shot"
# "Cl&ose" ends the program as a user would (destroying the X window alone would leave the
# program running).
xdotool key alt+o 2>/dev/null || true
for _ in $(seq 1 50); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
  echo "Quillmoor did not close on Alt+O" >&2
  exit 1
fi
