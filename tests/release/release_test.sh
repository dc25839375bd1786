#!/usr/bin/env bash
# The release as a user meets it, under Wine in the test prefix: the installer run silently and
# what it leaves read from outside, the installed program started, started again by wineboot
# from the Run entry, the uninstaller run silently; and the portable zip unpacked and started.
# Needs build/release (scripts/package.sh). Prints "N passed, N failed"; exits non-zero on a failure.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/desktop.sh"
trap stop_desktop EXIT
start_display private
start_desktop || exit 1
version="$(sed -n 's/^project(Plumbo VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")"
release="$root/build/release"
passed=0 failed=0
check() { if eval "$2"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $1"; fi; }
# A condition met within 30 s.
soon() { for _ in $(seq 150); do eval "$1" && return 0; sleep 0.2; done; return 1; }
winvar() { pwine cmd /c echo "%$1%" | tr -d '\r'; }
reg_value() { pwine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }
# Plumbo's processes in this prefix (other prefixes' run beside it), by their command lines.
plumbo_lines() {
  for p in /proc/[0-9]*; do
    grep -qzx "WINEPREFIX=$WINEPREFIX" "$p/environ" 2>/dev/null && tr '\0' ' ' < "$p/cmdline" 2>/dev/null | grep -i 'plumbo\.exe'
  done
}

dir_win="$(winvar LOCALAPPDATA)\\Programs\\Plumbo"
dir="$(pwine winepath -u "$dir_win" | tr -d '\r')"
menu="$(pwine winepath -u "$(winvar APPDATA)" | tr -d '\r')/Microsoft/Windows/Start Menu/Programs"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Plumbo'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# As on a machine where Plumbo was never installed: an earlier entry would choose the folder.
rm -rf "$dir"
pwine reg delete "$uninstall_key" /f >/dev/null 2>&1

check "the installer runs silently" 'pwine "$release/plumbo-$version-setup.exe" /S'
check "its files" '[ "$(ls "$dir" | tr "\n" " ")" = "plHelp.css plHelp.html plHelp_en.html plumbo.exe readme.txt uninstall.exe " ]'
check "the shortcut to plumbo.exe" 'grep -aqiF "$dir_win\\plumbo.exe" "$menu/Plumbo.lnk"'
check "the uninstall entry" '[ "$(reg_value "$uninstall_key" DisplayName)/$(reg_value "$uninstall_key" DisplayVersion)/$(reg_value "$uninstall_key" QuietUninstallString)" = "Plumbo/$version/\"$dir_win\\uninstall.exe\" /S" ]'
check "the Run value" '[ "$(reg_value "$run_key" Plumbo)" = "\"$dir_win\\plumbo.exe\" /startup" ]'
pwine "$dir/plumbo.exe" &
check "the installed Plumbo keeps its settings beside it" 'soon "[ -f \"$dir/plumbo.ini\" ]"'
check "/exit ends it" 'pwine "$dir/plumbo.exe" /exit && [ -z "$(plumbo_lines)" ]'
pwine wineboot
check "wineboot starts it from the Run entry with /startup" 'soon "[[ \"\$(plumbo_lines)\" == *plumbo.exe\ /startup* ]]"'
# An update over the running copy, after the user switched "Start with Windows" off in "設定".
pwine reg delete "$run_key" /v Plumbo /f >/dev/null 2>&1
check "an update ends the running copy and keeps Start with Windows off" 'pwine "$release/plumbo-$version-setup.exe" /S &&
  [ -z "$(plumbo_lines)" ] && [ -f "$dir/plumbo.exe" ] && [ -z "$(reg_value "$run_key" Plumbo)" ]'
# A copy on another desktop, whose window the installer does not find to end it, holds
# plumbo.exe: an update stops with an error and the uninstaller keeps everything, neither
# touching a file that was there (an old file marked to tell).
pwine explorer "/desktop=Held,640x480" "$dir_win\\plumbo.exe" >/dev/null 2>&1 &
soon '[ -n "$(plumbo_lines)" ]'
echo "an older help page" > "$dir/plHelp.css"
files() { (cd "$dir" && md5sum *); pwine reg query "$uninstall_key" /v DisplayVersion 2>/dev/null | tr -d '\r'; }
before="$(files)"
check "an update that cannot replace plumbo.exe fails and leaves the files" 'pwine "$release/plumbo-$version-setup.exe" /S;
  [ $? -eq 2 ] && [ "$(files)" = "$before" ]'
check "the uninstaller keeps everything while plumbo.exe cannot be removed" 'pwine "$dir/uninstall.exe" /S "_?=$dir_win";
  [ $? -eq 2 ] && [ "$(files)" = "$before" ]'
pwine explorer "/desktop=Held,640x480" "$dir_win\\plumbo.exe" /exit
check "the held copy ends" 'soon "[ -z \"\$(plumbo_lines)\" ]"'
check "the uninstaller runs silently and ends it" 'pwine "$dir/uninstall.exe" /S && soon "[ ! -f \"$dir/uninstall.exe\" ] && [ -z \"\$(plumbo_lines)\" ]"'
check "only the settings file is left: no shortcut, uninstall entry or Run value" '[ "$(ls "$dir")" = plumbo.ini ] &&
  [ ! -e "$menu/Plumbo.lnk" ] && ! pwine reg query "$uninstall_key" >/dev/null 2>&1 && [ -z "$(reg_value "$run_key" Plumbo)" ]'

# "Remove my settings" ticked on the uninstaller's page by keys, as a person does: Space ticks
# the box that has the focus, Enter uninstalls, and the uninstaller closes once it is done. Run
# in place ("_?="), so that its exit status is the uninstall's; it cannot remove itself then. The settings beside the program go, and a file in the application data, which a
# portable copy elsewhere may use, stays; with none beside the program, that one goes, its folder
# too.
appdata="$(pwine winepath -u "$(winvar APPDATA)" | tr -d '\r')/Plumbo"
focused() { xdotool getwindowfocus getwindowname 2>/dev/null; }
uninstall_ticked() {
  pwine "$dir/uninstall.exe" "_?=$dir_win" >/dev/null 2>&1 &
  local run=$!
  soon '[[ "$(focused)" == Plumbo* ]]' && xdotool key space Return
  soon '! kill -0 $run 2>/dev/null' || kill "$run"
  wait "$run"
}
pwine "$release/plumbo-$version-setup.exe" /S
printf '[SHOW]\r\nINSIDE=TRUE\r\n' > "$dir/plumbo.ini"
mkdir -p "$appdata"
printf '[SHOW]\r\nINSIDE=FALSE\r\n' > "$appdata/plumbo.ini"
check "Remove my settings removes the file beside the program and keeps the application data's" 'uninstall_ticked &&
  [ "$(ls "$dir")" = uninstall.exe ] && [ "$(cat "$appdata/plumbo.ini")" = "$(printf "[SHOW]\r\nINSIDE=FALSE\r\n")" ]'
pwine "$release/plumbo-$version-setup.exe" /S
check "with none beside the program, Remove my settings removes the application data's and its folder" 'uninstall_ticked &&
  [ "$(ls "$dir")" = uninstall.exe ] && [ ! -e "$appdata" ]'
rm -rf "$dir"

# Installed where the user chose: an update goes there too, not to the default. (An argument of
# Japanese letters reaches the Windows program mangled through Wine's command line here.)
custom_win='C:\PlumboElsewhere'
custom="$(pwine winepath -u "$custom_win" | tr -d '\r')"
rm -rf "$custom"
check "an update goes where the user installed before" 'pwine "$release/plumbo-$version-setup.exe" /S "/D=$custom_win" &&
  pwine "$release/plumbo-$version-setup.exe" /S && [ -f "$custom/plumbo.exe" ] && [ ! -e "$dir/plumbo.exe" ] &&
  [ "$(reg_value "$uninstall_key" InstallLocation)" = "$custom_win" ]'
pwine "$custom/uninstall.exe" /S
soon "[ ! -f \"$custom/uninstall.exe\" ]"
rm -rf "$custom"

portable="$(mktemp -d "$root/build/portable.XXXXXX")"
unzip -q "$release/plumbo-$version-win64.zip" -d "$portable"
pwine "$portable/plumbo.exe" &
check "the zip's plumbo.exe starts with its settings and help beside it" 'soon "[ -f \"$portable/plumbo.ini\" ]" &&
  [ "$(ls "$portable" | tr "\n" " ")" = "plHelp.css plHelp.html plHelp_en.html plumbo.exe plumbo.ini readme.txt " ]'
check "its readme carries the runtime's notices" 'grep -q "Copyright (c) 2011-2016 mingw-w64 project" "$portable/readme.txt"'
pwine "$portable/plumbo.exe" /exit
rm -rf "$portable"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
