#!/usr/bin/python3
"""Times Pillow and ImageMagick on the work of the window and clipboard benchmarks, beside ours.

Runs build/pelbrook_bench (offscreen) for Expand Sprite, Copy and Paste, then the nearest
work each peer can do on the same pixels, and prints every figure with the peer's time over
ours (above 1: we are faster). The medians of three runs are compared.

- Expand Sprite on the two sheets of CutterBench.cpp (1024 sprites on 2048 x 2048, 8192 on
  4096 x 4096): ours is the editor's command to its rebuilt list, and pelbrook-tool's path
  (load, expand, save). Neither peer finds sprites, so each is given the boxes: Pillow opens the
  sheet as a BMP, crops every sprite and writes its pixels; ImageMagick cuts the sheet into
  tiles of sprite and padding (-crop) and writes each as a BMP.
- Copy of the 2048 x 2048 sheet of ClipboardBench.cpp: ours owns the clipboard, then encodes the
  PNG and the BMP each when asked; each peer encodes a PNG and a BMP of the same RGBA pixels.
- Paste of that sheet's PNG: ours to the rebuilt list; each peer decodes it to RGBA pixels.

Run after building pelbrook_bench and pelbrook-tool:
  /usr/bin/python3 tests/bench/peers.py [BUILD-FOLDER]
"""

import io
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

from PIL import Image

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
TEMP = tempfile.gettempdir()
MAGICK = "/usr/bin/convert"
# Side, sprites across and down, sprite width and height, as CutterBench.cpp lays them out.
SHEETS = {1024: (2048, 32, 32, 60, 60), 8192: (4096, 64, 128, 60, 30)}


def ours():
    filter = ("ExpandToolPath|WindowExpandsASheet|CopyASheetToTheClipboard/24|ACopyEncodes|"
              "PasteAPng")
    out = subprocess.run(
        [os.path.join(BUILD, "pelbrook_bench"), "--benchmark_filter=" + filter,
         "--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true",
         "--benchmark_format=json"],
        check=True, capture_output=True, text=True,
        env={**os.environ, "QT_QPA_PLATFORM": "offscreen"})
    figures = {}
    for run in json.loads(out.stdout)["benchmarks"]:
        if run.get("aggregate_name") == "median":
            scale = {"ms": 1e-3, "us": 1e-6, "ns": 1e-9}[run["time_unit"]]
            figures[run["run_name"]] = run["real_time"] * scale
    return figures


def median_of(runs, work):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        work()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def pillow_cut(bmp, sheet):
    _, across, down, width, height = sheet

    def work():
        image = Image.open(bmp)
        image.load()
        out = io.BytesIO()
        for row in range(down):
            for column in range(across):
                x, y = 1 + column * (width + 1), 1 + row * (height + 1)
                out.write(image.crop((x, y, x + width, y + height)).tobytes())
    return work


def magick_cut(bmp, sheet, folder):
    _, _, _, width, height = sheet
    return lambda: subprocess.run(
        [MAGICK, bmp, "-crop", f"{width + 1}x{height + 1}", "+repage", "+adjoin",
         os.path.join(folder, "%05d.bmp")], check=True)


def main():
    figures = ours()
    rows = []
    with tempfile.TemporaryDirectory() as folder:
        for count, sheet in SHEETS.items():
            s16 = os.path.join(TEMP, f"pelbrook-bench-sheet-{count}.s16")
            bmp = os.path.join(folder, f"sheet-{count}.bmp")
            subprocess.run([os.path.join(BUILD, "pelbrook-tool"), "export", s16, "0", bmp,
                            "--depth", "24"], check=True, capture_output=True)
            index = 0 if count == 1024 else 1
            rows.append((f"Expand, {count} sprites", {
                "window": figures[f"BM_WindowExpandsASheet/{index}"],
                "tool": figures[f"BM_ExpandToolPath/{index}"],
            }, {
                "Pillow": median_of(3, pillow_cut(bmp, sheet)),
                # Thousands of files take it long: once is enough.
                "ImageMagick": median_of(1, magick_cut(bmp, sheet, folder)),
            }))

        png = os.path.join(TEMP, "pelbrook-bench-paste.png")
        rgba = os.path.join(folder, "sheet.rgba")
        pixels = Image.open(png).convert("RGBA")
        with open(rgba, "wb") as out:
            out.write(pixels.tobytes())
        raw = ["-size", f"{pixels.width}x{pixels.height}", "-depth", "8", "rgba:" + rgba]
        for kind, ours_name in (("PNG", "Png"), ("BMP", "Bmp")):
            rows.append((f"Copy 2048 x 2048, {kind} asked for", {
                "owned": figures["BM_CopyASheetToTheClipboard/24"],
                "owned+encoded": figures["BM_CopyASheetToTheClipboard/24"] +
                                 figures[f"BM_ACopyEncodesOnRequest/{ours_name}"],
            }, {
                "Pillow": median_of(3, lambda: pixels.save(io.BytesIO(), kind)),
                "ImageMagick": median_of(3, lambda: subprocess.run(
                    [MAGICK, *raw, kind.lower() + ":-"], check=True, capture_output=True)),
            }))
        pasted = {"to the list": figures["BM_PasteAPngFromTheClipboard"]}
        rows.append(("Paste 2048 x 2048 PNG", pasted, {
            "Pillow": median_of(3, lambda: Image.open(png).convert("RGBA").load()),
            "ImageMagick": median_of(3, lambda: subprocess.run(
                [MAGICK, png, "rgba:-"], check=True, capture_output=True)),
        }))

    for name, mine, peers in rows:
        print(name)
        for label, seconds in mine.items():
            ratios = ", ".join(f"{peer} {other / seconds:.1f}x" for peer, other in peers.items())
            print(f"  ours ({label}) {seconds * 1e3:8.1f} ms   peer/ours: {ratios}")
        for peer, seconds in peers.items():
            print(f"  {peer:<22} {seconds * 1e3:8.1f} ms")


if __name__ == "__main__":
    main()
