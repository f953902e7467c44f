#!/usr/bin/env bash
# tests/wine/run.sh <build dir> <win64|win32> <program.exe> [args...]
# CTest's emulator for the cross builds: runs a Windows test program under Wine, on a
# virtual display of its own (the font dialog test opens windows; Wine cannot without a
# display, and none of the caller's should be used).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh" "$1" "$2"
shift 2
coproc XVFB { exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null; }
xvfb=$XVFB_PID
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null || true' EXIT
if ! read -r -t 30 -u "${XVFB[0]}" display; then
  echo "run.sh: Xvfb did not start (it gave no display number within 30 s)" >&2
  exit 1
fi
export DISPLAY=:$display
# Made on the display, as the suites make theirs.
kg_wine_prefix_ready || exit 1
status=0
"$KG_WINE" "$@" || status=$?
# The prefix's processes end before their display does.
"$WINESERVER" -w || true
# A program that dies before it prints (a missing DLL, say) would otherwise fail in silence.
[ "$status" -eq 0 ] || printf 'run.sh: %s ended with status %d (0x%x)\n' "$1" "$status" "$status" >&2
exit "$status"
