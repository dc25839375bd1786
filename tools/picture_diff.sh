#!/usr/bin/env bash
# Re-draws the same windows with two builds of plumbo.exe and compares their EMF, SVG and PNG
# files byte for byte: every test target window and Wine's notepad and regedit, each redrawn by
# both builds while it stays open (EMF files past the LOGFONTW of their font records, which Wine
# fills with memory it never set: tools/emf_same.py). For a change to the drawers or players that must not change a
# picture. "tools/picture_diff.sh OLD_EXE [NEW_EXE [OUT_DIR]]" (default: build/win/bin/plumbo.exe,
# build/picture-diff); keep OLD_EXE from before the change (e.g. a copy of main's build). Prints
# one line a picture and exits 1 when any differs or could not be made. Each run reads the window
# anew within the re-drawing's time budgets; where the first two readings differ, each build reads
# once more, so that a reading cut short on a busy machine is not taken for a change.
# PICTURE_DIFF_ONLY="target-lists notepad" compares only the pictures so named.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
old="$(realpath "${1:?usage: picture_diff.sh OLD_EXE [NEW_EXE [OUT_DIR]]}")"
new="$(realpath "${2:-$root/build/win/bin/plumbo.exe}")"
out="$(realpath -m "${3:-$root/build/picture-diff}")"
target="$root/build/win/bin/testtarget.exe"
rm -rf "$out"
mkdir -p "$out/old" "$out/new"

bash "$root/scripts/prepare-prefix.sh" || exit 1
source "$root/scripts/desktop.sh"
trap stop_desktop EXIT
start_display private
start_desktop || exit 1

# The handle of the first visible window whose /list line matches the pattern, once it is there.
window_of() {
  local line
  for _ in $(seq 1 150); do
    line="$(pwine "$new" /list 2>/dev/null | tr -d '\r' | grep -m1 -- "$1")"
    if [ -n "$line" ]; then
      printf '%s\n' "${line%%$'\t'*}"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# Wine's drive Z: is the Linux root.
windows_path() { printf 'Z:%s\n' "${1//\//\\}"; }

same_file() {  # a b
  cmp -s "$1" "$2" || { [ "${1##*.}" = emf ] && python3 "$here/emf_same.py" "$1" "$2" >/dev/null; }
}

differ=0
compare() {  # name hwnd [extra switches]
  local name="$1" hwnd="$2"
  shift 2
  if [ -n "${PICTURE_DIFF_ONLY:-}" ] && ! grep -qw -- "$name" <<<"$PICTURE_DIFF_ONLY"; then return; fi
  for ext in emf svg png; do
    local was="$out/old/$name.$ext" now="$out/new/$name.$ext" again="$out/old/$name.again.$ext"
    pwine "$old" /redraw /hwnd "$hwnd" "$@" /out "$(windows_path "$was")" 2>/dev/null
    pwine "$new" /redraw /hwnd "$hwnd" "$@" /out "$(windows_path "$now")" 2>/dev/null
    if [ ! -s "$was" ] || [ ! -s "$now" ]; then
      echo "MISSING $name.$ext"
      differ=1
    elif same_file "$was" "$now"; then
      echo "same    $name.$ext"
    else
      # Each run reads the window anew within its time budgets, and on a busy machine a reading
      # may be cut short. One more reading by each build: the pictures are the same when any
      # reading of the new build equals any of the old.
      local again_new="$out/new/$name.again.$ext"
      pwine "$old" /redraw /hwnd "$hwnd" "$@" /out "$(windows_path "$again")" 2>/dev/null
      pwine "$new" /redraw /hwnd "$hwnd" "$@" /out "$(windows_path "$again_new")" 2>/dev/null
      if same_file "$was" "$again_new" || same_file "$again" "$now" || same_file "$again" "$again_new"; then
        echo "same    $name.$ext (a reading of one build was cut short by its time budget)"
      elif same_file "$was" "$again" && same_file "$now" "$again_new"; then
        echo "DIFFERS $name.$ext"
        differ=1
      else
        echo "UNSTEADY $name.$ext (readings of one build differ, and none equals the other's)"
        differ=1
      fi
    fi
  done
}

# One target window at a time, at one place, so no window covers another's pictures.
for switch in "" /controls /lists /bars /buttons /ownerdrawn /toolkit /ownframe /canvas; do
  name="target${switch//\//-}"
  [ -z "$switch" ] && name=target-plain
  title="Picture diff ${name}"
  pwine "$target" 40 40 760 560 "$title" $switch >/dev/null 2>&1 &
  pid=$!
  if hwnd="$(window_of $'\t'"$title"'$')"; then
    compare "$name" "$hwnd"
    [ "$switch" = /ownerdrawn ] && compare "$name-pictures" "$hwnd" /pictures
  else
    echo "MISSING $name (the window did not come up)"
    differ=1
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
done

for program in notepad regedit; do
  pwine "$program" >/dev/null 2>&1 &
  pid=$!
  if hwnd="$(window_of $'\t'"$program.exe"$'\t')"; then
    compare "$program" "$hwnd"
  else
    echo "MISSING $program (the window did not come up)"
    differ=1
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
done

if [ "$differ" -eq 0 ]; then echo "pictures: all the same"; else echo "pictures: some differ"; fi
exit "$differ"
