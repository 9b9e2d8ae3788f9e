"""The files through the real choosers and the menus' keys: File > Save of a
drawing with a selected rectangle and a text box of four lines (one wrapped,
one with a tab) asks about the new name, adds ".bmp", and writes the canvas
without handles and with each line of text where the box showed it. File >
Open of that file shows it at (10, 10) as the background of an empty drawing,
and File > New clears it."""
import os
import sys

from harness import BLACK, GREY, WHITE, Session, Shot, check, dark, ink_lines, place_box, poll, read_rgb

RECT = (300, 200, 400, 260)
BOX = (600, 450, 800, 560)
AWAY = (900, 650)


with Session(sys.argv[1]) as s:
    s.key("alt+i", "r")
    s.drag(RECT[:2], RECT[2:])
    place_box(s, BOX)
    s.click((BOX[0] + 20, BOX[1] + 20))
    for i, line in enumerate(["One", "Two\twith a tab", "Three is a line long enough to wrap in the box", "Four"]):
        if i:
            s.key("Return")
        s.type(line)
    s.click((350, 230))  # the rectangle selected: its handles show
    shot = s.wait_for_pixel((RECT[0] - 3, RECT[1] - 3), BLACK, "the rectangle's handles")
    inside = (BOX[0] + 1, BOX[1] + 1, BOX[2] - 1, BOX[3] - 1)
    shown = ink_lines(shot.canvas_pixel, inside)
    check(len(shown) == 5, "the box shows five lines, one of them wrapped")

    target = os.path.join(s.tmp, "drawing")
    s.key("F10", "Down", "Down", "Down", "Return")  # File > Save
    dialog = s.focused_window("Save As", "the Save As chooser")
    s.type(target)
    s.key("Return")
    s.focused_window("Save As", "the question before creating the file", other_than=(dialog,))
    s.key("Return")  # Yes, the default
    size = 54 + 4 * s.screen[0] * s.screen[1]
    poll(lambda: os.path.exists(target + ".bmp") and os.path.getsize(target + ".bmp") == size, "the saved file")
    check(not os.path.exists(target), "the name got .bmp")
    pixel = Shot(*s.screen, read_rgb(target + ".bmp", *s.screen), (0, 0)).pixel
    check(pixel(RECT[0], 230) == GREY, "the rectangle's outline in the file")
    check(pixel(RECT[0] - 3, RECT[1] - 3) == WHITE, "no handles in the file")
    saved = ink_lines(pixel, inside)
    check(len(saved) == len(shown) and all(abs(a - b) <= 1 for p, q in zip(shown, saved) for a, b in zip(p, q)),
          "each saved line lies within a pixel of where the box showed it: %r / %r" % (shown, saved))
    s.wait_for_pixel((RECT[0] - 3, RECT[1] - 3), BLACK, "the handles back on the screen")

    s.click(AWAY)
    s.key("F10", "Down", "Down", "Return")  # File > Open
    s.focused_window("Open", "the Open chooser")
    s.type(target + ".bmp")
    s.key("Return")
    shot = s.wait_for_pixel((RECT[0] + 10, 240), GREY, "the saved rectangle, 10 pixels over")
    check(shot.canvas_pixel(RECT[0], 240) == WHITE, "the rectangle itself is gone")
    s.click(AWAY)
    s.key("F10", "Down", "Return")  # File > New
    s.wait_for_pixel((RECT[0] + 10, 240), WHITE, "an empty canvas after New")
    check(not any(dark(s.grab().canvas_pixel(x, BOX[1])) for x in range(BOX[0], BOX[2])), "the box went with New")
