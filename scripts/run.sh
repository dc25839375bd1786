#!/usr/bin/env bash
# Sets up and runs Plumbo in a Wine virtual desktop: on $DISPLAY when there is one, else on
# a private Xvfb display. Prints the display and a screenshot taken once Plumbo is resident.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
source scripts/desktop.sh
start_display auto
start_desktop
exe="$root/build/win/bin/plumbo.exe"
pwine "$exe" >/dev/null 2>&1 &
# Resident once the settings file exists and the splash window has had time to go.
for _ in $(seq 1 100); do [ -f "$root/build/win/bin/plumbo.ini" ] && break; sleep 0.2; done
sleep 2
shot="$root/build/plumbo-screenshot.png"
import -window root "$shot"
echo "Plumbo is running on display $DISPLAY (Wine prefix $WINEPREFIX)."
echo "Screenshot: $shot"
if [ -n "$PLUMBO_XVFB_PID" ]; then
  echo "Private display: stop it with 'kill $PLUMBO_XVFB_PID' (and 'WINEPREFIX=$WINEPREFIX wineserver -k')."
fi
