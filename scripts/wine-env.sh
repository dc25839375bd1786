# Sourced by the project's scripts: where the private Wine prefix lives and how Wine is run.
# Nothing here touches the user's own ~/.wine.
PLUMBO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${PLUMBO_WINEPREFIX:-$PLUMBO_ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# Gives Wine the Japanese code page 932 and UI language without generating the locale: Wine
# reads the name itself. A test of another language sets its own (en_US.UTF-8 needs no
# generating either).
PLUMBO_LOCALE="${PLUMBO_LOCALE:-ja_JP.UTF-8}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
PLUMBO_DESKTOP_SIZE="${PLUMBO_DESKTOP_SIZE:-1280x800}"

# Whether this machine's kernel runs 32-bit x86 programs. A kernel may be built or booted without
# them (ia32_emulation=off, as on some virtual machines), and then Wine's 32-bit loader cannot
# start at all; Debian's wine wrapper prefers that loader whenever wine32 is installed, so every
# Wine command failed with "Exec format error". A 93-byte 32-bit program that only exits tells.
plumbo_runs_32bit() {
  if [ -z "${PLUMBO_RUNS_32BIT:-}" ]; then
    mkdir -p "$PLUMBO_ROOT/build"
    local probe
    probe="$(mktemp "$PLUMBO_ROOT/build/probe32.XXXXXX")"
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'\
'\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
    chmod +x "$probe"
    if "$probe" 2>/dev/null; then PLUMBO_RUNS_32BIT=yes; else PLUMBO_RUNS_32BIT=no; fi
    rm -f "$probe"
    export PLUMBO_RUNS_32BIT
  fi
  [ "$PLUMBO_RUNS_32BIT" = yes ]
}
# Wine's 64-bit loader itself where 32-bit programs cannot run, so that an installed wine32 is
# not tried.
PLUMBO_WINE=wine
if ! plumbo_runs_32bit && [ -x /usr/lib/wine/wine64 ]; then
  PLUMBO_WINE=/usr/lib/wine/wine64
  export WINELOADER=/usr/lib/wine/wine64
fi
# env keeps bash itself from complaining that the locale is not generated.
pwine() { env LC_ALL="$PLUMBO_LOCALE" "$PLUMBO_WINE" "$@"; }
