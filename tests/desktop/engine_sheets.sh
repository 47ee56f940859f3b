#!/usr/bin/env bash
# Sprite sheets as a game engine loads them. pelbrook-tool packs sprites of every awkward kind
# (1 x 1, odd sizes, a wide and a tall one, black holes and borders, every channel's ends) into
# pairs of a PNG and a JSON atlas: the hash and the array form, in rows and max-rects, with
# padding, power-of-two sides, trimmed, a range of sprites, and from each format. Phaser
# (engine/, vendored) loads each pair in headless Chromium over a local server, draws every
# frame at 1:1 on whole pixels and posts the canvas back: each frame must be its sprite, the
# very colour at full alpha where the sprite is not black and alpha 0 where it is, with nothing
# drawn beside the frames.
# Skipped (77) without Chromium, Pillow or pelbrook-tool's pack.
# Usage: engine_sheets.sh PELBROOK-TOOL
set -euo pipefail
tool=$1
python=/usr/bin/python3
engine=$(cd "$(dirname "$0")/engine" && pwd)
command -v chromium >/dev/null || { echo "no chromium: skipped"; exit 77; }
[ -x "$tool" ] || { echo "no pelbrook-tool built: skipped"; exit 77; }
"$tool" pack --help >/dev/null 2>&1 || { echo "pelbrook-tool has no pack: skipped"; exit 77; }
"$python" -c 'import PIL' 2>/dev/null || { echo "no Pillow: skipped"; exit 77; }

work=$(mktemp -d)
server= browser=
cleanup() {
  for pid in $browser $server; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
www=$work/www
mkdir -p "$www"
cp "$engine/draw_atlas.html" "$engine/phaser.min.js" "$www/"

"$python" "$engine/atlas_pixels.py" sprites "$work/drawn"
"$tool" import "$work/sprites-565.s16" "$work"/drawn/*.png >/dev/null
"$tool" convert "$work/sprites-565.s16" "$work/sprites-555.s16" --to s16-555 >/dev/null
"$tool" convert "$work/sprites-565.s16" "$work/sprites.spr" >/dev/null
for file in sprites-565.s16 sprites-555.s16 sprites.spr; do
  "$tool" export-all "$work/$file" "$work/expected/$file" --depth png >/dev/null
done

"$python" "$engine/atlas_pixels.py" serve "$www" "$work/port" &
server=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "FAILED: the page server did not start"; exit 1; }
port=$(cat "$work/port")

# NAME  SPRITE-FILE  pack's options
pairs=("hash sprites-565.s16" "array sprites-565.s16 --array"
  "padded sprites-565.s16 --padding 3 --pot" "padded-array sprites-565.s16 --array --padding 16"
  "max-rects sprites-565.s16 --packing max-rects --padding 1"
  "max-rects-array sprites-565.s16 --packing max-rects --array --pot"
  "trimmed sprites-565.s16 --trim" "trimmed-array sprites-565.s16 --trim --array --padding 2 --pot"
  "trimmed-max-rects sprites-565.s16 --trim --packing max-rects"
  "range sprites-565.s16 --from 2 --to 7 --padding 2"
  "5-5-5 sprites-555.s16 --padding 1" "spr sprites.spr --trim --packing max-rects")

failed=0
for pair in "${pairs[@]}"; do
  read -r name file options <<<"$pair"
  expected=$work/expected/$file
  if [[ $options =~ --from\ ([0-9]+)\ --to\ ([0-9]+) ]]; then
    expected=$work/expected/$name
    mkdir -p "$expected"
    for index in $(seq "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"); do
      cp "$(printf '%s/%04d.png' "$work/expected/$file" "$index")" "$expected/"
    done
  fi
  # shellcheck disable=SC2086 # the options are words
  "$tool" pack "$work/$file" "$www/$name.png" --json "$www/$name.json" $options >/dev/null
  HOME=$work chromium --headless --no-sandbox --disable-gpu --user-data-dir="$work/profile" \
    "http://127.0.0.1:$port/draw_atlas.html?pair=$name" >"$work/chromium.log" 2>&1 &
  browser=$!
  for _ in $(seq 600); do
    [ -e "$www/$name.result" ] || ! kill -0 "$browser" 2>/dev/null && break
    sleep 0.1
  done
  kill "$browser" 2>/dev/null || true
  wait "$browser" 2>/dev/null || true
  browser=
  if [ ! -e "$www/$name.result" ]; then
    echo "$name ($options): the page gave no result in 60 s; Chromium said:"
    tail -n 5 "$work/chromium.log"
    failed=1
  elif ! "$python" "$engine/atlas_pixels.py" compare "$www/$name.result" "$expected" |
    sed "s/^/$name (${options:-no options}): /"; then
    failed=1
  fi
done
[ "$failed" = 0 ] || { echo "FAILED: the engine drew the sheets otherwise than the sprites"; exit 1; }
echo "Phaser $(grep -o 'VERSION:"[0-9.]*"' "$engine/phaser.min.js" | cut -d'"' -f2) drew every frame of every pair as its sprite"
