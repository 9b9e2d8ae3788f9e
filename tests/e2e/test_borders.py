"""Insert > Border through the real dialog and file chooser: an outer border
of tiles round the whole window, then tiles round a selected white
rectangle, checked on the screen. The tile picture is blue with a red top-left
pixel, so every tile starts with a red block."""
import os
import subprocess
import sys

from harness import Session, check, poll

RED, WHITE = (255, 0, 0), (255, 255, 255)
# Places in the Border dialog, from its top-left corner (its template in
# dialog units, with the dialog font of the test screen).
BROWSE, OUTER, OK = (406, 59), (40, 148), (423, 117)


def border(s, tile, outer):
    s.key("alt+i", "Up", "Up", "Return")  # Insert > Border
    dialog = s.focused_window("Border", "the Border dialog")
    s.click_in(dialog, BROWSE)
    s.focused_window("Open", "the file chooser")
    s.type(tile)
    s.key("Return")
    poll(lambda: not s.xdo("search", "--onlyvisible", "--name", "^Open$"), "the file chooser to close")
    if outer:
        s.click_in(dialog, OUTER)
    s.click_in(dialog, OK)


with Session(sys.argv[1]) as s:
    tile = os.path.join(s.tmp, "tile.png")
    subprocess.run(["convert", "-size", "10x10", "xc:blue", "-fill", "red", "-draw", "point 0,0", tile], check=True)

    # The outer border starts 30 pixels down the canvas, at its left edge.
    border(s, tile, outer=True)
    shot = s.wait_for_pixel((1, 31), RED, "the first tile of the outer border")
    check(shot.canvas_pixel(1, 29) == WHITE, "nothing above the border")
    check(shot.canvas_pixel(52, 31) == RED, "the next tile of the top row, 51 pixels on")
    s.screenshot("borders-outer")

    # A white rectangle of 200 x 200 takes four 50 x 50 tiles a side.
    s.click((700, 500))  # the keyboard back to the window (no window manager hands it back)
    s.key("alt+i", "r")
    s.drag((300, 200), (500, 400))
    s.click((400, 300))
    border(s, tile, outer=False)
    shot = s.wait_for_pixel((352, 202), RED, "the last tile of the rectangle's top row")
    check(shot.canvas_pixel(302, 252) == RED, "the left column's second tile")
    check(shot.canvas_pixel(400, 300) == WHITE, "no fill inside")
    s.screenshot("borders-rectangle")
