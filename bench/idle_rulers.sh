#!/usr/bin/env bash
# CPU time and wake-ups of a resting Plumbo: both rulers shown along a window that does not
# move, with the transparent look off or on and the cursor mark on or off. Sourced by
# bench/run.sh, which has the display and the desktop up. Prints CPU milliseconds (from the
# kernel's nanosecond counters) and context switches (the process's wake-ups) per minute,
# summed over the Wine process's threads.
idle_rulers() {
  local seconds="${1:-30}" transparent="${2:-FALSE}" cursor="${3:-TRUE}"
  local bin="$PLUMBO_ROOT/build/win/bin"
  local dir
  dir="$(mktemp -d)"
  cp "$bin/plumbo.exe" "$dir/"
  printf '[COLOR]\r\nMEJ=16777215\r\nLINE=16711680\r\nNO=0\r\n[SHOW]\r\nZORDER=TRUE\r\nTRANSPARENT=%s\r\nINSIDE=FALSE\r\nCURSOR=%s\r\n' \
    "$transparent" "$cursor" > "$dir/plumbo.ini"
  pwine "$dir/plumbo.exe" >/dev/null 2>&1 &
  sleep 4
  pwine "$bin/testtarget.exe" 300 200 400 300 >/dev/null 2>&1 &
  sleep 2
  # A double-click on the tray icon, at the right end of the taskbar, as a person would.
  local w h
  read -r w h < <(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\).*/\1 \2/p')
  xdotool mousemove $((w - 10)) $((h - 10)) click --repeat 2 --delay 80 1
  xdotool mousemove $((w / 2)) $((h / 2))
  # Until the X server shows the horizontal ruler along the target's top edge, at most 20 s:
  # with the rulers hidden the figures would be those of a Plumbo with nothing to do.
  local x y rw rh shown="" until=$((SECONDS + 20))
  while [ -z "$shown" ] && [ "$SECONDS" -lt "$until" ]; do
    read -r x y rw rh < <(python3 "$PLUMBO_ROOT/tests/driver/x_window_at.py" 500 195)
    [ -n "$rh" ] && [ $((y + rh)) -eq 200 ] && [ "$rw" -ge 400 ] && shown=1 || sleep 0.1
  done
  # This copy's process, told from other Wine prefixes' by its folder's name: Wine shows the
  # command line as the Unix path or, with its 32-bit half installed, as the Windows one.
  local pid
  pid="$(pgrep -f "$(basename "$dir")[/\\\\]plumbo\\.exe" | head -n 1)"
  [ -n "$pid" ] || { echo "plumbo.exe did not start"; rm -rf "$dir"; return 1; }
  [ -n "$shown" ] || { echo "the rulers did not show"; kill "$pid"; rm -rf "$dir"; return 1; }
  sample() {  # CPU nanoseconds, then voluntary+involuntary switches, over all threads
    local t=0 s=0 f
    for f in /proc/"$pid"/task/*; do
      t=$((t + $(awk '{print $1}' "$f/schedstat")))
      s=$((s + $(awk '/ctxt_switches/ {n += $2} END {print n}' "$f/status")))
    done
    echo "$t $s"
  }
  local t0 s0 t1 s1
  read -r t0 s0 < <(sample)
  sleep "$seconds"
  read -r t1 s1 < <(sample)
  echo "Resting Plumbo, both rulers shown, TRANSPARENT=$transparent, CURSOR=$cursor, ${seconds} s sampled (process $pid):"
  awk -v dt=$((t1 - t0)) -v ds=$((s1 - s0)) -v sec="$seconds" \
    'BEGIN { printf "  CPU time     %8.1f ms per minute (%.2f %% of a core)\n  wake-ups     %8.0f per minute (context switches of all its threads)\n", dt / 1e6 * 60 / sec, dt / 1e7 / sec, ds * 60 / sec }'
  kill "$pid" 2>/dev/null
  rm -rf "$dir"
}
