# Sourced: the environment every Wine run of the project uses, for one flavour
# (PINYIN_FLAVOUR: win32 or win64; without it, the one that runs here). Each
# flavour has its own prefix, and its own loader named in full: Debian's
# `wine` wrapper takes the 32-bit loader whenever wine32 is installed.
if [ -z "${PINYIN_FLAVOUR:-}" ]; then
  . "$here/scripts/flavour.sh"
  pinyin_choose_flavours
  PINYIN_FLAVOUR=$PINYIN_RUN_FLAVOUR
fi
export PINYIN_FLAVOUR
case "$PINYIN_FLAVOUR" in
win32)
  export WINEPREFIX="${PINYIN_WINEPREFIX:-$HOME/.cache/pinyin-renamer/wine32}"
  export WINEARCH=win32
  PINYIN_WINE=/usr/lib/wine/wine
  PINYIN_BUILD="${PINYIN_BUILD_DIR:-$here/build}" ;;
win64)
  export WINEPREFIX="${PINYIN_WINEPREFIX64:-$HOME/.cache/pinyin-renamer/wine64}"
  export WINEARCH=win64
  PINYIN_WINE=/usr/lib/wine/wine64
  PINYIN_BUILD="${PINYIN_BUILD_DIR64:-$here/build-win64}" ;;
*)
  echo "unknown flavour '$PINYIN_FLAVOUR' (win32 or win64)" >&2
  return 2 2>/dev/null || exit 2 ;;
esac
export WINELOADER=$PINYIN_WINE PINYIN_WINE
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=zh_CN.UTF-8
export LANG=zh_CN.UTF-8
