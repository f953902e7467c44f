#!/usr/bin/env bash
# Builds both Windows targets and writes the release packages to build/dist/: for win64
# and for win32 a zip and an installer (CPack's ZIP and NSIS generators). The version is
# project()'s in CMakeLists.txt.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
bash scripts/setup.sh
rm -rf build/dist
mkdir -p build/dist
for p in win64 win32; do
  [ -f "build/$p/build.ninja" ] || cmake --preset "$p" >/dev/null
  cmake --build --preset "$p" --target kgmonitor
  (cd "build/$p" && cpack -D CPACK_OUTPUT_FILE_PREFIX="$here/build/dist" >cpack.log 2>&1) ||
    { cat "build/$p/cpack.log"; echo "packaging $p failed"; exit 1; }
done
echo "packages in build/dist:"
ls -l build/dist
