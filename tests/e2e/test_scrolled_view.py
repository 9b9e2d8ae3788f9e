"""The canvas is as large as the screen and the view a little smaller, so it
scrolls a little. The scroll bars scroll it: an arrow by 8 pixels, stopping
at the limit; a click in the trough by a page, stopping at the limit; the
thumb followed while it is dragged and not moved again by its release. The
keys that scroll views elsewhere do not scroll this one. At a scroll position
that is not 0, a rectangle drawn, selected and moved and a text box placed
and typed into all land under the pointer, and the text box moves with the
canvas when it scrolls back."""
import os
import subprocess
import sys
import time

from harness import SCREEN_H, SCREEN_W, Session, check, poll

WHITE, BLACK, GREY = (255, 255, 255), (0, 0, 0), (192, 192, 192)
BODY, MARK = (40, 60, 200), (255, 0, 0)
# The picture named on the command line: 300 x 200 at canvas (10, 10), with
# one red pixel at canvas point MARK_AT; where it shows tells the position.
PICTURE_W, PICTURE_H = 300, 200
MARK_AT = (110, 90)
AWAY = (900, 600)  # a view point no figure covers at any scroll position


def view_size(shot):
    """The canvas view's width and height on an empty canvas: the white runs
    right and down from a point below the picture."""
    x, y = 500, 400
    while shot.canvas_pixel(x, 400) == WHITE:
        x += 1
    while shot.canvas_pixel(500, y) == WHITE:
        y += 1
    return x, y


def position(shot):
    """The scroll position the screen shows: where the mark is, against
    where it is on the canvas. None if it is not where it could be."""
    for y in range(MARK_AT[1] - 80, MARK_AT[1] + 1):
        for x in range(MARK_AT[0] - 30, MARK_AT[0] + 1):
            if shot.canvas_pixel(x, y) == MARK:
                return MARK_AT[0] - x, MARK_AT[1] - y
    return None


def outline_shown(shot, box):
    """The grey outline of box: dashed as a drag leaves it, solid after a
    redraw; each edge is at least a third grey."""
    l, t, r, b = box
    edges = ((l, t, r, t + 1), (l, b - 1, r, b), (l, t, l + 1, b), (r - 1, t, r, b))
    return all(3 * shot.count(GREY, e) >= (e[2] - e[0]) * (e[3] - e[1]) for e in edges)


def handles_shown(shot, box):
    """The rings of the four corner handles, just outside box."""
    l, t, r, b = box
    return all(shot.canvas_pixel(*p) == BLACK for p in ((l - 3, t - 3), (r + 2, t - 3), (r + 2, b + 2), (l - 3, b + 2)))


def shifted(box, dx, dy):
    return box[0] + dx, box[1] + dy, box[2] + dx, box[3] + dy


def ink(shot, box):
    """The dark pixels inside box, relative to its top-left corner."""
    l, t, r, b = box
    return {(x - l, y - t) for y in range(t, b) for x in range(l, r) if max(shot.canvas_pixel(x, y)) < 128}


session = Session(sys.argv[1], args=["picture.png"])
subprocess.run(["convert", "-size", "%dx%d" % (PICTURE_W, PICTURE_H), "xc:rgb(%d,%d,%d)" % BODY, "-fill", "red",
                "-draw", "point %d,%d" % (MARK_AT[0] - 10, MARK_AT[1] - 10), os.path.join(session.tmp, "picture.png")],
               check=True)
