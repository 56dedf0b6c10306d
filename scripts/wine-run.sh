#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix and locale, in the
# flavour PINYIN_FLAVOUR names (the build's own emulator line sets it).
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-env.sh"
[ -x "$PINYIN_WINE" ] || { echo "$PINYIN_WINE is not installed: run scripts/setup.sh" >&2; exit 127; }
exec "$PINYIN_WINE" "$@"
