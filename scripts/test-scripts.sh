#!/usr/bin/env bash
# Tests of the set-up scripts themselves. Each case makes a failure the scripts
# must meet (someone's own prefix, a noexec TMPDIR, a failed configure, an Xvfb
# that cannot start, a persistent wineserver left running, two runs at once)
# in folders of its own under one temporary folder, and checks what the
# scripts said and what they left. It needs what scripts/setup.sh installs and
# makes one 64-bit prefix of its own (about a minute). Mounting a noexec file
# system needs root; without it the cases that need one say so and are
# skipped. Exits non-zero when any case fails.
#   scripts/test-scripts.sh
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/pinyin-script-tests.XXXXXX")
noexec="$work/noexec"
mounted=0
cleanup() {
  WINEPREFIX="$work/wine64" wineserver -k >/dev/null 2>&1
  [ "$mounted" = 0 ] || umount "$noexec"
  rm -rf "$work"
}
trap cleanup EXIT
# The scripts under test use this folder's prefixes and build folders only.
export PINYIN_WINEPREFIX="$work/wine32" PINYIN_WINEPREFIX64="$work/wine64" \
       PINYIN_SKIP_SETUP=1 PINYIN_FLAVOURS_SAID=1
unset PINYIN_FLAVOUR PINYIN_CAN_RUN_32 PINYIN_32_ERROR PINYIN_HELD_PREFIX DISPLAY

failed=0 ncases=0 failed_cases=0 case_failed=0
case_name=
end_case() { [ "$case_failed" = 0 ] || failed_cases=$((failed_cases + 1)); case_failed=0; }
start_case() { end_case; case_name=$1; ncases=$((ncases + 1)); echo "test-scripts: $case_name" >&2; }
fail() { echo "test-scripts: FAILED $case_name: $*" >&2; failed=$((failed + 1)); case_failed=1; }
# run CMD...: its status in $rc, what it printed (both streams) in $out.
run() { out=$("$@" 2>&1) && rc=0 || rc=$?; }
says() { grep -qF -- "$1" <<<"$out" || fail "expected \"$1\" in: $out"; }
says_not() { ! grep -qF -- "$1" <<<"$out" || fail "did not expect \"$1\" in: $out"; }
status() { [ "$rc" = "$1" ] || fail "exit $rc, expected $1: $out"; }
status_not() { [ "$rc" != "$1" ] || fail "exit $rc: $out"; }
in_flavour_sh() { bash -c "here='$here'; . '$here/scripts/flavour.sh'; $1"; }

if mkdir -p "$noexec" && mount -t tmpfs -o noexec,size=1m tmpfs "$noexec" 2>/dev/null; then
  mounted=1
else
  echo "test-scripts: cannot mount a noexec file system here (not root?): the Permission denied cases are skipped" >&2
fi

