#!/usr/bin/python3
"""Times Pillow's Image.resize on the work ResampleBench.cpp gives the resampler.

The same 2000 sprite sizes (the same generator), the same thumbnail geometry, Triangle as
BILINEAR and Box as BOX; and 4096 x 4096 to 1024 x 1024 and 8192 x 8192 with BILINEAR.
Run: /usr/bin/python3 tests/bench/pillow_thumbnails.py
"""

import os
import time

from PIL import Image

SPRITES = 2000
MASK = (1 << 64) - 1


def sides():
    state = 2024
    while True:
        state = (state * 6364136223846793005 + 1442695040888963407) & MASK
        yield 16 + (state >> 33) % 241


def rounded_quotient(numerator, denominator):
    quotient, remainder = divmod(numerator, denominator)
    if 2 * remainder > denominator or (2 * remainder == denominator and quotient % 2):
        quotient += 1
    return quotient


def geometry(width, height, size):
    if width > height:
        return size, rounded_quotient(height * size, width)
    return rounded_quotient(width * size, height), size


def best_of(runs, work):
    best = float("inf")
    for _ in range(runs):
        start = time.process_time()
        work()
        best = min(best, time.process_time() - start)
    return best


def main():
    generator = sides()
    images = []
    for _ in range(SPRITES):
        width, height = next(generator), next(generator)
        images.append(Image.frombytes("RGB", (width, height), os.urandom(width * height * 3)))

    for size, name, method in ((100, "Triangle", Image.BILINEAR), (25, "Box", Image.BOX)):
        targets = [geometry(image.width, image.height, size) for image in images]

        def document():
            for image, target in zip(images, targets):
                image.resize(target, method)

        seconds = best_of(5, document)
        print(f"document {size}x{size} {name}: {SPRITES / seconds:.0f} thumbnails/s")

    large = Image.frombytes("RGB", (4096, 4096), os.urandom(4096 * 4096 * 3))
    for side in (1024, 8192):
        seconds = best_of(3, lambda: large.resize((side, side), Image.BILINEAR))
        print(f"4096x4096 to {side}x{side} BILINEAR: {side * side / 1e6 / seconds:.1f} MP/s")


if __name__ == "__main__":
    main()
