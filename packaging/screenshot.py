"""Takes the pictures of the README and of the user guide from the real
program, each scene on its own Xvfb server, driven with the mouse and the
keyboard as a person would:

    python3 packaging/screenshot.py build/bin/veltra [SCENE...]

writes docs/screenshot.png (the README's: a patterned picture opened from the
command line, figures and a text box, the last figure selected) and
docs/user-guide/<scene>.png, each cropped to what it shows and reduced to few
colours. Needs what the end-to-end tests need (Xvfb, xdotool, ImageMagick)."""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import Session, poll, write_png  # noqa: E402

PROGRAM = sys.argv[1]
GUIDE = os.path.join(ROOT, "docs", "user-guide")
WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def tile(x, y):
    """A pale pattern of square tiles, each with a diamond, in the icon's colours."""
    size = 40
    tx, ty, u, v = x // size, y // size, x % size - size // 2, y % size - size // 2
    diamond = abs(u) + abs(v) < 12
    if (tx + ty) % 2:
        return (214, 228, 243) if not diamond else (169, 200, 230)
    return (250, 236, 212) if not diamond else (246, 217, 166)


def border_tile(x, y):
    """A border tile: a blue square with an orange diamond."""
    return (246, 180, 80) if abs(x - 15) + abs(y - 15) < 11 else (42, 111, 176)


def save(s, path, box):
    """The screen box (left, top, right, bottom) as a small PNG at path."""
    raw = os.path.join(s.tmp, "screen.png")
    subprocess.run(["import", "-window", "root", raw], env=s.env, check=True)
    l, t, r, b = box
    subprocess.run(["convert", raw, "-crop", "%dx%d+%d+%d" % (r - l, b - t, l, t), "+repage", "-colors", "64",
                    "-strip", "png8:" + path], check=True)
    print(path, os.path.getsize(path), "bytes")


def view(s, l, t, r, b):
    """A canvas-view box as a screen box."""
    return s.origin[0] + l, s.origin[1] + t, s.origin[0] + r, s.origin[1] + b


def around(s, box, window):
    """The screen box that holds box and the window."""
    x, y, w, h = s.window_geometry(window)
    return min(box[0], x), min(box[1], y), max(box[2], x + w), max(box[3], y + h)


def shows(s, p, rgb, what):
    poll(lambda: s.grab().canvas_pixel(*p) == rgb, what)


def choose_colour(s, colour):
    """Answers the colour dialog with `colour` typed into its HTML field."""
    s.focused_window("Color", "the colour dialog")
    s.key("alt+h", "ctrl+a")
    s.type(colour)
    s.key("Return")


def choose_file(s, path):
    s.focused_window("Open", "the file chooser")
    s.type(path)
    s.key("Return")
    poll(lambda: not s.xdo("search", "--onlyvisible", "--name", "^Open$"), "the file chooser to close")


def format_menu(s, downs):
    """Format > the item `downs` below its first ("&File" and "&Format" share Alt+F)."""
    s.key("F10", "Left", *(["Down"] * downs), "Return")


def draw(s, *figures):
    """Each figure (Insert menu letter, start, end) dragged out in turn."""
    for letter, start, end in figures:
        s.key("alt+i", letter)
        s.drag(start, end)


def readme(s):
    shows(s, (10, 10), tile(0, 0), "the background picture")
    draw(s, ("r", (420, 60), (640, 200)), ("c", (540, 140), (780, 330)), ("l", (60, 300), (330, 430)),
         ("r", (240, 180), (400, 290)))
    s.key("alt+i", "Up", "Return")  # Insert > EditBox
    s.drag((420, 360), (760, 440))
    s.click((440, 380))
    s.type("Veltra: designs and patterns")
    s.key("Return")
    s.type("on one large canvas")
    # The line in the tile border's blue, through Layout > Line Color.
    s.click((195, 365))
    s.key("alt+l", "l")
    choose_colour(s, "#2a6fb0")
    poll(lambda: any(s.grab().canvas_pixel(195, y) == (0x2A, 0x6F, 0xB0) for y in range(362, 369)), "the blue line")
    for inside, colour, probe in (((300, 270), "#a9c8e6", (250, 200)), ((660, 230), "#f6d9a6", (660, 300))):
        s.click(inside)  # the lower rectangle, then the ellipse, which stays selected
        s.key("alt+l", "f")
        choose_colour(s, colour)
        shows(s, probe, tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5)), "the fill " + colour)
    shows(s, (540 - 3, 140 - 3), BLACK, "the ellipse's handles")
    save(s, os.path.join(ROOT, "docs", "screenshot.png"), (0, 0, 880, 560))


def menus(s):
    s.key("alt+i")
    poll(lambda: s.grab().canvas_pixel(110, 30) != WHITE, "the Insert menu")
    save(s, os.path.join(GUIDE, "menus.png"), (0, 0, 480, s.origin[1] + 130))


