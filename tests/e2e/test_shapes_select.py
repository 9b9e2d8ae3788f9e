"""Insert > Rectangle through the keyboard and a real drag make a grey
rectangle; a click inside selects it and shows its eight handles at its
corners and edge middles. A circle dragged over it is drawn later, so a click
in the overlap selects the circle."""
import sys

from harness import Session, check, poll

WHITE, BLACK, GREY = (255, 255, 255), (0, 0, 0), (192, 192, 192)
RECT = (100, 100, 300, 200)
CIRCLE = (200, 150, 400, 300)


def handle_centres(l, t, r, b):
    mx, my = (l + r) // 2, (t + b) // 2
    return [(l, t), (mx, t), (r, t), (r, my), (r, b), (mx, b), (l, b), (l, my)]


def outer_corner(c, box):
    """A pixel of the handle ring round c that lies outside the figure's box:
    the ring is the square's outline from c - 3 to c + 2."""
    l, t, r, b = box
    x = c[0] - 3 if c[0] <= l else c[0] + 2
    y = c[1] - 3 if c[1] <= t else c[1] + 2
    return x, y


def handles_shown(shot, box):
    return all(shot.canvas_pixel(*outer_corner(c, box)) == BLACK for c in handle_centres(*box))


with Session(sys.argv[1]) as s:
    s.key("alt+i", "r")  # Insert > Rectangle
    s.drag(RECT[:2], RECT[2:])
    shot = s.wait_for_pixel((RECT[2] - 1, RECT[1]), GREY, "the rectangle's top-right corner")

    s.click((200, 150))
    shot = poll(lambda: (lambda sh: sh if handles_shown(sh, RECT) else None)(s.grab()), "the rectangle's handles")
    shot = s.screenshot("rectangle_selected")
    check(handles_shown(shot, RECT), "eight handles round (100, 100, 300, 200)")
    check(all(shot.canvas_pixel(x, 100) == GREY for x in range(110, 190)), "a solid grey top edge after the redraw")
    check(all(shot.canvas_pixel(299, y) == GREY for y in range(110, 140)), "a solid grey right edge")
    check(shot.canvas_pixel(200, 150) == WHITE and shot.canvas_pixel(150, 120) == WHITE, "a white inside")
    check(shot.canvas_pixel(96, 96) == WHITE and shot.canvas_pixel(304, 204) == WHITE, "nothing beyond the handles")

    s.key("alt+i", "c")  # Insert > Circle
    s.drag(CIRCLE[:2], CIRCLE[2:])
    s.click((250, 175))  # inside both: the circle is on top
    shot = poll(lambda: (lambda sh: sh if handles_shown(sh, CIRCLE) else None)(s.grab()), "the circle's handles")
    shot = s.screenshot("circle_selected")
    check(handles_shown(shot, CIRCLE), "the circle is selected, its handles round (200, 150, 400, 300)")
    check(shot.canvas_pixel(97, 97) == WHITE and shot.canvas_pixel(97, 202) == WHITE,
          "the rectangle's handles are gone")
    check(shot.canvas_pixel(300, 150) == GREY, "the circle's top point")
    check(shot.canvas_pixel(299, 180) == WHITE, "the circle's white inside covers the rectangle's right edge")
