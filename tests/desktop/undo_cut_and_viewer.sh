#!/usr/bin/env bash
# Undo on a real X display: cut a sprite, undo it with Ctrl+Z, save, and the file is the one
# opened, byte for byte. Then the viewer: Enter on the selected sprite opens it, and the keys
# zoom it to 8x. Skipped (77) without Xvfb or xdotool.
# Usage: undo_cut_and_viewer.sh PELBROOK SAMPLE.s16 [SCREENSHOT-FOLDER]
set -euo pipefail
editor=$1 sample=$2 shots=${3:-}
for need in Xvfb xdotool; do
  command -v "$need" >/dev/null || { echo "no $need: skipped"; exit 77; }
done
[ -x "$editor" ] || { echo "no editor built: skipped"; exit 77; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
export PELBROOK_PREFERENCES=$work/preferences.reg
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# Waits until the editor's title is $1, for up to 20 seconds.
wait_for_title() {
  for _ in $(seq 200); do
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  echo "the title never became: $1 (it is: $(xdotool getwindowname "$window"))"
  return 1
}

cp "$sample" "$work/sheet.s16"
"$editor" &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^The Pelbrook - ')
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"

xdotool key --window "$window" ctrl+o
sleep 1
xdotool type --delay 20 "$work/sheet.s16"
xdotool key Return
wait_for_title "The Pelbrook - [$work/sheet.s16]"

# The list is ready once the cut of the second sprite marks the document.
for _ in $(seq 50); do
  xdotool key Home Right ctrl+x
  [ "$(xdotool getwindowname "$window")" = "The Pelbrook - [$work/sheet.s16] *" ] && break
  sleep 0.2
done
wait_for_title "The Pelbrook - [$work/sheet.s16] *"
xdotool key ctrl+z
sleep 0.5
xdotool key ctrl+s
wait_for_title "The Pelbrook - [$work/sheet.s16]"
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
