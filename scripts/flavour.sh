# Sourced: which flavours of the program this machine builds and runs.
#   win32  the 32-bit program (what ships), under 32-bit Wine
#   win64  the same sources as a 64-bit program, under 64-bit Wine
# A machine whose kernel cannot start 32-bit programs gets only win64. The
# answer comes from starting a 32-bit program, not from the architecture's
# name: a tiny static i386 program that only exits with 42 needs no library,
# so it answers before anything is installed.
#
# Sets PINYIN_CAN_RUN_32 (1/0), PINYIN_32_ERROR (why not), PINYIN_FLAVOURS
# (what scripts/test.sh builds and tests) and PINYIN_RUN_FLAVOUR (what
# scripts/start.sh runs). PINYIN_FLAVOURS set beforehand (say "win64") is kept:
# a developer may test one flavour alone.
pinyin_probe_32bit() {
  if [ -n "${PINYIN_CAN_RUN_32:-}" ]; then return; fi
  local probe err rc
  probe=$(mktemp "${TMPDIR:-/tmp}/pinyin-i386-probe.XXXXXX")
  # ELF header, one loadable segment, then: mov ebx,42; mov eax,1; int 0x80.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' > "$probe"
  chmod +x "$probe"
  set +e
  err=$("$probe" 2>&1)
  rc=$?
  set -e
  rm -f "$probe"
  if [ "$rc" = 42 ]; then
    PINYIN_CAN_RUN_32=1
    PINYIN_32_ERROR=
  else
    PINYIN_CAN_RUN_32=0
    PINYIN_32_ERROR=${err:-"a 32-bit program ended with $rc instead of 42"}
    PINYIN_32_ERROR=${PINYIN_32_ERROR##*: }
  fi
  export PINYIN_CAN_RUN_32 PINYIN_32_ERROR
}

pinyin_choose_flavours() {
  pinyin_probe_32bit
  if [ "$PINYIN_CAN_RUN_32" = 1 ]; then
    PINYIN_FLAVOURS=${PINYIN_FLAVOURS:-"win32 win64"}
    PINYIN_RUN_FLAVOUR=${PINYIN_RUN_FLAVOUR:-win32}
  else
    PINYIN_FLAVOURS=${PINYIN_FLAVOURS:-win64}
    PINYIN_RUN_FLAVOUR=${PINYIN_RUN_FLAVOUR:-win64}
    case " $PINYIN_FLAVOURS $PINYIN_RUN_FLAVOUR " in
    *" win32 "*)
      echo "setup: this machine cannot run 32-bit programs ($PINYIN_32_ERROR): the 32-bit flavour cannot run here" >&2
      return 1 ;;
    esac
  fi
  export PINYIN_FLAVOURS PINYIN_RUN_FLAVOUR
}

# Says once, in one line, what is built and why; "run" for what starts one
# program, nothing for what builds and tests.
pinyin_say_flavours() {
  if [ -n "${PINYIN_FLAVOURS_SAID:-}" ]; then return; fi
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
    echo "setup: $why: building and testing the same sources as a 64-bit program under 64-bit Wine (flavours: $PINYIN_FLAVOURS)" >&2
  fi
  export PINYIN_FLAVOURS_SAID=1
}
