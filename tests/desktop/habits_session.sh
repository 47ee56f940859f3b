#!/usr/bin/env bash
# The habits a person brings from other desktop programs, on a real X display of 1024 x 768
# under a window manager: Delete takes a sprite out and leaves the clipboard alone, undo brings
# back the title without " *", the list's context menu opens the viewer, Escape closes it, and
# the viewer of a 2048 x 2048 sprite opens with its whole frame on the screen and closes with
# Ctrl+W, and Save As with a typed ".spr" writes an .spr file. Skipped (77) without Xvfb,
# xdotool, openbox, xprop, xwininfo, xclip or Pillow.
# Usage: habits_session.sh PELBROOK PELBROOK-TOOL SAMPLE.s16 [SCREENSHOT-FOLDER]
set -euo pipefail
editor=$1 tool=$2 sample=$3 shots=${4:-}
python=/usr/bin/python3
for need in Xvfb xdotool openbox xprop xwininfo xclip; do
  command -v "$need" >/dev/null || { echo "no $need: skipped"; exit 77; }
done
[ -x "$editor" ] || { echo "no editor built: skipped"; exit 77; }
"$python" -c 'import PIL' 2>/dev/null || { echo "no Pillow: skipped"; exit 77; }
[ -z "$shots" ] || mkdir -p "$shots"

. "$(dirname "$0")/x_session.sh"
openbox --sm-disable &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

# The sample's first sprite and a 2048 x 2048 one after it.
"$python" - "$work/large.bmp" <<'PY'
import sys
from PIL import Image
Image.radial_gradient("L").resize((2048, 2048)).convert("RGB").save(sys.argv[1])
PY
"$tool" export "$sample" 0 "$work/first.bmp" >/dev/null
"$tool" import "$work/sheet.s16" "$work/first.bmp" "$work/large.bmp" >/dev/null
start_editor_on "$work/sheet.s16"
clean="The Pelbrook - [$work/sheet.s16]"

# Waits for a visible window named $1 (a pattern); its id in $found.
wait_for_window() {
  found=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1)
}
# Waits until no visible window is named $1.
wait_for_no_window() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  echo "a window named $1 is still open"
  return 1
}

# Delete, again until the list is ready: the sprite goes, the clipboard stays empty.
for _ in $(seq 50); do
  xdotool key Home Delete
  [ "$(xdotool getwindowname "$window")" = "$clean *" ] && break
  sleep 0.2
done
wait_for_title "$clean *"
shot deleted
if xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -q image; then
  echo "Delete put an image on the clipboard"
  exit 1
fi
xdotool key ctrl+z
wait_for_title "$clean"
shot undone-clean
echo "deleted, and undone back to the clean title"

# The context menu over the first item, and its viewer entry by its accelerator.
eval "$(xdotool getwindowgeometry --shell "$window")"
sleep 1
xdotool mousemove $((X + 49)) $((Y + 40)) click 3
sleep 1
shot context-menu
xdotool key v
wait_for_window '^Sprite 0 - '
xdotool windowactivate --sync "$found" 2>/dev/null || xdotool windowfocus --sync "$found"
xdotool key Escape
wait_for_no_window '^Sprite 0 - '
echo "the context menu opened the viewer, and Escape closed it"

# The large sprite's viewer: its frame, close button and all, lies within the screen.
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
xdotool key End Return
wait_for_window '^Sprite 1 - 2048 by 2048$'
viewer=$found
sleep 1
shot large-viewer
# xwininfo, not xdotool, for the client's place: xdotool counts a reparented window's frame twice.
info=$(xwininfo -id "$viewer")
X=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
Y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
WIDTH=$(awk '/Width:/ {print $NF}' <<<"$info")
HEIGHT=$(awk '/Height:/ {print $NF}' <<<"$info")
extents=$(xprop -id "$viewer" _NET_FRAME_EXTENTS | cut -d= -f2 | tr ',' ' ')
read -r left right top bottom <<<"$extents"
echo "viewer ${WIDTH}x${HEIGHT} at $X,$Y; frame $left $right $top $bottom"
if ((X - left < 0 || Y - top < 0 || X + WIDTH + right > 1024 || Y + HEIGHT + bottom > 768)); then
  echo "the viewer's frame is not within the 1024 x 768 screen"
  exit 1
fi
xdotool windowactivate --sync "$viewer" 2>/dev/null || xdotool windowfocus --sync "$viewer"
xdotool key ctrl+w
wait_for_no_window '^Sprite 1 - '
echo "the large viewer fitted the screen, and Ctrl+W closed it"

# Save As with a typed ".spr" under the dialog's default .s16 filter writes an .spr file.
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
xdotool key ctrl+shift+s
wait_for_window '^Save As$'
xdotool type --delay 20 "$work/trap.spr"
shot save-as-typed-spr
xdotool key Return
wait_for_title "The Pelbrook - [$work/trap.spr]"
[ "$("$tool" info "$work/trap.spr" | head -1)" = "spr" ] || {
  echo "Save As trap.spr did not write an .spr file"
  exit 1
}
echo "Save As with a typed .spr wrote an .spr file"
