#!/usr/bin/env bash
# Builds plumbo.exe (only it) and runs it in a Wine virtual desktop.
# - With a display of your own ($DISPLAY): starts Plumbo there and says how to use it.
# - Without one: shows the main job on a private Xvfb display, by the global hotkeys as a
#   person presses them: rulers along Wine's notepad, a capture of it, its re-drawing as a
#   vector picture, saved through the viewer's menu and the real save dialog. Leaves two
#   screenshots and the picture under build/, prints their paths, and stops the display.
# Every step waits for what it should bring about, with a time limit, and names itself if
# that does not come.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh run
source scripts/desktop.sh

own_display=""
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then own_display="$DISPLAY"; fi
start_display auto
if [ -z "$own_display" ]; then trap stop_desktop EXIT; fi
if ! start_desktop; then
  echo "Is Plumbo or a test already running in this prefix? Stop it with 'WINEPREFIX=$WINEPREFIX wineserver -k'." >&2
  exit 1
fi

exe="$root/build/win/bin/plumbo.exe"
ini="$root/build/win/bin/plumbo.ini"
shot_rulers="$root/build/plumbo-rulers.png"
shot_viewer="$root/build/plumbo-viewer.png"
picture="$root/build/plumbo-redrawn.emf"
failed_shot="$root/build/plumbo-failed.png"
rm -f "$failed_shot"
export LC_ALL=C.UTF-8  # xdotool and the window names are UTF-8

desktop="$(xdotool search --name "Wine desktop" | head -n 1)"

# fail STEP SECONDS: what did not happen, and a screenshot of how the screen looked instead.
fail() {
  import -window "$desktop" "$failed_shot" 2>/dev/null || true
  echo "run.sh: step \"$1\" did not happen within $2 s (the screen then: $failed_shot)." >&2
  exit 1
}

# wait_for STEP SECONDS COMMAND...: until the command succeeds, at most SECONDS.
wait_for() {
  local step="$1" limit="$2"
  shift 2
  local end=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || fail "$step" "$limit"
    sleep 0.2
  done
}

# Visible windows of a Wine program by its exe name, one "id left top width height name" a
# line, in screen pixels of the Wine desktop.
windows_of() {
  local id info
  for id in $(xdotool search --onlyvisible --class "$1" 2>/dev/null); do
    info="$(xwininfo -id "$id" 2>/dev/null)" || continue
    printf '%s %s %s %s %s %s\n' "$id" \
      "$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")" \
      "$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")" \
      "$(sed -n 's/.*Width: *//p' <<<"$info")" "$(sed -n 's/.*Height: *//p' <<<"$info")" \
      "$(xdotool getwindowname "$id" 2>/dev/null)"
  done
}
# window_named EXE NAME: its line, if it is shown.
window_named() { windows_of "$1" | awk -v name="$2" '{ line = $0; $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); if ($0 == name) { print line; exit } }'; }
# Plumbo's shown windows without a caption: its rulers and its open menus.
untitled_count() { windows_of plumbo.exe | awk 'NF == 5' | wc -l; }
untitled_at_least() { [ "$(untitled_count)" -ge "$1" ]; }
# Two of them lie along notepad: each touches its outer rectangle. Their parts of the screen
# as WIDTHxHEIGHT+X+Y, one a line.
rulers_along_notepad() {
  windows_of plumbo.exe | awk -v l="$notepad_left" -v t="$notepad_top" -v r=$((notepad_left + notepad_width)) \
    -v b=$((notepad_top + notepad_height)) \
    'NF == 5 && $2 <= r + 2 && $2 + $4 >= l - 2 && $3 <= b + 2 && $3 + $5 >= t - 2 { print $4 "x" $5 "+" $2 "+" $3 }'
}
rulers_shown() { [ "$(rulers_along_notepad | wc -l)" -ge 2 ]; }

