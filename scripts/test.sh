#!/usr/bin/env bash
# Sets the machine up, builds every flavour and runs every test program under
# Wine on a private Xvfb display, once per flavour this machine runs: the
# 32-bit suite and the 64-bit one where 32-bit programs run; elsewhere the
# 32-bit program and its tests are built, not run, and the run says so. Arguments
# go to ctest. Exits non-zero when any build or suite fails or nothing can run.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/flavour.sh"
pinyin_choose_flavours
pinyin_say_flavours
[ "${PINYIN_SKIP_SETUP:-0}" = 1 ] || "$here/scripts/setup.sh"
passed=0 failed=0 status=0 ran=0 times=()
for flavour in $PINYIN_FLAVOURS; do
  start=$(date +%s)
  if ! PINYIN_SKIP_SETUP=1 PINYIN_FLAVOUR=$flavour "$here/scripts/build.sh"; then
    echo "test: the $flavour build failed" >&2
    status=1
    continue
  fi
  times+=("$flavour build $(( $(date +%s) - start )) s")
  if [ "$flavour" = win32 ] && [ "$PINYIN_CAN_RUN_32" != 1 ]; then
    echo "test: the 32-bit program and its tests were built and not run: this machine cannot run 32-bit programs ($PINYIN_32_ERROR)" >&2
    continue
  fi
  ran=1
  log=$(mktemp)
  start=$(date +%s)
  set +e
  (
    set -e
    export PINYIN_FLAVOUR=$flavour
    . "$here/scripts/wine-env.sh"
    # One run at a time in a prefix; the prefix is checked even when the
    # package set-up is skipped: a prefix without the font replacements draws
    # other glyphs than the tool gets.
    pinyin_hold_prefix
    "$here/scripts/wineprefix.sh"
    . "$here/scripts/display.sh"
    PINYIN_OWN_DISPLAY=1 pinyin_start_display
    cd "$PINYIN_BUILD"
    echo "test: the $flavour suite in $PINYIN_BUILD on $DISPLAY" >&2
    ctest --output-on-failure -j4 "$@"
  ) 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  set -e
  times+=("$flavour suite $(( $(date +%s) - start )) s")
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
[ "$ran" = 1 ] || { echo "test: no suite ran" >&2; status=1; }
printf -v took '%s, ' "${times[@]}"
echo "test: took ${took%, }" >&2
echo "test programs: $passed passed, $failed failed"
exit $status
