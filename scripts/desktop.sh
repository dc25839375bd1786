# Sourced: starts and stops an X display (a private Xvfb unless one is given) and the Wine
# virtual desktop with its taskbar, for running Plumbo and its tests.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

PLUMBO_XVFB_PID=""
PLUMBO_DESKTOP_SAID=""

# start_display private|auto
start_display() {
  local mode="${1:-private}"
  if [ "$mode" = auto ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local fifo
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${PLUMBO_DESKTOP_SIZE}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  PLUMBO_XVFB_PID=$!
  local num
  read -r num < "$fifo"
  rm -f "$fifo"
  export DISPLAY=":$num"
}

# The desktop process owns the taskbar and the tray; every program of the prefix joins it. It is
# waited for up to two minutes: on a clean clone, right after a run before it, one took longer
# than the 20 s once allowed. What Wine said while starting it is shown when it does not come.
start_desktop() {
  PLUMBO_DESKTOP_SAID="$(mktemp)"
  pwine explorer "/desktop=Default,$PLUMBO_DESKTOP_SIZE" >/dev/null 2>"$PLUMBO_DESKTOP_SAID" &
  for _ in $(seq 1 600); do
    if xwininfo -root -tree 2>/dev/null | grep -q "Wine desktop"; then
      sleep 1
      return 0
    fi
    sleep 0.2
  done
  echo "The Wine desktop did not come up on $DISPLAY; Wine said:" >&2
  tail -n 20 "$PLUMBO_DESKTOP_SAID" >&2
  return 1
}

stop_desktop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  [ -n "$PLUMBO_DESKTOP_SAID" ] && rm -f "$PLUMBO_DESKTOP_SAID"
  PLUMBO_DESKTOP_SAID=""
  if [ -n "$PLUMBO_XVFB_PID" ]; then
    kill "$PLUMBO_XVFB_PID" 2>/dev/null || true
    wait "$PLUMBO_XVFB_PID" 2>/dev/null || true
    PLUMBO_XVFB_PID=""
  fi
}
