"""Bad picture files through every way a picture gets into the program: File >
Open, Format > BackGround, Format > Import.., the Border dialog's tile, the
slide show and the command line. The files: empty, cut short (PNG, JPEG,
BMP), a BMP whose header announces 100000 x 100000 pixels, a text file named
.bmp, and a missing file and a folder. The file chooser never returns the
last two (it warns about a missing name and enters a folder), so they come
from pictures deleted or replaced by a folder after they were chosen, and
from the command line. Each time the program draws nothing for the bad
picture, shows no message, and the next figure drawn shows at once."""
import os
import struct
import subprocess
import sys
import time

from harness import Failure, Session, check, poll

WHITE, BLACK, GREY = (255, 255, 255), (0, 0, 0), (192, 192, 192)
GOOD, LAST = (0, 160, 0), (200, 0, 200)  # the colours of the good pictures
PICTURE = (10, 10, 74, 58)  # where a 64 x 48 background picture shows
NEAR_ORIGIN = (0, 0, 400, 300)  # where any part of a background would show
SPOT = (200, 480, 300, 540)  # a rectangle drawn after each Open
TARGET = (500, 150, 700, 300)  # the rectangles that take the bad pictures and tiles
GOOD_TARGET = (800, 150, 950, 250)  # the rectangle that takes a good picture
GOOD_FRAME = (780, 330, 1030, 530)  # the rectangle that takes good tiles
LATER_GONE = (150, 330, 350, 430)  # the rectangle whose picture goes away
AWAY = (1100, 620)  # a point no figure covers
# Places in the Border dialog, from its top-left corner.
BORDER_BROWSE, BORDER_OK = (406, 59), (423, 117)
# Places in the slides dialog: "..." and "Play" (dialog units 121, 31 and
# 147, 31 with the dialog font's base units of 7 x 13 on the test screen).
SLIDES_BROWSE, SLIDES_PLAY = (121 * 7 // 4, 31 * 13 // 8), (147 * 7 // 4, 31 * 13 // 8)


def spot(i):
    """The i-th of a row of small rectangles drawn after bad pictures."""
    return 40 + 70 * i, 600, 100 + 70 * i, 640


def make_bad_files(folder):
    """The bad files (64 x 48 pictures before they were cut); their names."""
    def picture(name):
        path = os.path.join(folder, name)
        subprocess.run(["convert", "-size", "64x48", "-seed", "1", "plasma:red-blue", "-depth", "8", path], check=True)
        with open(path, "rb") as f:
            data = f.read()
        os.remove(path)
        return data

    def write(name, data):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        return name

    png, jpg, bmp = picture("p.png"), picture("p.jpg"), picture("p.bmp")
    # A 54-byte header (24 bits a pixel, 100000 x 100000) and 12 bytes of pixels.
    huge = (b"BM" + struct.pack("<IHHI", 66, 0, 0, 54)
            + struct.pack("<IiiHHIIiiII", 40, 100000, 100000, 1, 24, 0, 12, 2835, 2835, 0, 0) + b"\0" * 12)
    return [
        write("empty.bmp", b""),
        write("cut.png", png[:len(png) // 2]),
        write("cut.jpg", jpg[:len(jpg) * 6 // 10]),
        write("cut.bmp", bmp[:len(bmp) // 2]),
        write("huge.bmp", huge),
        write("words.bmp", b"This is a text file, not a picture.\n"),
    ]


def make_good(folder, name, rgb):
    subprocess.run(["convert", "-size", "64x48", "xc:rgb(%d,%d,%d)" % rgb, os.path.join(folder, name)], check=True)
    return name


def gone(folder, name):
    """The picture is deleted (a missing file)."""
    os.remove(os.path.join(folder, name))


def folder_instead(folder, name):
    """The picture is replaced by a folder of its name."""
    os.remove(os.path.join(folder, name))
    os.mkdir(os.path.join(folder, name))


def settle(s, predicate, what):
    """Waits until the screen satisfies predicate(shot), and checks it; any
    window besides the main window (a message) fails at once."""
    def ready():
        others = s.other_windows()
        if others:
            raise Failure("%s: unexpected window(s) %r" % (what, others))
        shot = s.grab()
        return shot if predicate(shot) else None
    shot = poll(ready, what)
    print("ok:", what)
    return shot


def choose(s, name):
    """Answers the file chooser with a name typed into it (it opens in the
    program's working folder, where the files are)."""
    s.focused_window("Open", "the file chooser")
    s.type(name)
    s.key("Return")
    poll(lambda: "Open" not in s.other_windows(), "the file chooser to close")


def outline_shown(shot, box):
    """The grey outline of box: dashed as a drag leaves it, solid after a
    redraw; each edge is at least a third grey."""
    l, t, r, b = box
    edges = ((l, t, r, t + 1), (l, b - 1, r, b), (l, t, l + 1, b), (r - 1, t, r, b))
    return all(3 * shot.count(GREY, e) >= (e[2] - e[0]) * (e[3] - e[1]) for e in edges)


def inset(box, d=3):
    """box less d pixels on every side (clear of the handles at its corners
    and edge middles, which reach 2 pixels into it)."""
    return box[0] + d, box[1] + d, box[2] - d, box[3] - d


def nothing_at(shot, box):
    """Neither outline nor inside of box shows anything but white, apart from
    its handles."""
    l, t, r, b = box
    mx, my = (l + r) // 2, (t + b) // 2
    clear = [inset(box)]
    for a, z in ((l + 4, mx - 4), (mx + 4, r - 4)):
        clear += [(a, t, z, t + 1), (a, b - 1, z, b)]
    for a, z in ((t + 4, my - 4), (my + 4, b - 4)):
        clear += [(l, a, l + 1, z), (r - 1, a, r, z)]
    return all(shot.all_of(WHITE, c) for c in clear)


def handles_at(shot, box):
    l, t, r, b = box
    return all(shot.canvas_pixel(*p) == BLACK for p in ((l - 3, t - 3), (r + 2, t - 3), (r + 2, b + 2), (l - 3, b + 2)))


def rectangle(s, box, what):
    """Insert > Rectangle and a drag; the program answers when it shows."""
    s.click(AWAY)  # the keyboard back to the main window (no window manager hands it back)
    s.key("alt+i", "r")
    s.drag(box[:2], box[2:])
    settle(s, lambda shot: outline_shown(shot, box), what)


def select(s, box):
    """A click inside the rectangle selects it (and gives the main window the
    keyboard for the next command)."""
    s.click(((box[0] + box[2]) // 2, (box[1] + box[3]) // 2))
    settle(s, lambda shot: handles_at(shot, box), "the handles of %r" % (box,))


def open_file(s):
    s.click(AWAY)
    s.key("F10", "Down", "Down", "Return")  # File > Open


def background(s):
    s.click(AWAY)
    s.key("F10", "Left", "Down", "Down", "Down", "Down", "Return")  # Format > BackGround


def import_picture(s):
    """Format > Import.., for the rectangle just selected."""
    s.key("F10", "Left", "Down", "Down", "Down", "Down", "Down", "Return")


def border(s, name, after_choosing=None):
    """Insert > Border round the rectangle just selected, with the tile
    picture name; after_choosing runs before OK."""
    s.key("alt+i", "Up", "Up", "Return")
    dialog = s.focused_window("Border", "the Border dialog")
    s.click_in(dialog, BORDER_BROWSE)
    choose(s, name)
    if after_choosing:
        after_choosing()
    s.click_in(dialog, BORDER_OK)
    poll(lambda: s.other_windows() != ["Border"], "the Border dialog to close")


def slide_colour(shot):
    """The colour of the canvas at nine points spread over the slide area if
    they all agree, else None."""
    colours = {shot.canvas_pixel(x, y) for x in (100, 600, 1100) for y in (100, 350, 650)}
    return colours.pop() if len(colours) == 1 else None


with Session(sys.argv[1]) as s:
    started = time.monotonic()
    bad = make_bad_files(s.tmp)
    good = make_good(s.tmp, "good.png", GOOD)

    # File > Open: a good picture shows at (10, 10) and the drawing goes; a
    # bad one empties the drawing too and shows nothing.
    rectangle(s, SPOT, "a rectangle before Open")
    open_file(s)
    choose(s, good)
    settle(s, lambda shot: shot.all_of(GOOD, PICTURE) and shot.all_of(WHITE, SPOT),
           "Open of a good picture shows it at (10, 10) and empties the drawing")
    for name in bad:
        rectangle(s, SPOT, "a rectangle drawn after the last Open")
        open_file(s)
        choose(s, name)
        settle(s, lambda shot: shot.all_of(WHITE, SPOT) and shot.all_of(WHITE, NEAR_ORIGIN),
               "Open of %s empties the drawing and shows nothing" % name)
    rectangle(s, SPOT, "a rectangle after the last bad Open")
    print("File > Open: %.1f s" % (time.monotonic() - started))

    # Format > BackGround: each bad picture takes the place of the good one.
    for i, name in enumerate(bad):
        background(s)
        choose(s, good)
        settle(s, lambda shot: shot.all_of(GOOD, PICTURE), "the good background before %s" % name)
        background(s)
        choose(s, name)
        settle(s, lambda shot: shot.all_of(WHITE, NEAR_ORIGIN) and outline_shown(shot, SPOT),
               "BackGround of %s shows nothing and keeps the drawing" % name)
        rectangle(s, spot(i), "a rectangle after BackGround of %s" % name)
    print("Format > BackGround: %.1f s" % (time.monotonic() - started))

    # Format > Import..: a good picture fills the selected rectangle; a bad
    # one leaves the rectangle showing nothing but its handles.
    rectangle(s, GOOD_TARGET, "a rectangle for a good picture")
    select(s, GOOD_TARGET)
    import_picture(s)
    choose(s, good)
    settle(s, lambda shot: shot.all_of(GOOD, inset(GOOD_TARGET)), "a good picture imported fills its rectangle")
    for name in bad:
        rectangle(s, TARGET, "a rectangle drawn after the last Import")
        select(s, TARGET)
        import_picture(s)
        choose(s, name)
        settle(s, lambda shot: nothing_at(shot, TARGET) and handles_at(shot, TARGET),
               "Import of %s shows nothing, the handles stay" % name)
    print("Format > Import..: %.1f s" % (time.monotonic() - started))

    # Insert > Border round a selected white rectangle: good tiles show; a
    # bad tile picture, or one deleted or replaced by a folder after it was
    # chosen and before OK, leaves the rectangle showing nothing.
    rectangle(s, GOOD_FRAME, "a rectangle for good tiles")
    select(s, GOOD_FRAME)
    border(s, good)
    corner_tile = (GOOD_FRAME[0], GOOD_FRAME[1], GOOD_FRAME[0] + 40, GOOD_FRAME[1] + 40)
    settle(s, lambda shot: shot.all_of(GOOD, inset(corner_tile)) and shot.all_of(WHITE, inset(GOOD_FRAME, 60)),
           "good tiles round the rectangle")
    tiles = [(name, None) for name in bad]
    tiles.append((make_good(s.tmp, "deleted-tile.png", GOOD), lambda: gone(s.tmp, "deleted-tile.png")))
    tiles.append((make_good(s.tmp, "folder-tile.png", GOOD), lambda: folder_instead(s.tmp, "folder-tile.png")))
    for name, after_choosing in tiles:
        rectangle(s, TARGET, "a rectangle drawn after the last Border")
        select(s, TARGET)
        border(s, name, after_choosing)
        settle(s, lambda shot: nothing_at(shot, TARGET) and handles_at(shot, TARGET),
               "Border with %s%s shows no tiles, the handles stay"
               % (name, " (gone before OK)" if after_choosing else ""))
    rectangle(s, TARGET, "a rectangle after the last bad Border")
    print("Insert > Border: %.1f s" % (time.monotonic() - started))

    # A background and an imported picture that go away (one deleted, one
    # replaced by a folder) show nothing at the next redraw: BackGround
    # cancelled redraws the canvas.
    background(s)
    choose(s, make_good(s.tmp, "background.png", GOOD))
    rectangle(s, LATER_GONE, "a rectangle for a picture that goes away")
    select(s, LATER_GONE)
    import_picture(s)
    choose(s, make_good(s.tmp, "imported.png", GOOD))
    settle(s, lambda shot: shot.all_of(GOOD, PICTURE) and shot.all_of(GOOD, inset(LATER_GONE)),
           "the background and the imported picture show")
    gone(s.tmp, "background.png")
    folder_instead(s.tmp, "imported.png")
    background(s)
    s.focused_window("Open", "the file chooser")
    s.key("Escape")
    settle(s, lambda shot: shot.all_of(WHITE, NEAR_ORIGIN) and nothing_at(shot, LATER_GONE),
           "after a redraw the deleted background and the picture replaced by a folder show nothing")
    rectangle(s, spot(len(bad)), "a rectangle after the redraw")

    # Format > SlideShow, with the delay it starts with (1 second): a good
    # picture, the bad ones, one deleted and one replaced by a folder after
    # they were chosen, and a last good one. The first stays up while the
    # show waits its delay after each bad picture, then the last one shows.
    slides = ([good] + bad + [make_good(s.tmp, "deleted.png", LAST), make_good(s.tmp, "folder.png", LAST),
                              make_good(s.tmp, "last.png", LAST)])
    s.click(AWAY)
    s.key("F10", "Left", "Down", "Down", "Down", "Down", "Down", "Down", "Return")  # Format > SlideShow
    dialog = s.focused_window("Dialog", "the slides dialog")
    for name in slides:
        s.click_in(dialog, SLIDES_BROWSE)
        choose(s, name)
    gone(s.tmp, "deleted.png")
    folder_instead(s.tmp, "folder.png")
    s.click_in(dialog, SLIDES_PLAY)
    seen = []  # each change of the slide area: its colour (None for a mixture) and when it was seen

    def last_picture():
        others = s.other_windows()
        if others:
            raise Failure("a window during the show: %r" % others)
        colour = slide_colour(s.grab())
        if not seen or colour != seen[-1][0]:
            seen.append((colour, time.monotonic()))
        return colour == LAST
    poll(last_picture, "the last picture of the show", deadline=60)
    if seen[0][0] == WHITE:
        seen.pop(0)  # the canvas before the first picture
    colours = [c for c, _ in seen]
    check(colours == [GOOD, LAST], "the first picture stays up until the last one: %r" % colours)
    waited = seen[1][1] - seen[0][1]
    check(waited > len(slides) - 2.5, "the show waited its delay after each picture (%.1f s)" % waited)
    rectangle(s, SPOT, "a rectangle after the show")
    check(not s.other_windows(), "no message from the show")
    print("Format > SlideShow: %.1f s" % (time.monotonic() - started))

    # The chooser itself answers a missing name with its own warning and
    # enters a folder: neither reaches the program, and the chooser
    # cancelled changes nothing.
    os.mkdir(os.path.join(s.tmp, "pictures"))
    open_file(s)
    chooser = s.focused_window("Open", "the file chooser")
    s.type("missing.png")
    s.key("Return")
    s.focused_window("Open", "the chooser's warning about a missing name", other_than=(chooser,))
    s.key("Return")
    poll(lambda: s.other_windows() == ["Open"], "the warning to close")
    s.xdo("windowfocus", "--sync", chooser)  # the keyboard back to the chooser (no window manager hands it back)
    s.key("ctrl+a")
    s.type("pictures/")
    s.key("Return")
    time.sleep(0.5)  # time for the chooser to return the folder, which it must not do
    check(s.other_windows() == ["Open"], "the chooser stays open on a folder")
    s.key("Escape")
    poll(lambda: not s.other_windows(), "the chooser to close")
    check(outline_shown(s.grab(), SPOT), "nothing was opened: the drawing is still there")
    print("total: %.1f s" % (time.monotonic() - started))

# The command line takes what the chooser never returns: a folder starts the
# program on an empty canvas, with no message in the way of the first figure.
# (A missing name is tested with the command line's other cases.)
session = Session(sys.argv[1], args=["pictures"])
os.mkdir(os.path.join(session.tmp, "pictures"))
with session as s:
    rectangle(s, SPOT, "a rectangle drawn right after `veltra FOLDER`")
    check(s.grab().all_of(WHITE, NEAR_ORIGIN), "`veltra FOLDER` draws nothing")
    check(not s.other_windows(), "`veltra FOLDER` shows no message")
