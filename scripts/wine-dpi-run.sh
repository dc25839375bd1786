#!/usr/bin/env bash
# Runs a Windows executable of the build at another screen resolution, in a Wine prefix, a
# display and a desktop of its own: "scripts/wine-dpi-run.sh DPI EXE [args...]". Wine reads
# its resolution (LogPixels) from the prefix when each process starts, and the desktop and the
# program must agree on it, so each resolution has its own prefix beside the project's.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
dpi="${1:?usage: wine-dpi-run.sh DPI EXE [args...]}"
shift
export PLUMBO_DPI="$dpi"
export PLUMBO_WINEPREFIX="$(cd "$here/.." && pwd)/build/wineprefix-${dpi}dpi"
bash "$here/prepare-prefix.sh" || exit 1
source "$here/desktop.sh"
trap stop_desktop EXIT
start_display private
start_desktop || exit 1
pwine "$@"
