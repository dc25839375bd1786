#!/usr/bin/env bash
# Runs a Windows executable of the build under Wine, in the project's prefix and desktop.
# CTest calls this for every Windows test (CMAKE_CROSSCOMPILING_EMULATOR).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec env LC_ALL="$PLUMBO_LOCALE" "$PLUMBO_WINE" "$@"
