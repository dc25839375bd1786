#!/usr/bin/env bash
# CPU time and wake-ups of a resting Plumbo: both rulers shown along a window that does not
# move. Sourced by bench/run.sh, which has the display and the desktop up.
# Prints CPU milliseconds and context switches (the process's wake-ups) per minute.
idle_rulers() {
  local seconds="${1:-30}"
  local bin="$PLUMBO_ROOT/build/win/bin"
  local dir
  dir="$(mktemp -d)"
  cp "$bin/plumbo.exe" "$dir/"
  pwine "$dir/plumbo.exe" >/dev/null 2>&1 &
  sleep 4
  pwine "$bin/testtarget.exe" 300 200 400 300 >/dev/null 2>&1 &
  sleep 2
  # A double-click on the tray icon, at the right end of the taskbar, as a person would.
  local w h
  read -r w h < <(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\).*/\1 \2/p')
  xdotool mousemove $((w - 10)) $((h - 10)) click --repeat 2 --delay 80 1
  sleep 3
  local pid
  pid="$(pgrep -f "$dir/plumbo.exe" | head -n 1)"
  if [ -z "$pid" ]; then
    pid="$(pgrep -f 'plumbo.exe' | tail -n 1)"
  fi
  sample() {  # utime+stime in ticks, then voluntary+involuntary switches over all threads
    local t=0 s=0 f
    for f in /proc/"$pid"/task/*; do
      t=$((t + $(awk '{print $14 + $15}' "$f/stat")))
      s=$((s + $(awk '/ctxt_switches/ {n += $2} END {print n}' "$f/status")))
    done
    echo "$t $s"
  }
  local t0 s0 t1 s1
  read -r t0 s0 < <(sample)
  sleep "$seconds"
  read -r t1 s1 < <(sample)
  local hz
  hz="$(getconf CLK_TCK)"
  echo "Resting Plumbo, both rulers shown, ${seconds} s sampled (Linux process $pid under Wine):"
  awk -v dt=$((t1 - t0)) -v ds=$((s1 - s0)) -v hz="$hz" -v sec="$seconds" \
    'BEGIN { printf "  CPU time     %8.1f ms per minute\n  wake-ups     %8.0f per minute (context switches of all its threads)\n", dt * 1000 / hz * 60 / sec, ds * 60 / sec }'
  rm -rf "$dir"
}
