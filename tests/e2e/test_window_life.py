"""What only a real window system shows, with a window manager (openbox) and
without one:

- text boxes stay over their figures whatever the window does: made smaller,
  scrolled right and down with the scroll bars, made large again, which
  clamps the scroll position;
- Restore gives a movable window of about three quarters of the screen,
  its title bar on the screen (with a window manager);
- after a dialog closes the keyboard is back with the box that had it, and a
  box clicked and typed in since is the one formatting acts on;
- the slide show's message without owner leaves the main window usable.
"""
import subprocess
import sys

from harness import BLACK, GREY, TITLE, Session, check, du, place_box, poll, slides_dialog

RECT = (700, 560, 900, 680)  # a rectangle, in canvas pixels (the view starts unscrolled)
BOX = (750, 590, 850, 650)   # a text box inside it
PLAY = du(147, 31)


def first_pixel(shot, rgb, size):
    """The first canvas-view point (row by row) of colour rgb within the
    view's size (w, h), or None."""
    w, h = size
    needle = bytes(rgb)
    for y in range(h):
        i = ((shot.origin[1] + y) * shot.width + shot.origin[0]) * 3
        row = shot.rgb[i:i + 3 * w]
        at = row.find(needle)
        while at >= 0 and at % 3:
            at = row.find(needle, at + 1)
        if at >= 0:
            return at // 3, y
    return None


def view_size(s):
    """The canvas view's size: the window's client area less the menu bar and
    toolbar above it and the scroll bars at its right and bottom."""
    x, y, w, h = s.window_geometry()
    return w - 16, y + h - s.origin[1] - 16


def box_over_rectangle(s):
    """The box's top-left less the rectangle's, as the screen shows them."""
    s.origin = s.find_canvas_origin()  # the window may have moved
    shot = s.grab()
    size = view_size(s)
    rect, box = first_pixel(shot, GREY, size), first_pixel(shot, BLACK, size)
    return rect and box and (box[0] - rect[0], box[1] - rect[1])


def set_maximised(s, on):
    subprocess.run(["wmctrl", "-r", TITLE, "-b", ("add" if on else "remove") + ",maximized_vert,maximized_horz"],
                   env=s.env, check=True)


def scroll_to_the_ends(s):
    """Clicks in the troughs of both scroll bars, near their far ends, until
    the view shows the canvas's right and bottom edges (nothing moves then)."""
    x, y, w, h = s.window_geometry()
    before = None
    for _ in range(10):
        s.pointer_to(x + w - 40, y + h - 7)
        s.xdo("click", 1)
        s.pointer_to(x + w - 7, y + h - 40)
        s.xdo("click", 1)
        now = s.grab().rgb
        if now == before:
            return
        before = now


def inside(s, box):
    """The columns and colours of the pixels inside a box, within its border and margin."""
    shot = s.grab()
    return [(x, shot.canvas_pixel(x, y)) for x in range(box[0] + 2, box[2] - 2) for y in range(box[1] + 2, box[3] - 2)]


def ink_right(s, box):
    """The rightmost column of text in a box, -1 when it holds none."""
    return max((x for x, p in inside(s, box) if max(p) < 160), default=-1)


def reddish(s, box):
    return sum(1 for _, p in inside(s, box) if p[0] > 150 and p[1] < 100 and p[2] < 100)


def color_dialog(s):
    s.key("F10", "Left", "c")  # Format > Color
    return s.focused_window("Color", "the colour chooser")


