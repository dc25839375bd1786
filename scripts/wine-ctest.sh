#!/usr/bin/env bash
# Runs ctest on a Windows build tree inside its own private display and Wine desktop, so
# several runs can go on side by side: "scripts/wine-ctest.sh BUILD_DIR [ctest args...]".
# Set PLUMBO_WINEPREFIX to keep runs apart (each prefix has its own wineserver).
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${1:?usage: wine-ctest.sh BUILD_DIR [ctest args...]}"
shift
bash "$here/prepare-prefix.sh" || exit 1
# Wine's own error lines stay on for the tests. Wine ends a process itself, with exit code 1 and
# nothing but such a line, when one of its threads cannot open the X display: without the line
# an end-to-end run was seen to end with no word at all.
export WINEDEBUG="${WINEDEBUG:--all,err+all}"
source "$here/desktop.sh"
trap stop_desktop EXIT
start_display private
start_desktop || exit 1
# No reruns: a test that fails once has found something, in the program or in the test.
ctest --test-dir "$build" --output-on-failure "$@"