def shapes(s):
    draw(s, ("r", (60, 40), (260, 170)), ("c", (320, 60), (520, 200)), ("l", (60, 230), (300, 300)))
    s.click((160, 100))  # the rectangle: selected, its handles show
    shows(s, (57, 37), BLACK, "the rectangle's handles")
    s.move((257, 167))  # its bottom-right handle, dragged: the dashed outline follows
    s.xdo("mousedown", 1)
    for p in ((280, 190), (300, 210), (310, 220)):
        s.move(p)
    poll(lambda: any(s.grab().canvas_pixel(309, y) != WHITE for y in range(100, 215)), "the resize outline")
    save(s, os.path.join(GUIDE, "shapes.png"), view(s, 20, 10, 560, 330))
    s.xdo("mouseup", 1)


def text_box(s):
    s.key("alt+i", "Up", "Return")  # Insert > EditBox
    s.drag((60, 50), (360, 130))
    s.click((80, 70))
    s.type("A text box: click in it and type.")
    s.key("Return")
    s.type("Enter starts a new line.")
    s.click((500, 300), button=3)
    s.key("r")  # the context menu's Resize: the box's handles show
    shows(s, (54, 44), BLACK, "the text box's handles")
    s.click((380, 90), button=3)
    poll(lambda: s.grab().canvas_pixel(420, 120) != WHITE, "the context menu")
    save(s, os.path.join(GUIDE, "text-box.png"), view(s, 20, 20, 560, 300))
    s.key("Escape")


def borders(s):
    picture = os.path.join(s.tmp, "tile.png")
    write_png(picture, 30, 30, border_tile)
    draw(s, ("r", (40, 40), (340, 250)))
    s.click((190, 145))
    for applied in (False, True):
        s.key("alt+i", "Up", "Up", "Return")  # Insert > Border
        dialog = s.focused_window("Border", "the Border dialog")
        if applied:
            break
        s.click_in(dialog, (406, 59))  # "...": the tile picture
        choose_file(s, picture)
        s.click_in(dialog, (423, 117))  # OK
        shows(s, (45, 45), border_tile(5, 5), "the tiles round the rectangle")
        s.click((700, 500))  # the keyboard back to the window (no window manager hands it back)
    save(s, os.path.join(GUIDE, "borders.png"), around(s, view(s, 20, 20, 360, 270), dialog))
    s.key("Escape")


def pictures(s):
    shows(s, (10, 10), tile(0, 0), "the background picture")
    draw(s, ("r", (400, 40), (660, 230)))
    s.click((530, 135))
    format_menu(s, 5)  # Import..
    choose_file(s, os.path.join(ROOT, "packaging", "icons", "veltra-256.png"))
    poll(lambda: len({s.grab().canvas_pixel(x, 135) for x in range(410, 650, 10)}) > 3, "the imported picture")
    save(s, os.path.join(GUIDE, "pictures.png"), view(s, 0, 0, 680, 260))


def save_open(s):
    for name in ("borders", "pattern"):
        write_png(os.path.join(s.tmp, name + ".bmp"), 8, 8, tile)
    s.key("F10", "Down", "Down", "Down", "Return")  # File > Save
    dialog = s.focused_window("Save As", "the save dialog")
    s.type("my-design")
    x, y, w, h = s.window_geometry(dialog)
    save(s, os.path.join(GUIDE, "save-open.png"), (x, y, x + w, y + h))
    s.key("Escape")


def slide_show(s):
    names = []
    for n, colour in enumerate(((42, 111, 176), (246, 180, 80))):
        names.append(os.path.join(s.tmp, "slide-%d.png" % (n + 1)))
        write_png(names[-1], 8, 8, lambda x, y: colour)
    format_menu(s, 6)  # SlideShow
    dialog = s.focused_window("Dialog", "the slides dialog")
    for name in names:
        s.click_in(dialog, (121 * 7 // 4, 31 * 13 // 8))  # "..."
        choose_file(s, name)
    s.click_in(dialog, (167 * 7 // 4, 58 * 13 // 8))  # Advanced...
    settings = s.focused_window("Dialog", "the settings", other_than=(dialog,))
    x, y, w, h = s.window_geometry(dialog)
    s.xdo("windowmove", "--sync", settings, x + w + 10, y)  # beside the slides dialog, not over it
    save(s, os.path.join(GUIDE, "slide-show.png"), around(s, (x, y, x + w, y + h), settings))
    s.key("Escape")


SCENES = {"readme": (readme, True), "menus": (menus, False), "shapes": (shapes, False), "text-box": (text_box, False),
          "borders": (borders, False), "pictures": (pictures, True), "save-open": (save_open, False),
          "slide-show": (slide_show, False)}
os.makedirs(GUIDE, exist_ok=True)
for name in sys.argv[2:] or SCENES:
    scene, with_background = SCENES[name]
    session = Session(PROGRAM, args=["background.png"] if with_background else [])
    write_png(os.path.join(session.tmp, "background.png"), 360, 240, tile)
    with session as s:
        scene(s)
