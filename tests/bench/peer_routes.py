#!/usr/bin/python3
"""Times pelbrook-tool's big-picture routes beside ImageMagick and Pillow doing the same work.

One 8192 x 8192 picture (gradients, a fractal edge, grain and black bands, made here), four
routes, each a whole program run from its start, best of RUNS (Pelbrook syncs what it saves;
the peers do not):
  PNG -> .s16             the peers write a 16-bit 5-6-5 BMP, the nearest form they have
  .s16 -> 24-bit BMP      the peers start from a 5-6-5 BMP of the same pixels
  .s16 -> PNG             black transparent; the peers start from that 5-6-5 BMP
  24-bit BMP -> .s16      the peers write a 5-6-5 BMP
Prints seconds, peak memory (max RSS) and the faster peer's time over Pelbrook's, then the
PNG sizes beside ImageMagick's default output.
Run: /usr/bin/python3 tests/bench/peer_routes.py build/pelbrook-tool [--runs 3] [--folder F]
"""

import argparse
import os
import random
import subprocess
import sys
import time

from PIL import Image, ImageChops, ImageDraw

SIDE = 8192
CONVERT = "/usr/bin/convert"
PYTHON = "/usr/bin/python3"

PILLOW_TO_565 = """
import struct, sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB").transpose(Image.Transpose.FLIP_TOP_BOTTOM)
rows = image.convert("BGR;16").tobytes()
width, height = image.size
header = struct.pack("<2sIHHIIiiHHIIiiII", b"BM", 66 + len(rows), 0, 0, 66, 40, width, height,
                     1, 16, 3, len(rows), 2835, 2835, 0, 0)
with open(sys.argv[2], "wb") as out:
    out.write(header + struct.pack("<III", 0xF800, 0x07E0, 0x001F) + rows)
"""

PILLOW_TO_24 = """
import sys
from PIL import Image
Image.open(sys.argv[1]).convert("RGB").save(sys.argv[2], "BMP")
"""

PILLOW_TO_PNG = """
import sys
from PIL import Image, ImageChops
image = Image.open(sys.argv[1]).convert("RGB")
red, green, blue = image.split()
seen = ImageChops.lighter(ImageChops.lighter(red, green), blue)
image.putalpha(seen.point(lambda value: 255 if value else 0))
image.save(sys.argv[2])
"""


def make_picture(png, bmp):
    red = Image.effect_mandelbrot((SIDE, SIDE), (-2.2, -1.4, 0.9, 1.4), 60)
    green = Image.linear_gradient("L").resize((SIDE, SIDE))
    blue = Image.radial_gradient("L").resize((SIDE, SIDE))
    picture = Image.merge("RGB", (red, green, blue))
    random.seed(17)
    grain = Image.frombytes("RGB", (SIDE, SIDE), random.randbytes(SIDE * SIDE * 3))
    picture = ImageChops.add(picture, grain.point(lambda value: value >> 5))
    draw = ImageDraw.Draw(picture)
    for y in range(0, SIDE, 512):
        for x in range(0, SIDE, 512):
            draw.rectangle((x, y, x + 511, y + 63), fill=(0, 0, 0))
            draw.ellipse((x + 100, y + 120, x + 400, y + 480), fill=(x // 32 % 256, y // 32 % 256, 200))
    picture.save(png)
    picture.save(bmp)


def run(argv):
    """Wall seconds and max RSS in MiB of one run of argv, started by time(1): a child of this
    large Python process would count its pages too. The files the runs before it wrote are on
    disk first, so that no run waits for another's writes."""
    os.sync()
    start = time.perf_counter()
    done = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE, text=True)
    seconds = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit(f"failed: {' '.join(argv)}\n{done.stderr}")
    return seconds, int(done.stderr.split()[-1]) / 1024


def best(argv, runs):
    results = [run(argv) for _ in range(runs)]
    return min(seconds for seconds, _ in results), max(rss for _, rss in results)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tool")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--folder", default="/tmp/pelbrook-peer-routes")
    options = parser.parse_args()
    tool = os.path.abspath(options.tool)
    os.makedirs(options.folder, exist_ok=True)
    os.chdir(options.folder)
    if not (os.path.exists("picture.png") and os.path.exists("picture24.bmp")):
        make_picture("picture.png", "picture24.bmp")
    subprocess.run([tool, "import", "picture.s16", "picture.png"], check=True)
    subprocess.run([tool, "export", "picture.s16", "0", "picture565.bmp", "--depth", "16"], check=True)

    routes = [
        ("PNG -> .s16", [tool, "import", "out.s16", "picture.png"],
         [CONVERT, "picture.png", "-define", "bmp:subtype=RGB565", "out-im.bmp"],
         [PYTHON, "-c", PILLOW_TO_565, "picture.png", "out-pil.bmp"]),
        (".s16 -> 24-bit BMP", [tool, "export", "picture.s16", "0", "out.bmp"],
         [CONVERT, "picture565.bmp", "-type", "TrueColor", "BMP3:out-im.bmp"],
         [PYTHON, "-c", PILLOW_TO_24, "picture565.bmp", "out-pil.bmp"]),
        (".s16 -> PNG", [tool, "export", "picture.s16", "0", "out.png"],
         [CONVERT, "picture565.bmp", "-transparent", "black", "out-im.png"],
         [PYTHON, "-c", PILLOW_TO_PNG, "picture565.bmp", "out-pil.png"]),
        ("24-bit BMP -> .s16", [tool, "import", "out.s16", "picture24.bmp"],
         [CONVERT, "picture24.bmp", "-define", "bmp:subtype=RGB565", "out-im.bmp"],
         [PYTHON, "-c", PILLOW_TO_565, "picture24.bmp", "out-pil.bmp"]),
    ]
    print(f"{SIDE} x {SIDE}, best of {options.runs}; seconds (max RSS MiB)")
    print(f"{'route':20} {'Pelbrook':>16} {'ImageMagick':>16} {'Pillow':>16} {'peer/Pelbrook':>14}")
    for name, ours, magick, pillow in routes:
        figures = [best(argv, options.runs) for argv in (ours, magick, pillow)]
        cells = " ".join(f"{seconds:7.2f} ({rss:5.0f})" for seconds, rss in figures)
        ratio = min(figures[1][0], figures[2][0]) / figures[0][0]
        print(f"{name:20} {cells} {ratio:13.2f}x")
    ours, magick = os.path.getsize("out.png"), os.path.getsize("out-im.png")
    print(f"PNG bytes: Pelbrook {ours}, ImageMagick {magick}, Pillow {os.path.getsize('out-pil.png')}"
          f"; Pelbrook / ImageMagick = {ours / magick:.3f}")
    print(f"the picture's pixels twice over: {2 * SIDE * SIDE * 3 >> 20} MiB at 24 bits,"
          f" {2 * SIDE * SIDE * 4 >> 20} MiB at 32")


if __name__ == "__main__":
    main()
