"""`veltra PICTURE` starts with the picture as the background, as File > Open
shows it: at (10, 10) at its own size. The name may be relative to the
folder the program starts in. A file that cannot be read shows nothing and no
message: the window takes the mouse and the keyboard at once."""
import os
import struct
import sys
import zlib

from harness import Session, check

WHITE, GREY = (255, 255, 255), (192, 192, 192)
CORNER, BODY = (220, 40, 40), (40, 60, 200)
W, H = 60, 40


def write_png(path, width, height, pixel):
    """An 8-bit RGB PNG whose pixel (x, y) is pixel(x, y)."""
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows)))
        f.write(chunk(b"IEND", b""))


# The picture: one red pixel at its top-left corner, blue everywhere else.
session = Session(sys.argv[1], args=["picture.png"])
write_png(os.path.join(session.tmp, "picture.png"), W, H, lambda x, y: CORNER if (x, y) == (0, 0) else BODY)
with session as s:
    shot = s.wait_for_pixel((10, 10), CORNER, "the picture's corner at canvas (10, 10)")
    check(shot.canvas_pixel(11, 11) == BODY, "the picture's body next to it")
    check(shot.canvas_pixel(9, 9) == WHITE and shot.canvas_pixel(9, 10) == WHITE and shot.canvas_pixel(10, 9) == WHITE,
          "white above and left of the picture")
    check(shot.canvas_pixel(10 + W - 1, 10 + H - 1) == BODY, "the picture's last pixel at its own size")
    check(shot.canvas_pixel(10 + W, 10 + H - 1) == WHITE and shot.canvas_pixel(10 + W - 1, 10 + H) == WHITE,
          "white right of and below the picture")
    s.screenshot("command-line-picture")

# A name that is no file: the program starts on an empty canvas, with no
# message box in the way of the first rectangle drawn.
with Session(sys.argv[1], args=["no-such-picture.png"]) as s:
    shot = s.grab()
    check(shot.canvas_pixel(10, 10) == WHITE and shot.canvas_pixel(30, 30) == WHITE, "nothing drawn")
    s.key("alt+i", "r")
    s.drag((100, 100), (200, 150))
    s.wait_for_pixel((100, 125), GREY, "the rectangle drawn right after the start")
    check(len(s.windows_titled()) == 1, "no message box")
