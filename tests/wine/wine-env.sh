# tests/wine/wine-env.sh — sourced: sets up Wine for one build tree.
# Usage: . wine-env.sh <build dir> <win64|win32>
# Gives WINEPREFIX (inside the build tree, never ~/.wine; KG_WINEPREFIX names another), the
# Japanese locale that makes Wine's ANSI and OEM code pages 932, and KG_WINE, the loader
# for the build's bitness.
kg_build_dir=$1
kg_arch=$2
export WINEPREFIX="${KG_WINEPREFIX:-$kg_build_dir/wineprefix}"
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

kg_wine_prefix_ready() {
  # A fresh prefix on first use; a lock keeps parallel tests from making two.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$WINEPREFIX/.kg-ready" ] && [ -f "$fonts/marlett.ttf" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.kg-ready" ]; then
      rm -rf "$WINEPREFIX"
      /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
      # With no window manager, hiding or closing a window otherwise stalls for 2 s.
      /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
      "$WINESERVER" -w
      touch "$WINEPREFIX/.kg-ready"
    fi
    # Wine's own fonts (Marlett draws the caption buttons): this Wine looks for them in
    # its data directory by a path it cannot open, so the prefix gets copies.
    if [ ! -f "$fonts/marlett.ttf" ]; then
      mkdir -p "$fonts" && cp /usr/share/wine/fonts/*.ttf "$fonts/"
    fi
  ) 9>"$WINEPREFIX.lock"
}