# A fingerprint of the desktop's pixels (or of a part of it, as WIDTHxHEIGHT+X+Y).
screen_sum() {
  if [ -n "${1:-}" ]; then import -window "$desktop" -crop "$1" rgb:- 2>/dev/null | md5sum
  else import -window "$desktop" rgb:- 2>/dev/null | md5sum; fi
}
screen_differs_from() { [ "$(screen_sum "${2:-}")" != "$1" ]; }
# Two looks a moment apart show the same pixels in these parts of the screen: whatever was
# drawing there has finished. (A text box's blinking caret never stops: leave it out.)
screen_still() {
  local part before=()
  for part in "$@"; do before+=("$(screen_sum "$part")"); done
  sleep 0.3
  for part in "$@"; do
    [ "$(screen_sum "$part")" = "${before[0]}" ] || return 1
    before=("${before[@]:1}")
  done
}

# The program's icon differs from the bare taskbar around it: the first icon at the taskbar's
# right end (the driver of the end-to-end tests looks at the same place).
tray_icon_shown() {
  local width height colours
  read -r width height < <(xwininfo -id "$desktop" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')
  colours="$(import -window "$desktop" -crop "16x16+$((width - 18))+$((height - 18))" -format '%k' info: 2>/dev/null)"
  [ "${colours:-1}" -gt 2 ]
}
# Resident: the settings file written, the icon in the tray and the greeting window gone.
plumbo_resident() { [ -f "$ini" ] && tray_icon_shown && [ -z "$(windows_of plumbo.exe)" ]; }

# Keys as the X keyboard types them; Wine hands them to the foreground window. The X keyboard
# focus may be left on a window that has gone (a closed menu), where keys would be lost: then
# the Wine desktop window takes it. Never while one of Wine's windows holds it: under Wine the
# window that lost it no longer takes keys (the viewer after the hotkey brought it forward
# ignored Alt).
keys_to_wine() {
  local focus
  focus="$(xdotool getwindowfocus 2>/dev/null)" || focus=""
  if [ -z "$focus" ] || ! xwininfo -id "$focus" 2>/dev/null | grep -q IsViewable; then
    xdotool windowfocus --sync "$desktop"
  fi
}
keys() {
  keys_to_wine
  xdotool key --delay 80 "$@"
}
type_text() {
  keys_to_wine
  xdotool type --delay 20 "$1"
}
click_at() { xdotool mousemove --window "$desktop" "$1" "$2" click 1; }

pwine "$exe" >/dev/null 2>&1 &
wait_for "Plumbo resident (its settings file, its tray icon, the greeting gone)" 60 plumbo_resident

if [ -n "$own_display" ]; then
  cat <<EOF
Plumbo is running on display $DISPLAY, in the Wine desktop window (Wine prefix $WINEPREFIX).
Its icon is at the right end of that desktop's taskbar:
  - right-click it for its menu: 表示 (show the rulers), 非表示 (hide them), 設定 (settings),
    ﾊﾞｰｼﾞｮﾝ情報 (version), ヘルプ (help), 終了 (quit); a double-click shows the rulers.
  - the rulers lie along the window in front and follow it; right-click a ruler for its units,
    "画面キャプチャ" (capture), "画面のメタ化" (re-draw as a vector picture) and the size dialog.
Hotkeys, while a window of the Wine desktop has the keyboard:
  Ctrl+Alt+R  show or hide the rulers along the window in front
  Ctrl+Alt+C  capture that window into the viewer
  Ctrl+Alt+V  re-draw that window and its controls as a vector picture in the viewer
  Ctrl+Alt+S  set that window's size
The viewer saves the picture from its menu ファイル > 保存 (BMP, EMF, WMF).
Stop it all with 'WINEPREFIX=$WINEPREFIX wineserver -k'.
EOF
  exit 0
fi

rm -f "$shot_rulers" "$shot_viewer" "$picture"

# A sample window away from the screen's edges, so the rulers have room above and left of it.
notepad_left=240 notepad_top=150 notepad_width=640 notepad_height=400
reg="$(mktemp --suffix=.reg)"
cat > "$reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Microsoft\\Notepad]
"iWindowPosX"=dword:$(printf '%08x' $notepad_left)
"iWindowPosY"=dword:$(printf '%08x' $notepad_top)
"iWindowPosDX"=dword:$(printf '%08x' $notepad_width)
"iWindowPosDY"=dword:$(printf '%08x' $notepad_height)
EOF
pwine regedit /S "$reg" >/dev/null 2>&1
rm -f "$reg"
notepad_shown() { windows_of notepad.exe | grep -q .; }
pwine notepad >/dev/null 2>&1 &
wait_for "notepad's window shown" 30 notepad_shown
read -r _ notepad_left notepad_top notepad_width notepad_height _ < <(windows_of notepad.exe | head -n 1)
caption_x=$((notepad_left + 120)) caption_y=$((notepad_top + 10))
status_bar="$((notepad_width - 10))x14+$((notepad_left + 5))+$((notepad_top + notepad_height - 20))"
caption="$((notepad_width - 100))x14+$((notepad_left + 25))+$((notepad_top + 5))"

click_at "$caption_x" "$caption_y"
# Its status bar counts the characters as they come, and has no blinking caret.
before="$(screen_sum "$status_bar")"
type_text "Another program's window, for Plumbo to measure."
wait_for "text typed into notepad" 20 screen_differs_from "$before" "$status_bar"
wait_for "notepad drawn" 10 screen_still "$status_bar"

keys ctrl+alt+r
wait_for "rulers along notepad shown by Ctrl+Alt+R" 15 rulers_shown
mapfile -t ruler_parts < <(rulers_along_notepad)
wait_for "rulers drawn" 10 screen_still "${ruler_parts[@]}"
import -window "$desktop" "$shot_rulers"

keys ctrl+alt+c
viewer_line() { window_named plumbo.exe "Plumbo!"; }
viewer_shown() { [ -n "$(viewer_line)" ]; }
wait_for "viewer with the capture shown by Ctrl+Alt+C" 15 viewer_shown
read -r _ viewer_left viewer_top viewer_width viewer_height _ < <(viewer_line)
viewer_area="${viewer_width}x${viewer_height}+${viewer_left}+${viewer_top}"
wait_for "viewer drawn" 10 screen_still "$viewer_area"
captured_look="$(screen_sum "$viewer_area")"

# The viewer lies over notepad, down and right of its corner: the caption's start is free.
click_at $((notepad_left + 30)) "$caption_y"
wait_for "notepad in front again" 10 screen_differs_from "$captured_look" "$viewer_area"
wait_for "notepad drawn" 10 screen_still "$caption" "$status_bar"
behind_look="$(screen_sum "$viewer_area")"

keys ctrl+alt+v
# The viewer comes to the front again, with a picture unlike the captured pixels.
redrawn_shown() {
  local look
  look="$(screen_sum "$viewer_area")"
  [ "$look" != "$captured_look" ] && [ "$look" != "$behind_look" ]
}
wait_for "viewer with the re-drawn picture shown by Ctrl+Alt+V" 30 redrawn_shown
wait_for "viewer drawn" 10 screen_still "$viewer_area"
import -window "$desktop" "$shot_viewer"

# ファイル > 保存 > エンハンストメタ by keys on the viewer's menu bar: Alt and Down open
# ファイル on its first item, Down goes to 保存, Right opens its submenu on its first item.
menus="$(untitled_count)"
keys alt Down
wait_for "viewer's menu ファイル open" 10 untitled_at_least $((menus + 1))
keys Down Right
wait_for "submenu 保存 open" 10 untitled_at_least $((menus + 2))
keys Down Return
# The dialog is the program's one shown window with a caption other than the viewer's ("開く",
# or "Save As" in English).
save_dialog_shown() { windows_of plumbo.exe | awk 'NF > 5 && $0 !~ / Plumbo!$/' | grep -q .; }
wait_for "save dialog shown" 15 save_dialog_shown
# The full name, as Windows spells it, over whatever the name box holds.
windows_name="Z:${picture//\//\\}"
keys Home shift+End
type_text "$windows_name"
keys Return
emf_written() { [ "$(head -c 44 "$picture" 2>/dev/null | tail -c 4)" = " EMF" ]; }
wait_for "picture saved as $picture" 15 emf_written
dialog_gone() { ! save_dialog_shown; }
wait_for "save dialog closed" 10 dialog_gone

cat <<EOF
Plumbo showed its main job by its hotkeys on a private display ($DISPLAY):
  the rulers along notepad (Ctrl+Alt+R):          $shot_rulers
  the viewer with notepad re-drawn (Ctrl+Alt+V):  $shot_viewer
  the re-drawn picture, saved from the viewer:    $picture
From a desktop session (\$DISPLAY set) the same command starts Plumbo there and says how to use it.
EOF
