"""File > Save through the real save dialog writes the whole canvas as a .bmp
file: the name gets ".bmp", the file is 54 + 4 x W x H bytes, bottom row
first, with the text box's text burned in and no handles. File > Open of that
file shows it at (10, 10) as the background of an empty drawing, and File >
New clears it again."""
import os
import struct
import sys

from harness import Session, check, poll

WHITE, BLACK, GREY = (255, 255, 255), (0, 0, 0), (192, 192, 192)
RECT = (300, 200, 400, 260)
BOX = (100, 100, 300, 160)


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    off = struct.unpack_from("<I", data, 10)[0]
    return data, width, height, bits, off


def focused_window(s, name, what, other_than=None):
    """Waits until a window of that name has the keyboard focus; its id."""
    def ready():
        wid = s.xdo("getwindowfocus")
        return wid if wid != other_than and s.xdo("getwindowname", wid) == name else None
    return poll(ready, what)


def pixel(bmp, x, y):
    """(r, g, b) of canvas pixel (x, y): rows run from the bottom up."""
    data, width, height, _, off = bmp
    i = off + ((height - 1 - y) * width + x) * 4
    return data[i + 2], data[i + 1], data[i]


with Session(sys.argv[1]) as s:
    s.key("alt+i", "r")
    s.drag(RECT[:2], RECT[2:])
    s.key("alt+i", "Up", "Return")  # Insert > EditBox
    s.drag(BOX[:2], BOX[2:])
    s.click((150, 130))
    s.type("Saved words")
    s.click((350, 230))  # select the rectangle: its handles show
    s.wait_for_pixel((RECT[0] - 3, RECT[1] - 3), BLACK, "the rectangle's handles")

    target = os.path.join(s.tmp, "drawing")
    # The menu keys: F10 opens the File menu ("&File" and "&Format" share Alt+F).
    s.key("F10", "Down", "Down", "Down", "Return")  # File > Save
    dialog = focused_window(s, "Save As", "the save dialog")
    s.type(target)
    s.key("Return")
    # A new name is asked about, in a box of its own; Yes is the default answer.
    focused_window(s, "Save As", "the question before creating the file", other_than=dialog)
    s.key("Return")
    poll(lambda: os.path.exists(target + ".bmp") and os.path.getsize(target + ".bmp") > 0, "the saved file")
    check(not os.path.exists(target), "the name got .bmp")

    bmp = read_bmp(target + ".bmp")
    data, width, height, bits, off = bmp
    check(data[:2] == b"BM" and bits == 32 and off == 54, "an uncompressed 32-bit bitmap")
    check(len(data) == 54 + 4 * width * height, "54 + 4 x W x H bytes")
    # The canvas view's origin is canvas (0, 0) at scroll position 0.
    check(pixel(bmp, RECT[0], 230) == GREY, "the rectangle's outline")
    check(pixel(bmp, RECT[0] - 3, RECT[1] - 3) == WHITE, "no handle in the file")
    dark = sum(1 for y in range(BOX[1], BOX[3]) for x in range(BOX[0], BOX[2]) if max(pixel(bmp, x, y)) < 100)
    check(dark > 30, "the box's text burned in")
    shot = s.grab()
    check(shot.canvas_pixel(RECT[0] - 3, RECT[1] - 3) == BLACK, "the handles are back on screen")
    s.screenshot("files-saved")

    # File > Open of the saved file: an empty drawing over the picture at (10, 10).
    s.click((700, 500))  # the keyboard back to the window (no window manager hands it back)
    s.key("F10", "Down", "Down", "Return")  # File > Open
    focused_window(s, "Open", "the open dialog")
    s.type(target + ".bmp")
    s.key("Return")
    s.wait_for_pixel((RECT[0] + 10, 230 + 10), GREY, "the saved rectangle, 10 pixels over")
    shot = s.screenshot("files-opened")
    check(shot.canvas_pixel(RECT[0], 230) == WHITE, "the rectangle itself is gone")

    s.click((700, 500))
    s.key("F10", "Down", "Return")  # File > New
    s.wait_for_pixel((RECT[0] + 10, 230 + 10), WHITE, "an empty canvas after New")
