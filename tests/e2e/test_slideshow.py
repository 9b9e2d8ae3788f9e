"""Format > SlideShow through the real dialogs and file chooser: pictures added
one at a time with "...", a delay set in the settings, Play: the show runs on
its worker and the last picture added is the one left on the canvas. Closing
the window during a looping show with a long delay ends the program at once,
with its usual exit code."""
import os
import subprocess
import sys

from harness import Session, check, du, poll, slides_dialog

COLOURS = {"c": (0, 255, 255), "a": (255, 255, 0), "b": (255, 0, 255)}
PROBE = (600, 400)  # a canvas point well inside the slide rectangle
BROWSE, PLAY, ADVANCED = du(121, 31), du(147, 31), du(167, 58)
DELAY, LOOP, SETTINGS_OK = du(150, 28), du(33, 83), du(65, 115)


def add_picture(s, dialog, path):
    s.click_in(dialog, BROWSE)
    s.focused_window("Open", "the file chooser")
    s.type(path)
    s.key("Return")
    poll(lambda: not s.xdo("search", "--onlyvisible", "--name", "^Open$"), "the file chooser to close")


def settings(s, dialog, delay, loop=False):
    """Advanced...: a new delay, and a click on Loop."""
    s.click_in(dialog, ADVANCED)
    box = s.focused_window("Dialog", "the settings", other_than=(dialog,))
    s.click_in(box, DELAY)
    s.key("ctrl+a")
    s.type(str(delay))
    if loop:
        s.click_in(box, LOOP)
    s.click_in(box, SETTINGS_OK)
    poll(lambda: s.xdo("getwindowfocus") != box, "the settings to close")


def shown(s, name):
    return s.grab().canvas_pixel(*PROBE) == COLOURS[name]


with Session(sys.argv[1]) as s:
    pictures = {}
    for name, rgb in COLOURS.items():
        pictures[name] = os.path.join(s.tmp, name + ".png")
        subprocess.run(["convert", "-size", "64x48", "xc:rgb(%d,%d,%d)" % rgb, pictures[name]], check=True)

    dialog = slides_dialog(s)
    for name in "cab":
        add_picture(s, dialog, pictures[name])
    settings(s, dialog, 1)
    s.click_in(dialog, PLAY)
    poll(lambda: shown(s, "b"), "the last picture added, left on the canvas")
    s.screenshot("slideshow")

    dialog = slides_dialog(s)
    add_picture(s, dialog, pictures["a"])
    settings(s, dialog, 600, loop=True)
    s.click_in(dialog, PLAY)
    poll(lambda: shown(s, "a"), "the long show's picture")
    s.click((1100, 700))
    s.key("alt+f", "e")  # File > Exit
    # A show that waited out its 600-second delay would outlast the harness's deadline.
    check(s.wait_exit() == 1, "the program ends at once with its usual exit code 1")
