# Sourced: the environment every Wine run of the project uses, for one flavour
# (PINYIN_FLAVOUR: win32 or win64; without it, the one that runs here). Each
# flavour has its own prefix, and its own loader named in full: Debian's
# `wine` wrapper takes the 32-bit loader whenever wine32 is installed.
# A flavour it cannot tell ends the sourcing with a message and status 2;
# callers stop on it (`. wine-env.sh || exit`).
if [ -z "${PINYIN_FLAVOUR:-}" ]; then
  . "$here/scripts/flavour.sh"
  pinyin_choose_flavours || return 2 2>/dev/null || exit 2
  PINYIN_FLAVOUR=$PINYIN_RUN_FLAVOUR
fi
case "$PINYIN_FLAVOUR" in
win32)
  export WINEPREFIX="${PINYIN_WINEPREFIX:-$HOME/.cache/pinyin-renamer/wine32}"
  PINYIN_PREFIX_VAR=PINYIN_WINEPREFIX
  export WINEARCH=win32
  PINYIN_WINE=/usr/lib/wine/wine
  PINYIN_BUILD="${PINYIN_BUILD_DIR:-$here/build}" ;;
win64)
  export WINEPREFIX="${PINYIN_WINEPREFIX64:-$HOME/.cache/pinyin-renamer/wine64}"
  PINYIN_PREFIX_VAR=PINYIN_WINEPREFIX64
  export WINEARCH=win64
  PINYIN_WINE=/usr/lib/wine/wine64
  PINYIN_BUILD="${PINYIN_BUILD_DIR64:-$here/build-win64}" ;;
*)
  echo "unknown flavour '$PINYIN_FLAVOUR' (win32 or win64)" >&2
  return 2 2>/dev/null || exit 2 ;;
esac
export PINYIN_FLAVOUR
export WINELOADER=$PINYIN_WINE PINYIN_WINE
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=zh_CN.UTF-8
export LANG=zh_CN.UTF-8

# One run at a time holds a prefix: a second run's `wineserver -k` would end
# the first one's programs, and its settings import would race the first one's
# tests. The lock file lies beside the prefix (not in it: a half-made prefix is
# removed whole). The lock is held by a small process of its own that ends
# with this shell, not by a descriptor of this shell: every program started
# here would inherit that, and a Wine process that outlived the run would
# hold the prefix for ever. The holder's children see PINYIN_HELD_PREFIX and
# do not take it again.
pinyin_hold_prefix() {
  if [ "${PINYIN_HELD_PREFIX:-}" = "$WINEPREFIX" ]; then return 0; fi
  local lock="${WINEPREFIX%/}.lock" got= how me=$BASHPID
  mkdir -p "$(dirname "$lock")"
  # A step of this same run that held the prefix a moment ago lets go within
  # a tenth of a second: only a longer wait is another run's, and said.
  for how in "-w 1" ""; do
    if [ -z "$how" ]; then
      echo "wine: another run holds the prefix $WINEPREFIX ($(cat "$lock" 2>/dev/null || echo "see $lock")); waiting until it ends" >&2
    fi
    exec {PINYIN_PREFIX_HOLDER}< <(exec flock $how "$lock" sh -c 'echo held; exec tail -s 0.1 --pid="$1" -f /dev/null' sh "$me")
    read -r -u "$PINYIN_PREFIX_HOLDER" got || true
    [ "$got" != held ] || break
    exec {PINYIN_PREFIX_HOLDER}<&-
  done
  if [ "$got" != held ]; then
    echo "wine: could not lock the prefix $WINEPREFIX ($lock)" >&2
    return 1
  fi
  echo "process $me ($0)" > "$lock"
  export PINYIN_HELD_PREFIX=$WINEPREFIX
}
