# Sourced: which flavours of the program this machine builds and runs.
#   win32  the 32-bit program (what ships), under 32-bit Wine
#   win64  the same sources as a 64-bit program, under 64-bit Wine
# Every machine builds both: the i686 compiler is an amd64 program, and a
# change that breaks only the 32-bit build must show everywhere. Only a machine
# whose kernel starts 32-bit programs runs the 32-bit one. The answer comes from
# starting a 32-bit program, not from the architecture's name: a tiny static
# i386 program that only exits with 42 needs no library, so it answers before
# anything is installed.
#
# Sets PINYIN_CAN_RUN_32 (1/0), PINYIN_32_ERROR (why not), PINYIN_FLAVOURS
# (what scripts/test.sh builds; it tests those that run here) and
# PINYIN_RUN_FLAVOUR (what scripts/start.sh runs). PINYIN_FLAVOURS set
# beforehand (say "win64") is kept: a developer may build and test one flavour
# alone. The functions answer failures with a message and a non-zero return,
# and leave the caller's shell options as they were.

# Starts the program $1 and sorts out how it ended: 0 it exited with 42 (it
# ran), 1 the kernel does not know its format (ENOEXEC: this machine cannot run
# 32-bit programs), 2 it could not be started from where it lies (EACCES: a
# file system mounted noexec), 3 anything else. pinyin_probe_said holds what
# the start said. The message is bash's own, read in the C locale.
pinyin_start_probe() {
  local rc
  pinyin_probe_said=$(export LC_ALL=C; "$1" 2>&1) && rc=0 || rc=$?
  pinyin_probe_said=${pinyin_probe_said##*: }
  if [ "$rc" = 42 ]; then return 0; fi
  case $rc:$pinyin_probe_said in
  126:"Exec format error") return 1 ;;
  126:"Permission denied") return 2 ;;
  esac
  pinyin_probe_said="it ended with $rc${pinyin_probe_said:+ ($pinyin_probe_said)} instead of 42"
  return 3
}

pinyin_probe_32bit() {
  if [ -n "${PINYIN_CAN_RUN_32:-}" ]; then return 0; fi
  local dir probe how tried=
  # The temporary folder first; where that cannot start programs, the
  # project's own cache folder, then the checkout.
  for dir in "${TMPDIR:-/tmp}" "$HOME/.cache/pinyin-renamer" ${here:+"$here"}; do
    if ! mkdir -p "$dir" 2>/dev/null || ! probe=$(mktemp "$dir/pinyin-i386-probe.XXXXXX" 2>/dev/null); then
      tried+="; $dir: no file can be written there"
      continue
    fi
    # ELF header, one loadable segment, then: mov ebx,42; mov eax,1; int 0x80.
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' > "$probe"
    chmod +x "$probe"
    pinyin_start_probe "$probe" && how=0 || how=$?
    rm -f "$probe"
    case $how in
    0) PINYIN_CAN_RUN_32=1 PINYIN_32_ERROR= ;;
    1) PINYIN_CAN_RUN_32=0 PINYIN_32_ERROR=$pinyin_probe_said ;;
    2) tried+="; $dir: $pinyin_probe_said"; continue ;;
    *)
      echo "setup: cannot tell whether this machine runs 32-bit programs: the 32-bit probe started in $dir but $pinyin_probe_said" >&2
      return 1 ;;
    esac
    export PINYIN_CAN_RUN_32 PINYIN_32_ERROR
    return 0
  done
  echo "setup: cannot tell whether this machine runs 32-bit programs: the 32-bit probe could not be started (${tried#; }); set TMPDIR to a folder where programs may run" >&2
  return 1
}

# Whether flavour $1 runs here; if not, says why in one line (prefixed by $2).
pinyin_runs_here() {
  if [ "$1" != win32 ] || [ "$PINYIN_CAN_RUN_32" = 1 ]; then return 0; fi
  echo "${2:-setup}: this machine cannot run 32-bit programs ($PINYIN_32_ERROR): the 32-bit program cannot run here; the 64-bit one does (PINYIN_FLAVOUR=win64)" >&2
  return 1
}

pinyin_choose_flavours() {
  pinyin_probe_32bit || return
  PINYIN_FLAVOURS=${PINYIN_FLAVOURS:-"win32 win64"}
  if [ "$PINYIN_CAN_RUN_32" = 1 ]; then
    PINYIN_RUN_FLAVOUR=${PINYIN_RUN_FLAVOUR:-win32}
  else
    PINYIN_RUN_FLAVOUR=${PINYIN_RUN_FLAVOUR:-win64}
    pinyin_runs_here "$PINYIN_RUN_FLAVOUR" || return
  fi
  export PINYIN_FLAVOURS PINYIN_RUN_FLAVOUR
}

# Says once, in one line, what is built and why; "run" for what starts one
# program, nothing for what builds and tests.
pinyin_say_flavours() {
  if [ -n "${PINYIN_FLAVOURS_SAID:-}" ]; then return 0; fi
  local why
  if [ "$PINYIN_CAN_RUN_32" = 1 ]; then
    why="this machine runs 32-bit programs"
  else
    why="this machine cannot run 32-bit programs ($PINYIN_32_ERROR)"
  fi
  if [ "${1:-}" = run ]; then
    echo "setup: $why: the $PINYIN_RUN_FLAVOUR program is built and started" >&2
  elif [ "$PINYIN_CAN_RUN_32" = 1 ]; then
    echo "setup: $why: building the 32-bit program (what ships) and testing it under 32-bit Wine; the 64-bit build is tested too, so that neither flavour rots (flavours: $PINYIN_FLAVOURS)" >&2
  else
    echo "setup: $why: building the 32-bit program (what ships) without running it, and building and testing the same sources as a 64-bit program under 64-bit Wine (flavours: $PINYIN_FLAVOURS)" >&2
  fi
  export PINYIN_FLAVOURS_SAID=1
}
