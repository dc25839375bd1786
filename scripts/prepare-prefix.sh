#!/usr/bin/env bash
# Creates the private Wine prefix once: Japanese fonts linked into the UI fonts, Wine's own
# fonts where Wine finds them, and every program in one virtual desktop with a taskbar.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

stamp="$WINEPREFIX/.plumbo-prepared-3"
# Wine's 32-bit half (Debian's wine32, which the tests install) came after the prefix was made:
# the prefix then has no 32-bit system, and every 32-bit program fails to start ("could not
# load kernel32.dll", c0000135). Wine does not update a prefix for that by itself, and Wine 8's
# wineboot -u leaves it so (its 32-bit step is such a program): the prefix is made again.
wine32_loader=/usr/lib/wine/wine
without32() { plumbo_runs_32bit && [ -x "$wine32_loader" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; }
if [ -f "$stamp" ]; then
  without32 || exit 0
  echo "Making Wine prefix $WINEPREFIX again, for 32-bit programs ..."
  wineserver -k 2>/dev/null || true
  wineserver -w
  rm -rf --one-file-system "$WINEPREFIX"
fi

mkdir -p "$(dirname "$WINEPREFIX")"
echo "Preparing Wine prefix $WINEPREFIX ..."
# wineboot needs no display for the registry, but some setups print noise without one.
DISPLAY= pwine wineboot -i >/dev/null 2>&1 || true
wineserver -w
# Not wineboot's exit status but what it made says whether the prefix can be used, before the
# prefix is stamped as ready.
if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
  echo "wineboot did not make the Wine prefix $WINEPREFIX." >&2
  exit 1
fi
if without32; then echo "The Wine prefix has no 32-bit system: 32-bit programs will not start." >&2; fi

fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -f /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
for f in /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf \
         /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf /usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf; do
  [ -f "$f" ] && cp -f "$f" "$fonts/"
done

reg="$(mktemp --suffix=.reg)"
# Written as UTF-16 below so the Japanese face names survive whatever the code page.
cat > "$reg.txt" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Tahoma"=hex(7):69,00,70,00,61,00,67,00,70,00,2e,00,74,00,74,00,66,00,2c,00,49,00,50,00,41,00,50,00,47,00,6f,00,74,00,68,00,69,00,63,00,00,00,00,00
"Tahoma Bold"=hex(7):69,00,70,00,61,00,67,00,70,00,2e,00,74,00,74,00,66,00,2c,00,49,00,50,00,41,00,50,00,47,00,6f,00,74,00,68,00,69,00,63,00,00,00,00,00
"Microsoft Sans Serif"=hex(7):69,00,70,00,61,00,67,00,70,00,2e,00,74,00,74,00,66,00,2c,00,49,00,50,00,41,00,50,00,47,00,6f,00,74,00,68,00,69,00,63,00,00,00,00,00
"MS Shell Dlg"=hex(7):69,00,70,00,61,00,67,00,70,00,2e,00,74,00,74,00,66,00,2c,00,49,00,50,00,41,00,50,00,47,00,6f,00,74,00,68,00,69,00,63,00,00,00,00,00
"MS Shell Dlg 2"=hex(7):69,00,70,00,61,00,67,00,70,00,2e,00,74,00,74,00,66,00,2c,00,49,00,50,00,41,00,50,00,47,00,6f,00,74,00,68,00,69,00,63,00,00,00,00,00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ 明朝"="IPAMincho"
"ＭＳ Ｐ明朝"="IPAPMincho"
"Meiryo UI"="IPAPGothic"
"Yu Gothic UI"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="__SIZE__"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
"Managed"="N"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"FontSmoothing"="0"
REG
sed -i "s/__SIZE__/$PLUMBO_DESKTOP_SIZE/" "$reg.txt"
# A prefix for another screen resolution (PLUMBO_DPI): Wine 8 takes it from this value first.
if [ -n "${PLUMBO_DPI:-}" ]; then
  printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$PLUMBO_DPI" >> "$reg.txt"
fi
iconv -f UTF-8 -t UTF-16 "$reg.txt" > "$reg"
DISPLAY= pwine regedit /S "$reg" >/dev/null 2>&1
wineserver -w
rm -f "$reg" "$reg.txt"
touch "$stamp"
echo "Wine prefix ready."
