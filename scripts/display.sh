# Sourced: starts one Xvfb and one persistent wineserver for this shell when no
# display is given, and stops both on exit. The flavour's environment
# (scripts/wine-env.sh) is taken first.
pinyin_start_display() {
  . "$here/scripts/wine-env.sh"
  if [ -z "${DISPLAY:-}" ] || [ "${PINYIN_OWN_DISPLAY:-0}" = 1 ]; then
    local n=${PINYIN_DISPLAY_NUM:-91}
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n+1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    PINYIN_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  wineserver -p >/dev/null 2>&1 || true
  # Start Wine's own background processes now, detached from our pipes: when a
  # test program starts them they inherit its stdout and ctest waits for them
  # until the last window closes. wineboot starts the services; the desktop
  # process (explorer.exe /desktop) starts with the first process that asks
  # for the desktop window, which 64-bit wineboot does not do.
  "$PINYIN_WINE" wineboot >/dev/null 2>&1 </dev/null || true
  "$PINYIN_WINE" rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null || true
  trap pinyin_stop_display EXIT
}
pinyin_stop_display() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${PINYIN_XVFB_PID:-}" ] && kill "$PINYIN_XVFB_PID" 2>/dev/null || true
}
