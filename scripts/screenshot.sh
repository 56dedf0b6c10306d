#!/usr/bin/env bash
# Saves what is on the display that scripts/start.sh runs the tool on (or on
# DISPLAY when no start.sh is running) into a PNG and prints its path.
#   scripts/screenshot.sh [file.png]
set -euo pipefail
record="${TMPDIR:-/tmp}/pinyin-renamer-display"
display=${DISPLAY:-}
[ -f "$record" ] && display=$(cat "$record")
if [ -z "$display" ]; then
  echo "no display: start the tool with scripts/start.sh first" >&2
  exit 1
fi
out=${1:-${TMPDIR:-/tmp}/pinyin-renamer-$(date +%Y%m%d-%H%M%S).png}
import -display "$display" -window root "$out"
echo "$out"
