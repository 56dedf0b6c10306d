#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix and locale.
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-env.sh"
command -v wine >/dev/null || { echo "wine is not installed: run scripts/setup.sh" >&2; exit 127; }
exec wine "$@"
