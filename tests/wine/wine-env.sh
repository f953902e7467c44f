# tests/wine/wine-env.sh — sourced: sets up Wine for one build tree.
# Usage: . wine-env.sh <build dir> <win64|win32>
# Gives WINEPREFIX (inside the build tree, never ~/.wine: the unit tests' own, or the one
# KG_WINEPREFIX names), the Japanese locale that makes Wine's ANSI and OEM code pages 932,
# and KG_WINE, the loader for the build's bitness.
kg_build_dir=$1
kg_arch=$2
kg_wine_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
kg_pristine="$kg_build_dir/pristine-prefix"
export WINEPREFIX="${KG_WINEPREFIX:-$kg_build_dir/wineprefix-unit}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINESERVER=/usr/lib/wine/wineserver64
if [ "$kg_arch" = win64 ]; then
  export WINELOADER=/usr/lib/wine/wine64
  KG_WINE=/usr/lib/wine/wine64
else
  export WINELOADER=/usr/lib/wine/wine
  KG_WINE=/usr/lib/wine/wine
fi

kg_make_pristine_prefix() {
  # Judged by what it leaves, not only by its exit code; a failure says so with Wine's own
  # words, and is tried once more from nothing, after the half-made prefix's server is gone.
  # Its 32-bit half is asked for only where 32-bit programs can run (the test command's
  # detection, which takes KG_RUN_32BIT when that is set): elsewhere Wine's set-up
  # cannot start that half and leaves syswow64 empty, and the prefix is complete for
  # 64-bit programs.
  local log="$kg_build_dir/pristine-prefix.log" attempt status half32=yes
  bash "$kg_wine_dir/runs-32bit.sh" || half32=no
  for attempt in 1 2; do
    rm -rf "$kg_pristine"
    status=0
    {
      WINEPREFIX="$kg_pristine" WINEDEBUG=fixme-all /usr/lib/wine/wine64 wineboot -i || status=$?
      # With no window manager, hiding or closing a window otherwise stalls for 2 s.
      WINEPREFIX="$kg_pristine" /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f ||
        status=$?
      WINEPREFIX="$kg_pristine" "$WINESERVER" -w
    } >"$log" 2>&1
    if [ -f "$kg_pristine/drive_c/windows/system32/kernel32.dll" ] &&
      { [ "$half32" = no ] || [ -f "$kg_pristine/drive_c/windows/syswow64/kernel32.dll" ]; } &&
      grep -q '"Managed"="N"' "$kg_pristine/user.reg" 2>/dev/null; then
      [ "$status" -eq 0 ] || echo "wine-env.sh: Wine's set-up of $kg_pristine ended with status $status, but the prefix is complete" >&2
      # Wine's own fonts (Marlett draws the caption buttons): this Wine looks for them in
      # its data directory by a path it cannot open, so the prefix gets copies.
      mkdir -p "$kg_pristine/drive_c/windows/Fonts" && cp /usr/share/wine/fonts/*.ttf "$kg_pristine/drive_c/windows/Fonts/" &&
        touch "$kg_pristine/.kg-ready" && return 0
    fi
    echo "wine-env.sh: could not make the Wine prefix $kg_pristine (try $attempt of 2, status $status); the end of Wine's output:" >&2
    tail -n 30 "$log" >&2
    WINEPREFIX="$kg_pristine" "$WINESERVER" -k >/dev/null 2>&1
  done
  return 1
}

kg_wine_prefix_ready() {
  # Each user of a prefix (a suite, the demo, a benchmark) has its own, copied from the
  # build's pristine one, which is made once; a lock keeps parallel users from making two.
  [ -f "$WINEPREFIX/.kg-ready" ] && return 0
  mkdir -p "$kg_build_dir"
  (
    flock 9
    [ -f "$kg_pristine/.kg-ready" ] || kg_make_pristine_prefix || exit 1
    if [ "$WINEPREFIX" != "$kg_pristine" ] && [ ! -f "$WINEPREFIX/.kg-ready" ]; then
      rm -rf "$WINEPREFIX"
      cp -a "$kg_pristine" "$WINEPREFIX" || { echo "wine-env.sh: could not copy $kg_pristine to $WINEPREFIX" >&2; exit 1; }
    fi
  ) 9>"$kg_build_dir/.prefix.lock"
}
