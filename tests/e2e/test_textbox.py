"""A text box placed with Insert > EditBox and a drag sits exactly where it
was dragged; typing two lines with Enter and a Backspace shows the text, and
the arrow keys, Home and Delete change nothing in it. Typing into the box
ends the selection of a rectangle, so Cut answers as with nothing selected;
Alt+letter types nothing; a figure drawn over handles keeps no squares.
Save burns a box's lines where the screen showed them."""
import os
import struct
import sys

from harness import Session, check, poll

BOX = (100, 100, 300, 200)  # the drag, in canvas-view coordinates
INSIDE = (BOX[0] + 2, BOX[1] + 2, BOX[2] - 2, BOX[3] - 2)
AWAY = (600, 400)  # a canvas point far from the box


def dark(rgb):
    return max(rgb) < 128


def ink_rows(shot):
    """The rows inside the box that hold text pixels."""
    l, t, r, b = INSIDE
    return [y for y in range(t, b) if any(dark(shot.canvas_pixel(x, y)) for x in range(l, r))]


def lines_of(rows):
    """Groups consecutive rows into (first, last) bands, one per text line."""
    bands = []
    for y in rows:
        if bands and y == bands[-1][1] + 1:
            bands[-1][1] = y
        else:
            bands.append([y, y])
    return [tuple(b) for b in bands]


def ink(shot, band, right):
    """The dark pixels of a band, left of column `right`."""
    return [(x, y) for y in range(band[0], band[1] + 1) for x in range(INSIDE[0], right)
            if dark(shot.canvas_pixel(x, y))]


def rightmost_ink(shot, band):
    return max(x for x, _ in ink(shot, band, INSIDE[2]))


