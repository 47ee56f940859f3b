#!/usr/bin/env bash
# A new user's first session with the installed editor, on a real X display: install into a
# temporary prefix, start the editor with a sprite file on its command line, wait for the
# thumbnails, select a sprite, Export To as PNG through the dialog, bring that PNG back with
# Import From, and quit answering Yes to the save question. The files written are checked
# with pelbrook-tool. Skipped (77) without Xvfb or xdotool.
# Usage: install_session.sh BUILD-FOLDER SAMPLE.s16 [SCREENSHOT-FOLDER]
set -euo pipefail
build=$1 sample=$2 shots=${3:-}
for need in Xvfb xdotool; do
  command -v "$need" >/dev/null || { echo "no $need: skipped"; exit 77; }
done
command -v import >/dev/null || shots=
# A build of the tests alone (the sanitizer run) has nothing to install.
for built in pelbrook pelbrook-tool cutter.wav icons/256x256/org.pelbrook.Pelbrook.png; do
  [ -e "$build/$built" ] || { echo "no $built built: skipped"; exit 77; }
done

source "$(dirname "$0")/x_session.sh"
fail() { echo "FAILED: $*"; [ ! -s "$work/log" ] || tail -n 20 "$work/log"; exit 1; }
mkdir -p "$work/art"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
[ -z "$shots" ] || mkdir -p "$shots"

# Waits up to 20 seconds for a window whose name matches $1 and prints its id.
wait_for_window() {
  local id
  id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1) || true
  [ -n "$id" ] || { echo "FAILED: no window named $1" >&2; exit 1; }
  echo "$id"
}
# Picks the last filter of file dialog $1 in its type box, the dialog's bottom row.
pick_last_filter() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --window "$1" $((WIDTH / 2)) $((HEIGHT - 24)) click 1
  sleep 0.5
  xdotool key End Return
}

file=$work/art/sheet.s16
cp "$sample" "$file"
"$prefix/bin/pelbrook-tool" export "$file" 1 "$work/expected.png"
QT_LOGGING_RULES='pelbrook.window.debug=true' "$prefix/bin/pelbrook" "$file" 2>"$work/log" &
editor=$!
pids+=($editor)
window=$(wait_for_window "^The Pelbrook - ")
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
wait_for_log "title: The Pelbrook - [$file]"
wait_for_log "status: Thumbnails generated."
shot 1-started-with-a-file

# A click on the second sprite's picture.
xdotool mousemove --window "$window" 145 40 click 1
shot 2-second-sprite-selected

xdotool key ctrl+t
dialog=$(wait_for_window "^Export To$")
xdotool type --delay 20 "$work/art/frame"
pick_last_filter "$dialog"
shot 3-export-as-png
xdotool key Return
wait_for_log "status: Export to: $work/art/frame.png completed."
cmp "$work/art/frame.png" "$work/expected.png" || fail "the exported PNG is not the tool's"

xdotool key ctrl+i
dialog=$(wait_for_window "^Import From$")
xdotool type --delay 20 "$work/art/frame"
pick_last_filter "$dialog"
shot 4-import-png
xdotool key Return
wait_for_log "title: The Pelbrook - [$file] *"
wait_for_log "status: Image imported from: $work/art/frame.png"
shot 5-imported

# Without a window manager the focus does not come back from a closed dialog by itself.
xdotool windowfocus --sync "$window"
xdotool key alt+f
sleep 0.5
shot 6-file-menu
xdotool key q
wait_for_window "^The Pelbrook$" >/dev/null
shot 7-save-question
xdotool key Return
for _ in $(seq 200); do kill -0 "$editor" 2>/dev/null || break; sleep 0.1; done
kill -0 "$editor" 2>/dev/null && fail "the editor did not quit"

# Saved with the PNG's sprite before the one it came from, the words unchanged.
"$prefix/bin/pelbrook-tool" info "$file" >"$work/info"
[ "$(sed -n 2p "$work/info")" = 7 ] || { cat "$work/info"; fail "the save"; }
"$prefix/bin/pelbrook-tool" export "$file" 1 "$work/again.png"
cmp "$work/again.png" "$work/expected.png" || fail "the imported sprite is not the exported one"
echo "a first session with the installed editor: done"
