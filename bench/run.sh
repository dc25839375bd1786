#!/usr/bin/env bash
# Runs every benchmark and prints the figures: "bash bench/run.sh" (after scripts/setup.sh).
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
source scripts/desktop.sh
source bench/idle_rulers.sh
trap stop_desktop EXIT
bash scripts/prepare-prefix.sh >/dev/null
start_display private
start_desktop || exit 1
for exe in build/win/bin/*_bench_win.exe; do
  echo "== $(basename "$exe")"
  pwine "$exe" 2>/dev/null
  echo
done
echo "== idle"
idle_rulers "${PLUMBO_IDLE_SECONDS:-30}" FALSE TRUE
idle_rulers "${PLUMBO_IDLE_SECONDS:-30}" TRUE TRUE
idle_rulers "${PLUMBO_IDLE_SECONDS:-30}" FALSE FALSE
