#!/usr/bin/env bash
# Installs everything the build and the tests need, once. Safe to run again:
# each step checks first and does nothing when its work is already done.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache="$here/.cache"

log() { printf 'setup: %s\n' "$*"; }

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(
  cmake ninja-build pkg-config g++ clang-14 libclang-rt-14-dev
  libonig-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686
  wine wine64 wine32:i386
  xvfb xauth x11-apps xdotool imagemagick fonts-ipafont-gothic fonts-wine locales
  nsis python3-pefile
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture (for 32-bit Wine)"
  as_root dpkg --add-architecture i386
  missing=(update)
fi
src_list=/etc/apt/sources.list.d/kg-deb-src.sources
if [ ! -f "$src_list" ]; then
  log "adding a deb-src entry (Oniguruma's source for the Windows builds)"
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | as_root tee "$src_list" >/dev/null
  missing=(update)
fi
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
fi

# Wine takes its code pages from the Unix locale; without ja_JP it silently uses 1252.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  log "generating the ja_JP.UTF-8 locale"
  as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# Oniguruma for the two Windows targets, built from Debian's source package.
onig_src="$cache/onig-src"
if [ ! -f "$onig_src/CMakeLists.txt" ]; then
  log "fetching Oniguruma's Debian source"
  mkdir -p "$cache/dl" && (cd "$cache/dl" && apt-get source --download-only -qq libonig5 >/dev/null)
  rm -rf "$onig_src" && mkdir -p "$onig_src"
  tar -xzf "$cache"/dl/libonig_*.orig.tar.gz -C "$onig_src" --strip-components=1
fi
for target in x86_64-w64-mingw32 i686-w64-mingw32; do
  prefix="$cache/onig-$target"
  [ -f "$prefix/lib/libonig.a" ] && continue
  log "building Oniguruma for $target"
  cmake -S "$onig_src" -B "$cache/onig-build-$target" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-$target.cmake" \
    -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCUMENTATION=OFF -DENABLE_BINARY_COMPATIBLE_POSIX_API=OFF \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$cache/onig-build-$target" --target install >/dev/null
done
log "ready"