with Session(sys.argv[1]) as s:
    s.key("alt+i", "Up", "Return")  # Insert > EditBox, the last item
    s.drag(BOX[:2], BOX[2:])

    # The box window covers exactly the dragged rectangle: its border is on
    # the first row and column, the canvas just outside stays white.
    shot = s.wait_for_pixel((150, 100), (0, 0, 0), "the box's top border")
    check(dark(shot.canvas_pixel(100, 150)) and dark(shot.canvas_pixel(299, 150))
          and dark(shot.canvas_pixel(150, 199)), "the border runs round the dragged rectangle")
    check(all(shot.canvas_pixel(*p) == (255, 255, 255) for p in ((150, 99), (99, 150), (300, 150), (150, 200))),
          "the canvas around the box is white")
    check(ink_rows(shot) == [], "the new box is empty")

    s.click((150, 150))
    s.type("Hello")
    s.key("Return")
    s.type("World!")
    s.key("BackSpace")
    s.click(AWAY)  # the canvas takes the focus: no caret in the pictures

    def two_lines():
        shot = s.grab()
        return shot if len(lines_of(ink_rows(shot))) == 2 else None
    shot = poll(two_lines, "two lines of text in the box")
    first, second = lines_of(ink_rows(shot))
    check(first[0] < second[0], "the text shows on two lines")
    end = rightmost_ink(shot, second)
    before_first = ink(shot, first, INSIDE[2])
    before_second = ink(shot, second, INSIDE[2])
    check(len(before_first) > 20 and len(before_second) > 20, "both lines hold letters")
    s.screenshot("textbox-typed")

    # A click right of the second line puts the caret at its end. Keys that
    # an edit control would act on do nothing here.
    s.click((BOX[2] - 10, (second[0] + second[1]) // 2))
    s.key("Left", "Left", "Home", "Up", "Delete", "Right", "End", "Down", "Delete")
    s.type("X")
    s.click(AWAY)

    def x_typed():
        shot = s.grab()
        return shot if rightmost_ink(shot, second) > end + 4 else None
    shot = poll(x_typed, "the X after the second line")
    check(lines_of(ink_rows(shot)) == [first, second], "still the same two lines")
    check(ink(shot, first, INSIDE[2]) == before_first, "the first line is unchanged")
    check(ink(shot, second, end + 1) == before_second, "the second line is unchanged up to its end")
    s.screenshot("textbox-after-keys")

    # A rectangle beside the box, selected: its top-left handle shows.
    RECT = (400, 100, 500, 180)
    GREY, BLACK, WHITE = (192, 192, 192), (0, 0, 0), (255, 255, 255)
    s.key("alt+i", "r")
    s.drag(RECT[:2], RECT[2:])
    s.click((450, 140))
    s.wait_for_pixel((RECT[0] - 3, RECT[1] - 3), BLACK, "the rectangle's handle")

    # A click into the box and a typed letter: the rectangle is no longer
    # the selection, its handles go, and Cut finds nothing selected.
    s.click((BOX[2] - 10, (second[0] + second[1]) // 2))
    s.type("Z")
    s.wait_for_pixel((RECT[0] - 3, RECT[1] - 3), WHITE, "the handles erased")
    s.key("alt+e", "Return")  # Edit > Cut, the first item
    poll(lambda: len(s.windows_titled()) >= 2, "the message that nothing is selected")
    s.screenshot("textbox-cut-nothing-selected")
    s.key("Return")
    poll(lambda: len(s.windows_titled()) == 1, "the message to close")
    shot = s.grab()
    check(shot.canvas_pixel(RECT[0], 140) == GREY, "the rectangle is still there")

    # Alt with a letter no menu answers types nothing into the box.
    s.click(AWAY)
    shot = s.grab()
    before = [ink(shot, band, INSIDE[2]) for band in lines_of(ink_rows(shot))]
    s.click((BOX[2] - 10, (second[0] + second[1]) // 2))
    s.key("alt+o", "alt+x")
    s.click(AWAY)
    shot = s.grab()
    check([ink(shot, band, INSIDE[2]) for band in lines_of(ink_rows(shot))] == before,
          "Alt+O and Alt+X typed nothing")

    # A rectangle drawn over the selected one's handle, then the selection
    # ends: no black squares are left in the new rectangle.
    s.click((450, 140))
    s.wait_for_pixel((RECT[0] - 3, RECT[1] - 3), BLACK, "the handles again")
    s.key("alt+i", "r")
    s.drag((380, 80), (430, 130))
    s.click(AWAY)
    shot = s.grab()
    black = [(x, y) for y in range(RECT[1] - 6, RECT[1] + 7) for x in range(RECT[0] - 6, RECT[0] + 7)
             if shot.canvas_pixel(x, y) == BLACK]
    check(black == [], "no handle squares left in the new rectangle")
    s.screenshot("textbox-no-residue")

    # Save burns each line of a box's text where the screen showed it: four
    # lines, one of them wrapped, compared line by line with the saved file.
    SAVED = (600, 450, 800, 560)
    s.key("alt+i", "Up", "Return")
    s.drag(SAVED[:2], SAVED[2:])
    s.wait_for_pixel(SAVED[:2], BLACK, "the second box's border")
    s.click((SAVED[0] + 20, SAVED[1] + 20))
    for i, line in enumerate(["One", "Two\twith a tab", "Three is a line long enough to wrap in the box", "Four"]):
        if i:
            s.key("Return")
        s.type(line)
    s.click(AWAY)
    inside = (SAVED[0] + 1, SAVED[1] + 1, SAVED[2] - 1, SAVED[3] - 1)

    def bands(pixel):
        rows = [y for y in range(inside[1], inside[3]) if any(dark(pixel(x, y)) for x in range(inside[0], inside[2]))]
        out = []
        for y in rows:
            cols = [x for x in range(inside[0], inside[2]) if dark(pixel(x, y))]
            if out and y == out[-1][1] + 1:
                out[-1] = (out[-1][0], y, min(out[-1][2], cols[0]), max(out[-1][3], cols[-1]))
            else:
                out.append((y, y, cols[0], cols[-1]))
        return out
    shown = poll(lambda: (lambda b: b if len(b) >= 5 else None)(bands(s.grab().canvas_pixel)), "five lines shown")

    path = os.path.join(s.tmp, "saved")
    s.key("alt+f", "s")  # File > Save
    s.focused_window("Save As", "the Save As chooser")
    s.type(path)
    s.key("Return")
    poll(lambda: [n for n in s.other_windows() if n == "Save As"], "the question about a new file")
    s.key("Return")  # Yes, create it
    size = 54 + 4 * s.screen[0] * s.screen[1]
    poll(lambda: os.path.exists(path + ".bmp") and os.path.getsize(path + ".bmp") == size, "the saved file")
    with open(path + ".bmp", "rb") as f:
        data = f.read()
    width, height = struct.unpack("<ii", data[18:26])

    def saved(x, y):  # 32 bits a pixel, bottom row first
        i = 54 + 4 * ((height - 1 - y) * width + x)
        return data[i + 2], data[i + 1], data[i]
    in_file = bands(saved)
    check(len(in_file) == len(shown), "the file holds the lines the box showed (%d, %d)" % (len(in_file), len(shown)))
    check(all(abs(a - b) <= 1 for line_a, line_b in zip(shown, in_file) for a, b in zip(line_a, line_b)),
          "each saved line lies within a pixel of where the box showed it: %r / %r" % (shown, in_file))
