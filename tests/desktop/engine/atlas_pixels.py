"""The engine check's own pieces: the sprites it packs, the pages' server, and the comparison of
what the engine drew with the sprites.

  atlas_pixels.py sprites FOLDER           writes the sprites as NNNN.png
  atlas_pixels.py serve FOLDER PORT-FILE   serves FOLDER on 127.0.0.1, the port written to
                                           PORT-FILE; a page's result posted to /result?pair=P
                                           goes to FOLDER/P.result
  atlas_pixels.py compare RESULT SPRITES   SPRITES holds the sprites as exported PNGs
"""
import base64
import functools
import http.server
import json
import os
import sys
import urllib.parse

from PIL import Image

BLACK = (0, 0, 0)


def five(v):  # a 5-bit channel as the 8 bits the sprite file gives back
    return (v << 3) | (v >> 2)


def six(v):
    return (v << 2) | (v >> 4)


# Every channel's ends: the smallest and the largest value of red, green and blue alone, the
# darkest colour that is not black, white, and ramps through all 32 or 64 steps of a channel.
ENDS = [(255, 0, 0), (five(1), 0, 0), (0, 255, 0), (0, six(1), 0), (0, 0, 255), (0, 0, five(1)),
        (five(1), six(1), five(1)), (255, 255, 255), (255, 255, 0), (0, 255, 255), (255, 0, 255)]


def ramp(x, y):
    return (five(x % 32), six((x + y) % 64), five(31 - y % 32))


def sprite(width, height, colour):
    image = Image.new("RGB", (width, height))
    image.putdata([colour(x, y) for y in range(height) for x in range(width)])
    return image


def sprites():
    return [
        sprite(1, 1, lambda x, y: (255, 0, 0)),
        sprite(1, 1, lambda x, y: BLACK),  # wholly transparent
        sprite(3, 5, lambda x, y: ENDS[(x + 3 * y) % len(ENDS)]),
        # a black border around a sprite with black holes
        sprite(17, 9, lambda x, y: BLACK if x in (0, 16) or y in (0, 8) or (x * y) % 7 == 3
               else ENDS[(x + y) % len(ENDS)]),
        sprite(130, 2, ramp),  # wide
        sprite(2, 97, ramp),  # tall
        sprite(31, 33, lambda x, y: BLACK if (x + y) % 2 else ramp(x, y)),
        sprite(64, 64, lambda x, y: ramp(x, y) if y < 2 or x > 61 else BLACK),  # black at three sides
        sprite(1, 13, lambda x, y: ENDS[y % len(ENDS)]),
        sprite(13, 1, lambda x, y: ENDS[x % len(ENDS)]),
        sprite(7, 11, lambda x, y: (five(1), six(1), five(1)) if 1 < x < 5 and 2 < y < 8 else BLACK),
        sprite(40, 25, lambda x, y: ramp(x * 3, y * 5)),
    ]


def write_sprites(folder):
    os.makedirs(folder, exist_ok=True)
    for index, image in enumerate(sprites()):
        image.save(os.path.join(folder, "%04d.png" % index))


def serve(folder, port_file):
    class Handler(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

        def do_POST(self):
            pair = urllib.parse.parse_qs(urllib.parse.urlparse(self.path).query)["pair"][0]
            body = self.rfile.read(int(self.headers["Content-Length"]))
            written = os.path.join(folder, os.path.basename(pair) + ".result")
            with open(written + ".part", "wb") as out:
                out.write(body)
            os.rename(written + ".part", written)
            self.send_response(204)
            self.end_headers()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=folder))
    with open(port_file + ".part", "w") as out:
        out.write(str(server.server_address[1]))
    os.rename(port_file + ".part", port_file)
    server.serve_forever()


def compare(result_file, sprite_folder):
    """Prints a line per frame that differs and one summary line; true when all frames match."""
    with open(result_file) as text:
        drawn = json.load(text)
    if "error" in drawn:
        print("the page failed:", drawn["error"])
        return False
    ok = True
    # A loader that goes by the atlas (PixiJS does) finds the sheet by its name and size.
    image_name = os.path.basename(result_file).replace(".result", ".png")
    meta = drawn["meta"]
    if meta.get("image") != image_name or meta.get("size") != drawn["sheet"]:
        print("the atlas names %s of %s, the sheet is %s of %s"
              % (meta.get("image"), meta.get("size"), image_name, drawn["sheet"]))
        ok = False
    width, height = drawn["width"], drawn["height"]
    pixels = base64.b64decode(drawn["pixels"])
    canvas = [tuple(pixels[i:i + 4]) for i in range(0, len(pixels), 4)]
    expected_names = sorted(name[:-4] for name in os.listdir(sprite_folder) if name.endswith(".png"))
    names = [frame["name"] for frame in drawn["frames"]]
    if names != expected_names:
        print("the atlas names the frames %s, the sprites are %s" % (names, expected_names))
        ok = False
    covered = set()
    matching = 0
    for frame in drawn["frames"]:
        if frame["name"] not in expected_names:
            continue
        image = Image.open(os.path.join(sprite_folder, frame["name"] + ".png")).convert("RGBA")
        if (frame["w"], frame["h"]) != image.size:
            print("frame %s is %dx%d, its sprite %dx%d" % (frame["name"], frame["w"], frame["h"], *image.size))
            ok = False
            continue
        wrong = []
        for y in range(image.height):
            for x in range(image.width):
                at = (frame["y"] + y) * width + frame["x"] + x
                covered.add(at)
                r, g, b, a = image.getpixel((x, y))
                # Black is transparent: alpha 0 there, the very colour at full alpha elsewhere.
                want = (0, 0, 0, 0) if (r, g, b) == BLACK or a == 0 else (r, g, b, 255)
                got = canvas[at] if canvas[at][3] else (0, 0, 0, 0)
                if got != want:
                    wrong.append((x, y, got, want))
        if wrong:
            x, y, got, want = wrong[0]
            print("frame %s: %d of %d pixels differ, the first at %d,%d: drawn %s, sprite %s"
                  % (frame["name"], len(wrong), image.width * image.height, x, y, got, want))
            ok = False
        else:
            matching += 1
    # Nothing is drawn beside the frames: a rectangle too large would show its neighbours.
    stray = [at for at in range(width * height) if at not in covered and canvas[at][3]]
    if stray:
        print("%d pixels drawn outside the frames, the first at %d,%d"
              % (len(stray), stray[0] % width, stray[0] // width))
        ok = False
    print("%d of %d frames drawn pixel for pixel" % (matching, len(expected_names)))
    return ok


if __name__ == "__main__":
    command, arguments = sys.argv[1], sys.argv[2:]
    if command == "sprites":
        write_sprites(*arguments)
    elif command == "serve":
        serve(*arguments)
    elif command == "compare":
        sys.exit(0 if compare(*arguments) else 1)
    else:
        sys.exit("unknown command " + command)
