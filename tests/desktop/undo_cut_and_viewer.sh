#!/usr/bin/env bash
# Undo on a real X display: drag a sprite to another place and cut one, undo both with Ctrl+Z,
# save, and the file is the one opened, byte for byte. Then the viewer: Enter on the selected sprite opens it, and the keys
# zoom it to 8x. Skipped (77) without Xvfb or xdotool.
# Usage: undo_cut_and_viewer.sh PELBROOK SAMPLE.s16 [SCREENSHOT-FOLDER]
set -euo pipefail
editor=$1 sample=$2 shots=${3:-}
for need in Xvfb xdotool; do
  command -v "$need" >/dev/null || { echo "no $need: skipped"; exit 77; }
done
[ -x "$editor" ] || { echo "no editor built: skipped"; exit 77; }

. "$(dirname "$0")/x_session.sh"
cp "$sample" "$work/sheet.s16"
start_editor_on "$work/sheet.s16"

# Presses keys $1 until the title is $2: keys pressed while the list is made are not
# commands. Each press waits a second for its title before the next.
press_until() {
  for _ in $(seq 20); do
    xdotool key $1
    for _ in $(seq 10); do
      [ "$(xdotool getwindowname "$window")" = "$2" ] && return 0
      sleep 0.1
    done
  done
  echo "the title never became: $2"
  return 1
}

# Drag the first item onto the fourth's place, and undo it.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 49)) $((Y + 40)) sleep 0.3 mousedown 1 sleep 0.3
for dx in 4 8 16 32 64 128 192 240 290; do
  xdotool mousemove $((X + 49 + dx)) $((Y + 35)) sleep 0.1
done
xdotool mouseup 1
wait_for_title "The Pelbrook - [$work/sheet.s16] *"
xdotool key ctrl+z
press_until ctrl+s "The Pelbrook - [$work/sheet.s16]"
cmp "$sample" "$work/sheet.s16"
echo "dragged, undone and saved: the file is the original"

press_until "Home Right ctrl+x" "The Pelbrook - [$work/sheet.s16] *"
xdotool key ctrl+z
press_until ctrl+s "The Pelbrook - [$work/sheet.s16]"
cmp "$sample" "$work/sheet.s16"
echo "cut, undone and saved: the file is the original"

xdotool key Home Right Return
viewer=$(timeout 20 xdotool search --sync --onlyvisible --name '^Sprite 1 - ')
xdotool windowactivate --sync "$viewer" 2>/dev/null || xdotool windowfocus --sync "$viewer"
for _ in $(seq 15); do xdotool key --window "$viewer" ctrl+minus; done
for _ in $(seq 7); do xdotool key --window "$viewer" ctrl+equal; done
sleep 0.5
[ -z "$shots" ] || import -window "$viewer" "$shots/viewer-8x.png"
echo "viewer shown"
