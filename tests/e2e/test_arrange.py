"""Arranging a drawing with the mouse and the keyboard: a rectangle dragged by
its inside, resized by its bottom-right handle, nudged with the arrow keys,
copied and pasted from the context menu, and the copy deleted with the Delete
key and a confirmation. Each step shows on the screen where it should."""
import sys

from harness import TITLE, Session, check, poll

WHITE, BLACK, GREY = (255, 255, 255), (0, 0, 0), (192, 192, 192)


def handle_ring_corners(l, t, r, b):
    """For each of the eight handles, a pixel of its ring outside the figure."""
    mx, my = (l + r) // 2, (t + b) // 2
    return [(l - 3, t - 3), (mx - 3, t - 3), (r + 2, t - 3), (r + 2, my - 3), (r + 2, b + 2), (mx - 3, b + 2),
            (l - 3, b + 2), (l - 3, my - 3)]


def shows(shot, box):
    """The rectangle's grey outline (corners as the full redraw draws them)
    and its eight handles."""
    l, t, r, b = box
    outline = [(l + 10, t), (r - 1, t + 10), (l + 10, b - 1), (l, t + 10)]
    return (all(shot.canvas_pixel(*p) == GREY for p in outline)
            and all(shot.canvas_pixel(*p) == BLACK for p in handle_ring_corners(*box)))


def wait_shows(s, box, what):
    poll(lambda: shows(s.grab(), box), what)
    shot = s.screenshot(what.replace(" ", "_"))
    check(shows(shot, box), "%s: outline and handles at %r" % (what, box))
    return shot


def empty(shot, box):
    """No outline and no handles of box: its corners are white."""
    l, t, r, b = box
    return all(shot.canvas_pixel(*p) == WHITE for p in ((l, t), (r - 1, b - 1), (l - 3, t - 3), (r + 2, b + 2)))


def context_menu(s, at, downs):
    """Right-click at a canvas point and choose the item `downs` steps down."""
    s.click(at, button=3)
    s.key(*(["Down"] * downs), "Return")


with Session(sys.argv[1]) as s:
    s.key("alt+i", "r")
    s.drag((100, 100), (250, 200))
    s.click((150, 150))
    shot = wait_shows(s, (100, 100, 250, 200), "drawn and selected")

    # Dragged by its inside: 50 right, 30 down.
    s.drag((150, 150), (200, 180))
    shot = wait_shows(s, (150, 130, 300, 230), "moved")
    check(empty(shot, (100, 100, 250, 200)), "nothing is left at the old place")

    # Its bottom-right handle zone dragged to (347, 257).
    s.drag((297, 227), (347, 257))
    shot = wait_shows(s, (150, 130, 347, 257), "resized")
    check(shot.canvas_pixel(299, 229) == WHITE, "the old corner is gone")

    # Nudged: two steps right, one down, each committed on its key release.
    s.key("Right", "Right", "Down")
    shot = wait_shows(s, (160, 135, 357, 262), "nudged")

    # Copy, then Paste, from the context menu: the copy lands 10 pixels right
    # and down, on top, and becomes the selection.
    context_menu(s, (200, 200), 2)
    context_menu(s, (200, 200), 3)
    pasted = (170, 145, 367, 272)
    poll(lambda: all(s.grab().canvas_pixel(*p) == BLACK for p in handle_ring_corners(*pasted)), "the pasted handles")
    shot = s.screenshot("pasted")
    check(shot.canvas_pixel(170, 200) == GREY and shot.canvas_pixel(366, 200) == GREY, "the copy's left and right edges")
    check(shot.canvas_pixel(160, 200) == GREY, "the original's left edge stays")

    # The Delete key asks; Return answers OK; the copy goes, the original stays.
    s.key("Delete")
    poll(lambda: len(s.xdo("search", "--onlyvisible", "--name", "^%s$" % TITLE.replace("&", "\\&")).split()) > 1,
         "the question, captioned with the program's title")
    s.key("Return")
    poll(lambda: s.grab().canvas_pixel(170, 200) == WHITE, "the copy to be deleted")
    shot = s.screenshot("deleted")
    check(shot.canvas_pixel(160, 200) == GREY and shot.canvas_pixel(356, 200) == GREY, "the original is still there")
    check(all(shot.canvas_pixel(*p) == WHITE for p in handle_ring_corners(*pasted)), "no handles are left")
    check(empty(shot, pasted), "nothing of the copy remains")
