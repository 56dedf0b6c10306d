#!/usr/bin/env bash
# Prepares the project's Wine prefix of one flavour (PINYIN_FLAVOUR: 32- or
# 64-bit): Chinese code page via the locale, font replacements so that "宋体"/SimSun resolve to Noto CJK, no crash dialog,
# and windows that Wine manages itself (no window manager runs on Xvfb; a
# "managed" window costs seconds to close there). Idempotent: the registry
# settings are imported again only when they change.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-env.sh"
made="$WINEPREFIX/.pinyin-prefix-ready"
if [ ! -f "$made" ]; then
  echo "setup: making the $PINYIN_FLAVOUR Wine prefix $WINEPREFIX (about a minute)" >&2
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  log=$(mktemp)
  if ! "$PINYIN_WINE" --version >"$log" 2>&1; then
    echo "setup: the $PINYIN_FLAVOUR Wine loader $PINYIN_WINE cannot start: $(tail -1 "$log")" >&2
    if [ "$PINYIN_FLAVOUR" = win32 ]; then
      echo "setup: this machine cannot run 32-bit programs; scripts/test.sh and scripts/start.sh use the 64-bit flavour on such a machine (PINYIN_FLAVOURS=win64)" >&2
    fi
    rm -f "$log"; exit 1
  fi
  if ! "$PINYIN_WINE" wineboot -i >"$log" 2>&1 </dev/null || ! wineserver -w \
     || [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "setup: Wine could not make the prefix $WINEPREFIX; what it said:" >&2
    tail -20 "$log" >&2
    rm -f "$log"; exit 1
  fi
  rm -f "$log"
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
  wineserver -w
  echo "$sum" > "$settings"
fi
