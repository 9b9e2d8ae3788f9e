"""Takes the README's screenshot from the real program on its own Xvfb
server: a patterned picture opened as the background from the command line,
a few figures and a text box drawn with the mouse and the keyboard, the last
figure selected. Writes docs/screenshot.png (cropped to the drawing, few
colours, small):

    python3 packaging/screenshot.py build/bin/veltra

Needs what the end-to-end tests need (Xvfb, xdotool, ImageMagick)."""
import os
import struct
import subprocess
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import Session, poll  # noqa: E402

GREY = (192, 192, 192)
CROP = "880x560+0+0"
OUT = os.path.join(ROOT, "docs", "screenshot.png")


def write_png(path, width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def tile(x, y):
    """A pale pattern of square tiles, each with a diamond, in the icon's colours."""
    size = 40
    tx, ty, u, v = x // size, y // size, x % size - size // 2, y % size - size // 2
    diamond = abs(u) + abs(v) < 12
    if (tx + ty) % 2:
        return (214, 228, 243) if not diamond else (169, 200, 230)
    return (250, 236, 212) if not diamond else (246, 217, 166)


def choose(colour):
    """Answers the colour dialog with `colour` typed into its HTML field."""
    poll(lambda: s.xdo("search", "--onlyvisible", "--name", "^Color$"), "the colour dialog")
    s.key("alt+h", "ctrl+a")
    s.type(colour)
    s.key("Return")


def fill(inside, colour, probe):
    """Selects the figure at `inside` and fills it with `colour` through
    Layout > Fill color and the colour dialog's HTML field."""
    s.click(inside)
    s.key("alt+l", "f")
    choose(colour)
    rgb = tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))
    poll(lambda: s.grab().canvas_pixel(*probe) == rgb, "the fill " + colour)


session = Session(sys.argv[1], args=["background.png"])
write_png(os.path.join(session.tmp, "background.png"), 360, 240, tile)
with session as s:
    poll(lambda: s.grab().canvas_pixel(10, 10) != (255, 255, 255), "the background picture")
    s.key("alt+i", "r")
    s.drag((420, 60), (640, 200))
    s.key("alt+i", "c")
    s.drag((540, 140), (780, 330))
    s.key("alt+i", "l")
    s.drag((60, 300), (330, 430))
    s.key("alt+i", "r")
    s.drag((240, 180), (400, 290))
    s.key("alt+i", "Up", "Return")  # Insert > EditBox
    s.drag((420, 360), (760, 440))
    s.click((440, 380))
    s.type("Veltra: designs and patterns")
    s.key("Return")
    s.type("on one large canvas")
    # The line in the tile border's blue, through Layout > Line Color.
    s.click((195, 365))
    s.key("alt+l", "l")
    choose("#2a6fb0")
    poll(lambda: any(s.grab().canvas_pixel(195, y) == (0x2A, 0x6F, 0xB0) for y in range(362, 369)), "the blue line")
    fill((300, 270), "#a9c8e6", (250, 200))  # the lower rectangle, blue
    fill((660, 230), "#f6d9a6", (660, 300))  # the ellipse, which stays selected: its handles show
    poll(lambda: s.grab().canvas_pixel(540 - 3, 140 - 3) == (0, 0, 0), "the ellipse's handles")
    raw = os.path.join(s.tmp, "screen.png")
    subprocess.run(["import", "-window", "root", raw], env=s.env, check=True)
    subprocess.run(["convert", raw, "-crop", CROP, "+repage", "-colors", "64", "-strip", "png8:" + OUT], check=True)
print(OUT, os.path.getsize(OUT), "bytes")
