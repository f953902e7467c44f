#!/usr/bin/env bash
# tests/wine/run.sh <build dir> <win64|win32> <program.exe> [args...]
# CTest's emulator for the cross builds: runs a Windows test program under Wine.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh" "$1" "$2"
shift 2
kg_wine_prefix_ready
"$KG_WINE" "$@"
rc=$?
exit $rc
