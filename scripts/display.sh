# Sourced: holds the flavour's prefix for this shell, starts one Xvfb (when no
# display is given) and one persistent wineserver, and stops both on exit. The
# flavour's environment (scripts/wine-env.sh) is taken first. Returns non-zero
# with the reason when the display or Wine cannot start.
pinyin_start_display() {
  . "$here/scripts/wine-env.sh" || return
  pinyin_hold_prefix || return
  trap pinyin_stop_display EXIT
  if [ -z "${DISPLAY:-}" ] || [ "${PINYIN_OWN_DISPLAY:-0}" = 1 ]; then
    pinyin_start_xvfb || return
  fi
  # This run holds the prefix, so any wineserver in it is ours to end: the one
  # the prefix's set-up left (it ends by itself a few seconds later) or a
  # persistent one a killed run left (it never ends). The persistent server
  # started below then serves every program of this run.
  wineserver -k >/dev/null 2>&1 || true
  if ! wineserver -p >/dev/null 2>&1; then
    echo "display: could not start a persistent wineserver for $WINEPREFIX" >&2
    return 1
  fi
  # Start Wine's own background processes now, detached from our pipes: when a
  # test program starts them they inherit its stdout and ctest waits for them
  # until the last window closes. wineboot starts the services; the desktop
  # process (explorer.exe /desktop) starts with the first process that asks
  # for the desktop window, which 64-bit wineboot does not do.
  if ! "$PINYIN_WINE" wineboot >/dev/null 2>&1 </dev/null \
     || ! "$PINYIN_WINE" rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null; then
    echo "display: Wine's services or desktop did not start in $WINEPREFIX on $DISPLAY" >&2
    return 1
  fi
}
pinyin_stop_display() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${PINYIN_XVFB_PID:-}" ] && kill "$PINYIN_XVFB_PID" 2>/dev/null || true
}
# Starts an Xvfb on the first free display number, which Xvfb takes itself
# and writes to fd 3, so that runs started together each get their own;
# exports DISPLAY; returns non-zero with Xvfb's reason when it cannot start.
pinyin_start_xvfb() {
  local said err rc
  said=$(mktemp) err=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$said" >/dev/null 2>"$err" &
  PINYIN_XVFB_PID=$!
  for _ in $(seq 600); do
    [ -s "$said" ] || ! kill -0 "$PINYIN_XVFB_PID" 2>/dev/null && break
    sleep 0.05
  done
  if ! grep -qx '[0-9][0-9]*' "$said"; then
    if kill -0 "$PINYIN_XVFB_PID" 2>/dev/null; then
      kill "$PINYIN_XVFB_PID"
      echo "display: Xvfb named no display within 30 s" >&2
    else
      wait "$PINYIN_XVFB_PID" && rc=0 || rc=$?
      echo "display: Xvfb could not start (exit $rc): $(grep -v '^(EE) *$' "$err" | tail -3 | tr '\n' ' ')" >&2
    fi
    PINYIN_XVFB_PID=
    rm -f "$said" "$err"
    return 1
  fi
  export DISPLAY=":$(cat "$said")"
  rm -f "$said" "$err"
}