with session as s:
    shot = s.wait_for_pixel(MARK_AT, MARK, "the picture named on the command line")
    width, height = view_size(shot)
    limit = (SCREEN_W - width, SCREEN_H - height)
    check(limit[0] > 8 and limit[1] > 16, "the view (%d x %d) is smaller than the canvas: it scrolls up to %r"
          % (width, height, limit))

    # The scroll bars fill the window right of and below the view; their
    # arrows are at their ends. A thumb covers its bar but for a part as
    # long as the limit (the vertical one leaves some 55 pixels of trough,
    # at the end it is away from), and its middle is always on it.
    x0, y0, window_w, window_h = s.window_geometry()
    vbar = width + (x0 + window_w - s.origin[0] - width) // 2
    hbar = height + (y0 + window_h - s.origin[1] - height) // 2
    up, down, left, right = (vbar, 5), (vbar, height - 5), (5, hbar), (width - 5, hbar)
    vthumb, hthumb = (vbar, height // 2), (width // 2, hbar)
    down_trough, up_trough = (vbar, height - 25), (vbar, 25)

    def wait_position(expected, what):
        poll(lambda: position(s.grab()) == expected, "%s: the view at %r" % (what, expected))
        print("ok: %s: the view at %r" % (what, expected))

    def drag_thumb(thumb, dx, dy, expected, what, before=None):
        """Drags a thumb by (dx, dy): the view follows before the release (to
        `expected`, or anywhere away from `before`), and the release moves it
        no more."""
        s.move(thumb)
        s.xdo("mousedown", 1)
        s.move((thumb[0] + dx // 2, thumb[1] + dy // 2))
        s.move((thumb[0] + dx, thumb[1] + dy))
        if expected is None:
            moved = poll(lambda: (lambda p: p if p and p != before else None)(position(s.grab())),
                         what + ": the view follows the thumb")
            print("ok: %s, the thumb still held: the view at %r" % (what, moved))
        else:
            wait_position(expected, what + ", the thumb still held")
            moved = expected
        s.xdo("mouseup", 1)
        time.sleep(0.3)  # time for the release to move the view, which it must not do
        wait_position(moved, what + ", the thumb let go")
        return moved

    # No key scrolls the view (nothing is selected, so the arrows move nothing).
    s.click(AWAY)
    s.key("Next", "End", "ctrl+End", "Down", "Right", "space", "ctrl+Next")
    time.sleep(0.5)  # time for the keys to scroll, which they must not do
    check(position(s.grab()) == (0, 0), "the keys left the view at (0, 0)")

    # The arrows: 8 pixels a click, stopping at the limit.
    s.click(down)
    wait_position((0, 8), "one click on the down arrow")
    s.click(down)
    s.click(down)
    wait_position((0, 24), "two more")
    s.click(right)
    wait_position((8, 24), "the right arrow")
    s.click(right)
    wait_position((limit[0], 24), "the right arrow again stops at the limit")
    s.click(left)
    wait_position((limit[0] - 8, 24), "the left arrow")
    s.click(up)
    s.click(up)
    s.click(up)
    s.click(up)
    wait_position((limit[0] - 8, 0), "the up arrow stops at 0")

    # A click in the trough: a page, stopping at the limit.
    s.click(down_trough)
    wait_position((limit[0] - 8, limit[1]), "a page down")
    s.click(up_trough)
    wait_position((limit[0] - 8, 0), "a page up")

    # The thumbs: followed while dragged, held where they are let go.
    middle = drag_thumb(vthumb, 0, 20, None, "the vertical thumb dragged 20 pixels", before=(limit[0] - 8, 0))
    check(0 < middle[1] < limit[1], "the thumb dragged part of the way scrolled part of the way (%d)" % middle[1])
    drag_thumb(vthumb, 0, 300, (limit[0] - 8, limit[1]), "the vertical thumb dragged past the end")
    drag_thumb(vthumb, 0, -300, (limit[0] - 8, 0), "the vertical thumb dragged past the start")
    drag_thumb(hthumb, -300, 0, (0, 0), "the horizontal thumb dragged past the start")

    # At a scroll position of (limit, 40) everything lands under the pointer.
    s.click(right)
    s.click(right)
    for _ in range(5):
        s.click(down)
    scroll = (limit[0], 40)
    wait_position(scroll, "scrolled for drawing")

    rect = (400, 300, 550, 400)
    s.click(AWAY)
    s.key("alt+i", "r")  # Insert > Rectangle
    s.drag(rect[:2], rect[2:])
    poll(lambda: outline_shown(s.grab(), rect), "the rectangle's outline where the drag went")
    print("ok: the rectangle is drawn where the drag went")
    s.click((475, 350))
    poll(lambda: handles_shown(s.grab(), rect), "the handles round the rectangle")
    print("ok: a click inside selects it: the handles round it")
    moved = shifted(rect, 100, 70)
    s.drag((475, 350), (575, 420))
    shot = poll(lambda: (lambda sh: sh if outline_shown(sh, moved) and handles_shown(sh, moved) else None)(s.grab()),
                "the moved rectangle where it was dropped")
    check(shot.all_of(WHITE, (rect[0] - 3, rect[1] - 3, moved[0] - 3, rect[3])), "nothing left where it was")
    s.screenshot("scrolled-moved")

    box = (100, 450, 300, 520)
    s.key("alt+i", "Up", "Return")  # Insert > EditBox
    s.drag(box[:2], box[2:])
    shot = s.wait_for_pixel((150, box[1]), BLACK, "the text box's top border where the drag began")
    check(all(shot.canvas_pixel(*p) == BLACK for p in ((box[0], 480), (box[2] - 1, 480), (150, box[3] - 1))),
          "the box's border runs round the dragged rectangle")
    check(all(shot.canvas_pixel(*p) == WHITE for p in ((150, box[1] - 1), (box[0] - 1, 480), (box[2], 480),
                                                       (150, box[3]))), "the canvas round the box is white")
    s.click((200, 480))
    s.type("Scrolled")
    s.click(AWAY)  # no caret in the pictures
    inside = (box[0] + 2, box[1] + 2, box[2] - 2, box[3] - 2)
    shown = [set()]

    def text_complete():
        """The text as two grabs in a row show it, once it has stopped changing."""
        now = ink(s.grab(), inside)
        same = now == shown[0]
        shown[0] = now
        return now if now and same else None
    letters = poll(text_complete, "the typed text in the box")
    check(len(letters) > 40, "the text shows in the box (%d dark pixels)" % len(letters))
    s.screenshot("scrolled-text")

    # Back to (0, 0): the drawing, the text box and its text move with it.
    drag_thumb(vthumb, 0, -300, (scroll[0], 0), "the vertical thumb back to the start")
    drag_thumb(hthumb, -300, 0, (0, 0), "the horizontal thumb back to the start")
    back = shifted(box, *scroll)

    def box_back(shot):
        return all(shot.canvas_pixel(*p) == BLACK for p in ((150 + scroll[0], back[1]), (back[0], 480 + scroll[1]),
                                                            (back[2] - 1, 480 + scroll[1])))
    shot = poll(lambda: (lambda sh: sh if box_back(sh) else None)(s.grab()), "the text box at %r" % (back,))
    print("ok: the text box moved with the canvas to %r" % (back,))
    check(shot.canvas_pixel(150 + scroll[0], back[1] - 1) == WHITE and shot.canvas_pixel(back[0] - 1, 500) == WHITE,
          "nothing of the box is left outside it")
    check(ink(shot, shifted(inside, *scroll)) == letters, "its text moved with it")
    check(outline_shown(shot, shifted(moved, *scroll)), "the rectangle moved with the canvas to %r"
          % (shifted(moved, *scroll),))
    s.screenshot("scrolled-back")

    # The text box is a window over the canvas: a line's scroll moves it too.
    s.click(down)
    wait_position((0, 8), "one line down")
    up8 = shifted(inside, scroll[0], scroll[1] - 8)
    poll(lambda: (lambda sh: sh.canvas_pixel(150 + scroll[0], back[1] - 8) == BLACK
                  and ink(sh, up8) == letters)(s.grab()), "the text box and its text 8 pixels up")
    print("ok: the text box and its text moved up 8 pixels with the canvas")

    # A rectangle drawn at the bottom of the view, scrolled down, lies below
    # what the view shows at 0; scrolled down again, the strip the scroll
    # uncovers shows it.
    s.click(down_trough)
    wait_position((0, limit[1]), "a page down")
    low = (700, height - 50, 850, height - 10)
    s.click(AWAY)
    s.key("alt+i", "r")
    s.drag(low[:2], low[2:])
    poll(lambda: outline_shown(s.grab(), low), "a rectangle at the bottom of the view")
    print("ok: a rectangle drawn at the bottom of the view")
    s.click(up_trough)
    wait_position((0, 0), "a page up")
    check(s.grab().all_of(WHITE, (low[0] - 5, low[1] - 5, low[2] + 5, height)), "the rectangle is below the view")
    s.click(down_trough)
    wait_position((0, limit[1]), "a page down again")
    poll(lambda: outline_shown(s.grab(), low), "the rectangle in the uncovered strip")
    print("ok: the uncovered strip shows the rectangle")
