#!/usr/bin/env bash
# Prepares the project's Wine prefix: 32-bit, Chinese code page via the locale,
# font replacements so that "宋体"/SimSun resolve to Noto CJK, no crash dialog,
# and windows that Wine manages itself (no window manager runs on Xvfb; a
# "managed" window costs seconds to close there). Idempotent: the registry
# settings are imported again only when they change.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-env.sh"
made="$WINEPREFIX/.pinyin-prefix-ready"
if [ ! -f "$made" ]; then
  echo "setup: making the Wine prefix $WINEPREFIX (about a minute)" >&2
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
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
  wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
  wineserver -w || true
  echo "$sum" > "$settings"
fi
