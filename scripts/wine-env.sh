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
# env keeps bash itself from complaining that the locale is not generated.
pwine() { env LC_ALL="$PLUMBO_LOCALE" wine "$@"; }
