#!/usr/bin/env bash
# Prepares the project's Wine prefix of one flavour (PINYIN_FLAVOUR: 32- or
# 64-bit): Chinese code page via the locale, font replacements so that "宋体"/SimSun resolve to Noto CJK, no crash dialog,
# and windows that Wine manages itself (no window manager runs on Xvfb; a
# "managed" window costs seconds to close there). Idempotent: the registry
# settings are imported again only when they change.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-env.sh"
. "$here/scripts/flavour.sh"
pinyin_probe_32bit
pinyin_runs_here "$PINYIN_FLAVOUR"
pinyin_hold_prefix
# The ready marker says the prefix is whole; the owner marker, written before
# Wine touches the folder, says these scripts made it. Only a folder with the
# owner marker and without the ready one (a set-up that failed or was cut off)
# is removed and made again: any other folder may be someone's own prefix.
made="$WINEPREFIX/.pinyin-prefix-ready"
owner="$WINEPREFIX/.pinyin-prefix-owner"
if [ ! -f "$made" ]; then
  if [ -f "$owner" ]; then
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
  elif [ -e "$WINEPREFIX" ] && { [ ! -d "$WINEPREFIX" ] || [ -n "$(ls -A "$WINEPREFIX")" ]; }; then
    echo "setup: $WINEPREFIX is not a Wine prefix these scripts made (neither .pinyin-prefix-ready nor .pinyin-prefix-owner is in it), so it is left as it is: point $PINYIN_PREFIX_VAR at another folder, or remove this one yourself" >&2
    exit 1
  fi
  echo "setup: making the $PINYIN_FLAVOUR Wine prefix $WINEPREFIX (about a minute)" >&2
  log=$(mktemp)
  if ! "$PINYIN_WINE" --version >"$log" 2>&1; then
    echo "setup: the $PINYIN_FLAVOUR Wine loader $PINYIN_WINE cannot start: $(tail -1 "$log"); scripts/setup.sh installs it" >&2
    rm -f "$log"; exit 1
  fi
  mkdir -p "$WINEPREFIX"
  echo "made by the project's scripts/wineprefix.sh; removed and made again while .pinyin-prefix-ready is missing" > "$owner"
  # wineboot runs in the foreground and its own status says whether the prefix
  # was made. The server keeps the registry and writes it out when it ends;
  # it is ended (this run holds the prefix) rather than waited for, as a
  # persistent server left in the prefix never ends by itself.
  if ! "$PINYIN_WINE" wineboot -i >"$log" 2>&1 </dev/null; then
    echo "setup: Wine's wineboot could not make the prefix $WINEPREFIX; what it said:" >&2
    tail -20 "$log" >&2
    rm -f "$log"; exit 1
  fi
  rm -f "$log"
  wineserver -k >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "setup: wineboot ended well but left no registry in $WINEPREFIX" >&2
    exit 1
  fi
  touch "$made"
fi

reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
python3 - "$reg" <<'PY'
import sys
text = ('Windows Registry Editor Version 5.00\r\n\r\n'
        '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        '"宋体"="Noto Serif CJK SC"\r\n'
        '"SimSun"="Noto Serif CJK SC"\r\n'
        '"新宋体"="Noto Serif CJK SC"\r\n'
        '"NSimSun"="Noto Serif CJK SC"\r\n'
        '"微软雅黑"="Noto Sans CJK SC"\r\n'
        '"Microsoft YaHei"="Noto Sans CJK SC"\r\n\r\n'
        '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n'
        '"ShowCrashDialog"=dword:00000000\r\n\r\n'
        '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
        '"Managed"="N"\r\n\r\n'
        '[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\r\n'
        '"winemenubuilder.exe"=""\r\n')
open(sys.argv[1], 'wb').write(b'\xff\xfe' + text.encode('utf-16-le'))
PY
settings="$WINEPREFIX/.pinyin-settings"
sum=$(sha1sum "$reg" | cut -d' ' -f1)
if [ "$(cat "$settings" 2>/dev/null)" != "$sum" ]; then
  echo "setup: writing the prefix's font replacements and settings" >&2
  if ! "$PINYIN_WINE" regedit /S "$("$PINYIN_WINE" winepath -w "$reg" 2>/dev/null </dev/null)" >/dev/null 2>&1 </dev/null; then
    echo "setup: Wine's regedit could not write the settings into $WINEPREFIX" >&2
    exit 1
  fi
  wineserver -k >/dev/null 2>&1 || true
  echo "$sum" > "$settings"
fi
