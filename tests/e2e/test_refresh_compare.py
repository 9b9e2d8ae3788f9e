"""The refresh that redraws only what changed, seen by a user: the same
session of drawing, selecting, moving with the mouse and the arrow keys,
restacking from the context menu, importing a picture, deleting and
reselecting is played twice, once by the program as it is and once with
VELTRA_WHOLE_REFRESH=1 (every refresh redraws the whole canvas). After every
step both screens must be the same, pixel for pixel."""
import os
import subprocess
import sys
import time

from harness import Failure, Session, check, poll

AWAY = (900, 600)  # a canvas point no figure reaches


def settled(s):
    """The screen once two grabs a little apart agree."""
    previous = s.grab()
    for _ in range(50):
        time.sleep(0.1)
        shot = s.grab()
        if shot.rgb == previous.rgb:
            return shot
        previous = shot
    raise Failure("the screen did not settle")


def context_menu(s, at, *keys):
    s.click(at, button=3)
    s.key(*keys)


def steps(s):
    """The session, one (name, action) a step."""
    def shape(menu_key, start, end):
        def act():
            s.click(AWAY)
            s.key("alt+i", menu_key)
            s.drag(start, end)
        return act

    def choose(name):
        s.focused_window("Open", "the file chooser")
        s.type(name)
        s.key("Return")
        poll(lambda: "Open" not in s.other_windows(), "the file chooser to close")

    def import_picture():
        s.click((200, 280))  # the lower rectangle, selected
        time.sleep(0.3)
        s.key("F10", "Left", "Down", "Down", "Down", "Down", "Down", "Return")  # Format > Import..
        choose("picture.png")

    def delete():
        s.click((300, 270))
        time.sleep(0.3)
        s.key("Delete")
        poll(lambda: s.other_windows(), "the question")
        s.key("Return")
        poll(lambda: not s.other_windows(), "the question to close")

    return [
        ("a rectangle", shape("r", (100, 100), (300, 220))),
        ("a circle over it", shape("c", (200, 150), (380, 300))),
        ("a second rectangle", shape("r", (150, 250), (420, 330))),
        ("a line across", shape("l", (50, 320), (450, 120))),
        ("the circle selected", lambda: s.click((330, 200))),
        ("the circle dragged", lambda: s.drag((330, 200), (390, 170))),
        ("nudged right and down", lambda: s.key("Right", "Right", "Right", "Down")),
        ("the first rectangle selected", lambda: s.click((120, 115))),
        ("brought forward", lambda: context_menu(s, (120, 115), *(["Down"] * 6), "Right", "Return")),
        ("dragged by its inside", lambda: s.drag((120, 115), (160, 190))),
        ("a picture imported", import_picture),
        ("sent backward", lambda: context_menu(s, (200, 280), *(["Down"] * 6), "Right", "Down", "Return")),
        ("the line's end dragged", lambda: (s.click((450, 120)), s.drag((450, 120), (500, 60)))),
        ("a figure deleted", delete),
        ("nothing selected", lambda: s.click(AWAY)),
    ]


def play(program, whole):
    env = {"VELTRA_WHOLE_REFRESH": "1"} if whole else {}
    session = Session(program, env=env)
    shots = []
    with session as s:
        subprocess.run(["convert", "-size", "60x40", "gradient:red-blue", os.path.join(s.tmp, "picture.png")],
                       check=True)
        for i, (name, act) in enumerate(steps(s)):
            act()
            shots.append((name, settled(s)))
            s.screenshot("%s_%02d_%s" % ("whole" if whole else "partial", i, name.replace(" ", "_").replace("'", "")))
        print("played %s: %d steps" % ("with the whole refresh" if whole else "as it is", len(shots)))
        return [(name, shot.rgb, shot.width) for name, shot in shots]


whole = play(sys.argv[1], True)
partial = play(sys.argv[1], False)
for (name, expected, width), (_, got, _) in zip(whole, partial):
    if got != expected:
        differ = [i // 3 for i in range(0, len(got), 3) if got[i:i + 3] != expected[i:i + 3]]
        xs = [p % width for p in differ]
        ys = [p // width for p in differ]
        raise SystemExit("FAIL: after '%s' %d pixels differ, in x %d..%d, y %d..%d"
                         % (name, len(differ), min(xs), max(xs), min(ys), max(ys)))
    print("ok:", name)
check(len(partial) == len(whole) == 15, "every step was played")
