#!/usr/bin/env bash
# Sets up what is missing, builds the Windows program, and starts it under Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
bash scripts/setup.sh
[ -f build/win64/build.ninja ] || cmake --preset win64 >/dev/null
cmake --build --preset win64
echo "The monitor's window is not built yet; this builds the logic and its tests."
