"""Arranging with the right mouse button and the keyboard: the context menu
copies and pastes the selected rectangle (the copy lands 10 pixels right and
down, selected), and the Delete key asks in a message box captioned with the
program's title before the copy goes."""
import sys

from harness import BLACK, GREY, WHITE, Session, check, poll


def handle_rings(l, t, r, b):
    """For each of the eight handles, a pixel of its ring outside the figure."""
    mx, my = (l + r) // 2, (t + b) // 2
    return [(l - 3, t - 3), (mx - 3, t - 3), (r + 2, t - 3), (r + 2, my - 3), (r + 2, b + 2), (mx - 3, b + 2),
            (l - 3, b + 2), (l - 3, my - 3)]


def selected(s, box):
    return all(s.grab().canvas_pixel(*p) == BLACK for p in handle_rings(*box))


def context_menu(s, at, downs):
    """Right-click at a canvas point and choose the item `downs` steps down."""
    s.click(at, button=3)
    s.key(*(["Down"] * downs), "Return")


with Session(sys.argv[1]) as s:
    s.key("alt+i", "r")
    s.drag((100, 100), (250, 200))
    s.click((150, 150))
    poll(lambda: selected(s, (100, 100, 250, 200)), "the rectangle selected")

    context_menu(s, (200, 150), 2)  # Copy
    context_menu(s, (200, 150), 3)  # Paste
    pasted = (110, 110, 260, 210)
    poll(lambda: selected(s, pasted), "the pasted copy selected")
    shot = s.screenshot("arranged")
    check(shot.canvas_pixel(110, 160) == GREY and shot.canvas_pixel(100, 160) == GREY, "the copy beside the original")

    s.key("Delete")
    poll(lambda: len(s.windows_titled()) > 1, "the question, captioned with the program's title")
    s.key("Return")
    shot = poll(lambda: (lambda t: t if t.canvas_pixel(110, 160) == WHITE else None)(s.grab()), "the copy to go")
    check(shot.canvas_pixel(100, 160) == GREY, "the original stays")
    check(all(shot.canvas_pixel(*p) == WHITE for p in handle_rings(*pasted)), "no handles are left")
