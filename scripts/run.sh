#!/usr/bin/env bash
# Sets up what is missing, builds the Windows program, and starts it under Wine with code
# page 932: on your display if there is one, otherwise on a virtual display (then a
# screenshot of it, and one of the window alone as docs/monitor.png for the README, are
# saved and their paths printed). A stand-in editor writes a short demo.
# Ctrl-C closes the monitor and ends every Wine process it started.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
bash scripts/setup.sh
[ -f build/win64/build.ninja ] || cmake --preset win64 >/dev/null
cmake --build --preset win64
exec /usr/bin/python3 scripts/monitor.py