def boxes_follow_the_canvas(s):
    s.key("alt+i", "r")
    s.drag(RECT[:2], RECT[2:])
    place_box(s, BOX)
    offset = poll(lambda: box_over_rectangle(s), "the box and the rectangle")
    check(offset == (BOX[0] - RECT[0], BOX[1] - RECT[1]), "the box lies where it was placed (%r)" % (offset,))

    if s.wm:
        set_maximised(s, False)
        screen_w, screen_h = s.screen

        def restored():
            x, y, w, h = s.window_geometry()
            return (x, y, w, h) if w < screen_w * 0.9 else None
        x, y, w, h = poll(restored, "the restored window")
        check(0.65 * screen_w <= w <= 0.85 * screen_w and 0.6 * screen_h <= h <= 0.85 * screen_h,
              "Restore gives about three quarters of the screen (%dx%d)" % (w, h))
        check(x > 0 and y > 15 and x + w < screen_w and y + h < screen_h,
              "the restored window and its title bar lie on the screen (%d, %d)" % (x, y))
        check(abs(x + w / 2 - screen_w / 2) < 40, "the restored window is centred")
    else:
        s.xdo("windowsize", "--sync", s.window, 900, 560)
    scroll_to_the_ends(s)
    offset = poll(lambda: box_over_rectangle(s), "the box and the rectangle, scrolled")
    check(offset == (BOX[0] - RECT[0], BOX[1] - RECT[1]), "scrolled, the box stays over its figure (%r)" % (offset,))

    if s.wm:
        set_maximised(s, True)
    else:
        s.xdo("windowsize", "--sync", s.window, *s.screen)
    poll(lambda: s.window_geometry()[2] >= s.screen[0] - 20, "the window large again")
    offset = poll(lambda: box_over_rectangle(s), "the box and the rectangle, large again")
    s.screenshot("window-life-large-again-%s" % ("wm" if s.wm else "bare"))
    check(offset == (BOX[0] - RECT[0], BOX[1] - RECT[1]),
          "after the clamped scroll the box still lies over its figure (%r)" % (offset,))


def keyboard_after_dialogs(s):
    a, b = (100, 100, 300, 160), (100, 200, 300, 260)
    place_box(s, a)
    s.click((a[0] + 20, a[1] + 20))
    s.type("ab")
    typed = poll(lambda: max(ink_right(s, a), 0), "the first letters in the box")

    # A dialog closed with Escape: typing goes on in the box.
    color_dialog(s)
    s.key("Escape")
    poll(lambda: not s.xdo("search", "--onlyvisible", "--name", "^Color$"), "the chooser to close")
    s.type("cd")
    poll(lambda: ink_right(s, a) > typed + 5, "the letters typed after the dialog in the box")

    # Box b clicked and typed in after the dialog is the one that the next
    # colour goes to, and the keyboard is back in it after OK.
    place_box(s, b)
    s.click((b[0] + 20, b[1] + 20))
    s.type("xy")
    typed = poll(lambda: max(ink_right(s, b), 0), "the letters in the second box")
    dialog = color_dialog(s)
    s.click_in(dialog, (419, 346))  # the HTML field
    s.key("ctrl+a")
    s.type("#ff0000")
    s.key("Return")
    poll(lambda: not s.xdo("search", "--onlyvisible", "--name", "^Color$"), "the chooser to close")
    poll(lambda: reddish(s, b) > 20, "the second box's text in red")
    check(reddish(s, a) == 0, "the first box keeps its colour")
    s.type("z")
    poll(lambda: ink_right(s, b) > typed + 3, "typing goes on in the second box after OK")


def message_without_owner(s):
    dialog = slides_dialog(s)
    s.click_in(dialog, PLAY)  # an empty list
    poll(lambda: s.xdo("search", "--onlyvisible", "--name", "^Error$"), "No picture selected")
    # The main window takes clicks and keys while the message is up.
    s.click((900, 500))
    s.key("alt+i", "r")
    s.drag((800, 450), (950, 550))
    s.wait_for_pixel((800, 450), GREY, "a rectangle drawn while the message is up")
    check(s.xdo("search", "--onlyvisible", "--name", "^Error$") != "", "the main window took a drawing while the message is up")
    box = s.xdo("search", "--onlyvisible", "--name", "^Error$").split()[0]
    s.xdo("windowactivate", "--sync", box) if s.wm else s.click_in(box, (10, 10))
    s.key("Return")
    poll(lambda: not s.xdo("search", "--onlyvisible", "--name", "^Error$"), "the message to close")


for wm in (True, False):
    print("-- with a window manager" if wm else "-- without a window manager")
    with Session(sys.argv[1], wm=wm) as s:
        boxes_follow_the_canvas(s)
    with Session(sys.argv[1], wm=wm) as s:
        keyboard_after_dialogs(s)
        if wm:
            message_without_owner(s)
