#!/usr/bin/env bash
# Closing the window while a cutter runs, on a real X display, as the window manager's close
# button does. Manual cutter: one sprite cut, "No" to its question, "Yes" to the save question:
# the program ends and the file holds the cut followed by the whole sheet. Expand Sprite on a
# sheet of 62500 sprites, in a document changed before: the expansion stops, "Yes" to the save
# question writes the document as it was before the expansion. The files written are checked
# with pelbrook-tool. Skipped (77) without Xvfb, xdotool or python3.
# Usage: close_during_cutters.sh PELBROOK PELBROOK-TOOL [SCREENSHOT-FOLDER]
set -euo pipefail
editor=$1 tool=$2 shots=${3:-}
python=/usr/bin/python3
for need in Xvfb xdotool "$python"; do
  command -v "$need" >/dev/null || { echo "no $need: skipped"; exit 77; }
done
[ -x "$editor" ] || { echo "no editor built: skipped"; exit 77; }
command -v import >/dev/null || shots=
[ -z "$shots" ] || mkdir -p "$shots"

. "$(dirname "$0")/x_session.sh"
fail() { echo "FAILED: $*"; [ ! -s "$work/log" ] || tail -n 5 "$work/log"; exit 1; }

# A 1 x 1 sprite, a sheet of Across x Down sprites of Side pixels on grey padding of Gap
# pixels, and a 2 x 2 sprite, as an .s16 file.
make_sheet() {
  "$python" - "$@" <<'PY'
import struct, sys
path, across, down, side, gap = sys.argv[1], *map(int, sys.argv[2:])
width, height = across * (side + gap) + gap, down * (side + gap) + gap
sheet = [0x8410] * (width * height)
for j in range(down):
    for i in range(across):
        for y in range(side):
            for x in range(side):
                sheet[(gap + j * (side + gap) + y) * width + gap + i * (side + gap) + x] = 0xF800 + i + j
sprites = [(1, 1, [0x07E0]), (width, height, sheet), (2, 2, [0x001F] * 4)]
head = struct.pack("<IH", 1, len(sprites))
offset = len(head) + 8 * len(sprites)
for w, h, words in sprites:
    head += struct.pack("<IHH", offset, w, h)
    offset += 2 * len(words)
with open(path, "wb") as out:
    out.write(head)
    for _, _, words in sprites:
        out.write(struct.pack("<%dH" % len(words), *words))
PY
}

# Asks the window to close, as a window manager's close button does.
close_window() {
  "$python" - "$window" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
display, window = x.XOpenDisplay(None), int(sys.argv[1])
event = Event()
event.xclient.type, event.xclient.window, event.xclient.format = 33, window, 32
event.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                         ctypes.POINTER(Event)]
x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
x.XFlush(display)
PY
}

# Waits up to 20 seconds for a message box, shows it as $1 and answers it with key $2.
answer_box() {
  local box
  box=$(timeout 20 xdotool search --sync --onlyvisible --name '^The Pelbrook$' | head -n 1) ||
    fail "no message box for $1"
  xdotool windowfocus --sync "$box"
  sleep 0.3
  shot "$1"
  xdotool key --window "$box" "$2"
  # Gone before the next box is looked for: both have the same name.
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^The Pelbrook$' | grep -qx "$box" || return 0
    sleep 0.1
  done
  fail "the box of $1 stayed"
}

# Closes the window and answers, as answer_box does, the box the close raises. Once, on a loaded
# machine, a close never reached the editor: it is sent again when no box has come in ten
# seconds (while the box is up, the window it blocks ignores a second close).
close_and_answer() {
  close_window
  timeout 10 xdotool search --sync --onlyvisible --name '^The Pelbrook$' >/dev/null || close_window
  answer_box "$1" "$2"
}

# Starts the editor on $1 with its sheet selected.
start_on() {
  QT_LOGGING_RULES='pelbrook.window.debug=true' "$editor" "$1" 2>"$work/log" &
  pid=$!
  pids+=($pid)
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^The Pelbrook - ' | head -n 1)
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  wait_for_log "status: Thumbnails generated."
  xdotool key Home Right
}
wait_for_exit() {
  for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  fail "the editor did not end"
}
sizes() { "$tool" info "$1" | tail -n +3 | cut -d' ' -f2- | tr '\n' ';'; }

# Manual cutter: three 30 x 30 sprites across, one of them cut.
file=$work/manual.s16
make_sheet "$file" 3 1 30 10
start_on "$file"
xdotool key ctrl+m
wait_for_log "status: Splitting the Bitmap..."
sleep 1
shot 1-manual-cutter-open
xdotool mousemove --window "$window" 30 30 mousedown 1 sleep 0.5 mouseup 1
wait_for_log "status: Splitting the Bitmap, Found Sprite at: 10,10 - 39,39 - Total now 1"
sleep 0.5
shot 2-manual-one-cut
close_and_answer 3-manual-cutter-question n
answer_box 4-manual-save-question y
wait_for_exit
[ "$(sizes "$file")" = "1 1;30 30;130 50;2 2;" ] || fail "manual: saved $(sizes "$file")"
echo "manual cutter: closed with the cut and the whole sheet saved"

# Expand Sprite: 250 x 250 sprites of 2 x 2, after a move that changed the document. The
# expansion paints at display rate and ends within a second or two, so the close goes the moment
# the second pass begins, without a screenshot in between.
file=$work/expand.s16
make_sheet "$file" 250 250 2 1
start_on "$file"
xdotool key ctrl+shift+Right
wait_for_log "title: The Pelbrook - [$file] *"
xdotool key ctrl+e
answer_box 5-expand-unsaved-question n
answer_box 6-expand-layout-warning y
grep -m 1 -qxF "pelbrook.window: status: Splitting the Bitmap, Pass 2 - Total Images now 250" \
  < <(timeout 20 tail -n +1 -F "$work/log" 2>/dev/null) || fail "no second pass"
close_and_answer 7-expand-save-question y
wait_for_exit
[ "$(sizes "$file")" = "1 1;2 2;751 751;" ] || fail "expand: saved $(sizes "$file")"
echo "Expand Sprite: stopped by the close, the document as before it saved"