start_case "the probe tells how a program could not start"
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 42\n' > "$work/bin/runs"
printf '#!/bin/sh\nexit 7\n' > "$work/bin/exits-7"
# An ELF header for a machine no kernel knows: execve answers ENOEXEC.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xff\xff\x01\x00\x00\x00' > "$work/bin/unknown-format"
chmod +x "$work/bin"/*
cases=("runs 0 " "unknown-format 1 Exec format error" "exits-7 3 it ended with 7 instead of 42")
if [ "$mounted" = 1 ]; then
  cp -p "$work/bin/runs" "$noexec/runs"
  cases+=("$noexec/runs 2 Permission denied")
fi
for c in "${cases[@]}"; do
  read -r prog want said <<<"$c"
  [ "${prog#/}" != "$prog" ] || prog="$work/bin/$prog"
  run in_flavour_sh "pinyin_start_probe '$prog'; echo \"\$? \$pinyin_probe_said\""
  [ "$out" = "$want $said" ] || fail "$prog: got \"$out\", expected \"$want $said\""
done

start_case "the 32-bit answer does not depend on where the probe can start"
run in_flavour_sh 'pinyin_probe_32bit && echo "$PINYIN_CAN_RUN_32 $PINYIN_32_ERROR"'
status 0
answer=$out
if [ "$mounted" = 1 ]; then
  run env TMPDIR="$noexec" bash -c "here='$here'; . '$here/scripts/flavour.sh'; pinyin_probe_32bit && echo \"\$PINYIN_CAN_RUN_32 \$PINYIN_32_ERROR\""
  status 0
  [ "$out" = "$answer" ] || fail "with TMPDIR noexec the answer is \"$out\", elsewhere \"$answer\""
  # Nowhere to start it: set-up stops with the reason, not with "cannot run".
  run env TMPDIR="$noexec" HOME="$noexec" bash -c ". '$here/scripts/flavour.sh'; pinyin_choose_flavours; echo \"returned \$? \${PINYIN_CAN_RUN_32:-unset}\""
  says "returned 1 unset"
  says "the 32-bit probe could not be started ($noexec: Permission denied"
fi

start_case "flavour.sh leaves the caller's shell options as they were"
for opts in +e -e; do
  run bash -c "set $opts; here='$here'; . '$here/scripts/flavour.sh'; pinyin_choose_flavours; pinyin_say_flavours; echo \$-"
  case $out in *e*) after=-e ;; *) after=+e ;; esac
  [ "$after" = "$opts" ] || fail "set $opts before, options '$out' after"
done

start_case "an unknown or unrunnable flavour stops the scripts with its reason"
run env PINYIN_FLAVOUR=win16 "$here/scripts/wine-run.sh" x.exe
status 2; says "unknown flavour 'win16'"; says_not "is not installed"
run env PINYIN_FLAVOUR=win16 "$here/scripts/wineprefix.sh"
status 2; says "unknown flavour 'win16'"
run env PINYIN_FLAVOUR=win32 PINYIN_CAN_RUN_32=0 PINYIN_32_ERROR="Exec format error" "$here/scripts/wine-run.sh" x.exe
status 1; says "this machine cannot run 32-bit programs (Exec format error)"; says_not "setup.sh"

start_case "the default prefixes and build folders"
for c in "win32 wine32 build" "win64 wine64 build-win64"; do
  read -r flavour prefix build <<<"$c"
  run env -u PINYIN_WINEPREFIX -u PINYIN_WINEPREFIX64 -u PINYIN_BUILD_DIR -u PINYIN_BUILD_DIR64 \
      HOME=/home/someone PINYIN_FLAVOUR=$flavour bash -c "here='$here'; . '$here/scripts/wine-env.sh'; echo \"\$WINEPREFIX \$PINYIN_BUILD\""
  [ "$out" = "/home/someone/.cache/pinyin-renamer/$prefix $here/$build" ] || fail "$flavour: $out"
done

start_case "a folder the scripts did not make is refused and kept"
mkdir -p "$work/own-prefix"
echo "someone's registry" > "$work/own-prefix/user.reg"
echo "a file" > "$work/own-file"
for c in "own-prefix user.reg" "own-file"; do
  read -r target kept <<<"$c"
  before=$(cd "$work" && find "$target" -exec stat -c '%n %s %Y' {} + | sort)
  run env PINYIN_FLAVOUR=win64 PINYIN_WINEPREFIX64="$work/$target" "$here/scripts/wineprefix.sh"
  status 1
  says "$work/$target is not a Wine prefix these scripts made"
  says "point PINYIN_WINEPREFIX64 at another folder, or remove this one yourself"
  [ "$(cd "$work" && find "$target" -exec stat -c '%n %s %Y' {} + | sort)" = "$before" ] || fail "$target was changed"
done

start_case "a prefix the scripts began and did not finish is made again"
mkdir -p "$work/wine64/drive_c"
echo "made by an earlier set-up" > "$work/wine64/.pinyin-prefix-owner"
touch "$work/wine64/drive_c/left-over"
run env PINYIN_FLAVOUR=win64 "$here/scripts/wineprefix.sh"
status 0
[ ! -e "$work/wine64/drive_c/left-over" ] || fail "the half-made prefix was not made again"
for f in .pinyin-prefix-owner .pinyin-prefix-ready .pinyin-settings system.reg; do
  [ -f "$work/wine64/$f" ] || fail "no $f in the new prefix"
done

start_case "the settings are written while a persistent wineserver runs in the prefix"
# What a run killed before its clean-up leaves, or scripts/start.sh's server:
# it never ends by itself, so nothing may wait for it to end.
WINEPREFIX="$work/wine64" wineserver -p
echo stale > "$work/wine64/.pinyin-settings"
run timeout 120 env PINYIN_FLAVOUR=win64 "$here/scripts/wineprefix.sh"
status 0
[ "$(cat "$work/wine64/.pinyin-settings")" != stale ] || fail "the settings were not written"
WINEPREFIX="$work/wine64" wineserver -k

start_case "an Xvfb that cannot start stops the run with its reason"
mkdir -p "$work/broken-x"
printf '#!/bin/sh\necho "(EE) Fatal server error:" >&2\necho "(EE) no screens found" >&2\nexit 1\n' > "$work/broken-x/Xvfb"
chmod +x "$work/broken-x/Xvfb"
run env PATH="$work/broken-x:$PATH" PINYIN_FLAVOUR=win64 bash -c \
  "here='$here'; . '$here/scripts/display.sh'; pinyin_start_display || { echo \"returned \$?\"; exit; }; echo \"started on \$DISPLAY\""
says "display: Xvfb could not start (exit 1): (EE) Fatal server error: (EE) no screens found"
says "returned 1"

start_case "two runs started together get a display each"
# Each waits until both have their display before it looks at its own.
for i in 1 2; do
  bash -c "here='$here'; . '$here/scripts/display.sh'
    pinyin_start_xvfb || exit
    echo \$DISPLAY > '$work/display$i'
    for _ in \$(seq 300); do [ -s '$work/display1' ] && [ -s '$work/display2' ] && break; sleep 0.1; done
    xdpyinfo >/dev/null || echo \"\$DISPLAY is dead\"
    kill \$PINYIN_XVFB_PID" >"$work/run$i" 2>&1 &
done
wait
out="$(cat "$work/run1" "$work/run2") displays: $(cat "$work/display1" "$work/display2" | tr '\n' ' ')"
says_not "dead"
[ -s "$work/display1" ] && [ -s "$work/display2" ] || fail "a run got no display: $out"
[ "$(cat "$work/display1")" != "$(cat "$work/display2")" ] || fail "both runs on one display: $out"

start_case "two runs in one prefix: the second waits for the first and says so"
for i in 1 2; do
  env PINYIN_FLAVOUR=win64 bash -c "here='$here'; . '$here/scripts/display.sh'
    pinyin_start_display || exit
    echo \"from \$(date +%s.%N)\"
    sleep 3
    echo \"until \$(date +%s.%N)\"" >"$work/run$i" 2>&1 &
done
wait
out=$(cat "$work/run1" "$work/run2")
[ "$(grep -c '^until' <<<"$out")" = 2 ] || fail "not both runs ran: $out"
says "wine: another run holds the prefix $work/wine64"
read -r from1 until1 from2 until2 < <(for i in 1 2; do
  awk '/^from/ {printf "%s ", $2} /^until/ {printf "%s ", $2}' "$work/run$i"; done; echo)
awk -v a="$from1" -v b="$until1" -v c="$from2" -v d="$until2" 'BEGIN { exit !(b < c || d < a) }' \
  || fail "the two runs held the prefix at once: $out"

start_case "a program a run leaves behind does not hold the prefix"
env PINYIN_FLAVOUR=win64 bash -c "here='$here'; . '$here/scripts/wine-env.sh'; pinyin_hold_prefix || exit; sleep 60 & echo \$! > '$work/left-behind'"
run timeout 20 env PINYIN_FLAVOUR=win64 bash -c "here='$here'; . '$here/scripts/wine-env.sh'; pinyin_hold_prefix && echo held"
status 0; says held
kill "$(cat "$work/left-behind")"

start_case "a configure that failed is done again"
sed 's#^set(CMAKE_CXX_COMPILER .*#set(CMAKE_CXX_COMPILER /nonexistent/x86_64-w64-mingw32-g++)#' \
  "$here/cmake/mingw-x86_64.cmake" > "$work/broken-toolchain.cmake"
run cmake -S "$here" -B "$work/build-win64" -DCMAKE_TOOLCHAIN_FILE="$work/broken-toolchain.cmake"
status_not 0
[ -f "$work/build-win64/CMakeCache.txt" ] || fail "the failed configure left no CMakeCache.txt, so it shows nothing"
run env PINYIN_FLAVOUR=win64 PINYIN_BUILD_DIR64="$work/build-win64" "$here/scripts/build.sh" --target help
status 0
says "build: configuring $work/build-win64"

end_case
echo "test-scripts: $((ncases - failed_cases)) passed, $failed_cases failed"
[ "$failed" = 0 ]
