#!/usr/bin/env bash
# Sets the machine up, builds everything and runs every test program under
# Wine on a private Xvfb display, once per flavour this machine runs: the
# 32-bit suite and the 64-bit one where 32-bit programs run, else the 64-bit
# one alone. Arguments go to ctest. Exits non-zero when any suite fails or
# nothing can run.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/flavour.sh"
pinyin_choose_flavours
pinyin_say_flavours
[ "${PINYIN_SKIP_SETUP:-0}" = 1 ] || "$here/scripts/setup.sh"
passed=0 failed=0 status=0 times=()
for flavour in $PINYIN_FLAVOURS; do
  log=$(mktemp)
  start=$(date +%s)
  set +e
  (
    set -e
    export PINYIN_FLAVOUR=$flavour
    PINYIN_SKIP_SETUP=1 "$here/scripts/build.sh"
    # The prefix is checked even when the package set-up is skipped: a prefix
    # without the font replacements draws other glyphs than the tool gets.
    "$here/scripts/wineprefix.sh"
    . "$here/scripts/display.sh"
    PINYIN_OWN_DISPLAY=1 pinyin_start_display
    cd "$PINYIN_BUILD"
    echo "test: the $flavour suite in $PINYIN_BUILD" >&2
    ctest --output-on-failure -j4 "$@"
  ) 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  set -e
  times+=("$flavour $(( $(date +%s) - start )) s")
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1 || true)
  rm -f "$log"
  if [ -n "$summary" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad)); failed=$((failed + bad))
  fi
  if [ "$rc" != 0 ] || [ -z "$summary" ]; then
    echo "test: the $flavour suite failed (exit $rc)" >&2
    status=1
    [ -n "$summary" ] || failed=$((failed + 1))
  fi
done
echo "test: build and tests took ${times[*]}" >&2
echo "test programs: $passed passed, $failed failed"
exit $status
