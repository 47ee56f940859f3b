#!/usr/bin/env bash
# The clipboard between the editor and another program, as a person uses it on a real X
# display: copy a sprite with the keyboard and read its PNG and BMP with xclip; offer a PNG
# with xclip, paste it, save, and check the file; offer a 5-6-5 BMP of every word, paste it, and
# check that it went through the program's own BMP reader. Skipped (77) without Xvfb, xclip, xdotool or Pillow.
# Usage: clipboard_round_trip.sh PELBROOK PELBROOK-TOOL SAMPLE.s16 [SCREENSHOT-FOLDER]
set -euo pipefail
editor=$1 tool=$2 sample=$3 shots=${4:-}
python=/usr/bin/python3
for need in Xvfb xclip xdotool; do
  command -v "$need" >/dev/null || { echo "no $need: skipped"; exit 77; }
done
[ -x "$editor" ] || { echo "no editor built: skipped"; exit 77; }
"$python" -c 'import PIL' 2>/dev/null || { echo "no Pillow: skipped"; exit 77; }

. "$(dirname "$0")/x_session.sh"

cp "$sample" "$work/sheet.s16"
start_editor_on "$work/sheet.s16"

# Copy the first sprite, again and again until the list is ready and the copy is there; then
# move to the second sprite with the keyboard and copy it.
for _ in $(seq 50); do
  xdotool key Home ctrl+c
  xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx image/png && break
  sleep 0.2
done
xclip -selection clipboard -t image/png -o >"$work/first.png"
# PNG and BMP only: JPEG and the one-bit forms would break the black rule, XPM is palette-based.
offered=$(xclip -selection clipboard -t TARGETS -o | grep / | sort | tr '\n' ' ')
[ "$offered" = "image/bmp image/png " ] || { echo "copy offers: $offered"; exit 1; }
xdotool key Right ctrl+c
for _ in $(seq 100); do
  xclip -selection clipboard -t image/png -o 2>/dev/null | cmp -s - "$work/first.png" || break
  sleep 0.1
done
shot copied
# Each form is made when asked for: the PNG with black transparent, the BMP opaque.
xclip -selection clipboard -t image/png -o >"$work/copied.png"
xclip -selection clipboard -t image/bmp -o >"$work/copied.bmp"
"$tool" export "$work/sheet.s16" 1 "$work/expected.bmp" --depth 24 >/dev/null
"$python" - "$work/copied.png" "$work/copied.bmp" "$work/expected.bmp" <<'PY'
import sys
from PIL import Image
copied = Image.open(sys.argv[1]).convert("RGBA")
opaque = Image.open(sys.argv[2])
expected = Image.open(sys.argv[3]).convert("RGB")
assert copied.size == opaque.size == expected.size, (copied.size, opaque.size, expected.size)
assert opaque.mode == "RGB", opaque.mode
for c, e in zip(copied.getdata(), expected.getdata()):
    if e == (0, 0, 0):
        assert c[3] == 0, ("black must be transparent", c)
    else:
        assert c == e + (255,), ("colour changed", c, e)
assert list(opaque.getdata()) == list(expected.getdata()), "the BMP's colours changed"
print("copied", copied.size)
PY

# Another program offers a PNG with a transparent corner; paste it before the selection.
"$python" - "$work/offered.png" <<'PY'
import sys
from PIL import Image
image = Image.new("RGBA", (20, 10), (200, 100, 50, 255))
for x in range(5):
    image.putpixel((x, 0), (255, 255, 255, 20))
image.putpixel((19, 9), (1, 1, 1, 255))
image.save(sys.argv[1])
PY
# Another program offers file $2 as type $1; the editor pastes it and saves.
paste_offered_and_save() {
  xclip -selection clipboard -t "$1" -i "$2" &
  pids+=($!)
  # The paste waits until xclip, not the editor, owns the clipboard.
  for _ in $(seq 100); do
    xclip -selection clipboard -t "$1" -o 2>/dev/null | cmp -s - "$2" && break
    sleep 0.1
  done
  xdotool key ctrl+v
  wait_for_title "The Pelbrook - [$work/sheet.s16] *"
  shot "pasted-${1#image/}"
  xdotool key ctrl+s
  wait_for_title "The Pelbrook - [$work/sheet.s16]"
}
paste_offered_and_save image/png "$work/offered.png"

"$tool" info "$work/sheet.s16" >"$work/info"
[ "$(sed -n 2p "$work/info")" = 7 ] || { cat "$work/info"; exit 1; }
[ "$(sed -n 4p "$work/info")" = "1 20 10" ] || { cat "$work/info"; exit 1; }
"$tool" export "$work/sheet.s16" 1 "$work/pasted.bmp" --depth 24 >/dev/null
"$python" - "$work/pasted.bmp" <<'PY'
import sys
from PIL import Image
pasted = Image.open(sys.argv[1]).convert("RGB")
for y in range(10):
    for x in range(20):
        p = pasted.getpixel((x, y))
        if y == 0 and x < 5:
            assert p == (0, 0, 0), ("transparent must paste as black", x, y, p)
        elif (x, y) == (19, 9):
            assert p != (0, 0, 0) and max(p) < 40, ("near-black must stay visible", p)
        else:
            assert all(abs(a - b) <= 8 for a, b in zip(p, (200, 100, 50))), (x, y, p)
print("pasted and saved", pasted.size)
PY

# Another program offers a 16-bit 5-6-5 BMP of all 65536 words; Paste takes its words as they
# are, then through 5-5-5 as every paste does.
"$python" - "$work/words.bmp" <<'PY'
import struct, sys
pixels = b"".join(struct.pack("<H", (255 - y) * 256 + x) for y in range(256) for x in range(256))
header = struct.pack("<2sIHHI", b"BM", 66 + len(pixels), 0, 0, 66)
info = struct.pack("<IiiHHIIiiII", 40, 256, 256, 1, 16, 3, len(pixels), 2835, 2835, 0, 0)
masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
open(sys.argv[1], "wb").write(header + info + masks + pixels)
PY
paste_offered_and_save image/bmp "$work/words.bmp"
index=$("$tool" info "$work/sheet.s16" | awk '$2 == 256 && $3 == 256 { print $1; exit }')
"$tool" export "$work/sheet.s16" "$index" "$work/words-pasted.bmp" --depth 16 >/dev/null
"$python" - "$work/words-pasted.bmp" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
offset = struct.unpack("<I", data[10:14])[0]
words = struct.unpack("<65536H", data[offset:offset + 131072])
for y in range(256):
    for x in range(256):
        word = (255 - y) * 256 + x
        green = (word >> 5) & 63
        green5 = 1 if green == 1 else green >> 1  # a lone low bit stays visible
        expected = (word & 0xF81F) | (green5 << 6)
        assert words[y * 256 + x] == expected, (hex(word), hex(words[y * 256 + x]))
print("pasted 5-6-5 words exact")
PY