"""Format > SlideShow through the real dialogs and file chooser: a picture
added with "...", a long delay and Loop set in the settings, Play: the show
runs on its worker and its picture shows on the canvas. Closing the window
during that show ends the program at once, with its usual exit code."""
import os
import subprocess
import sys

from harness import Session, check, du, poll, slides_dialog

YELLOW = (255, 255, 0)
PROBE = (600, 400)  # a canvas point well inside the slide rectangle
BROWSE, PLAY, ADVANCED = du(121, 31), du(147, 31), du(167, 58)
DELAY, LOOP, SETTINGS_OK = du(150, 28), du(33, 83), du(65, 115)


with Session(sys.argv[1]) as s:
    picture = os.path.join(s.tmp, "a.png")
    subprocess.run(["convert", "-size", "64x48", "xc:rgb(%d,%d,%d)" % YELLOW, picture], check=True)
    dialog = slides_dialog(s)
    s.click_in(dialog, BROWSE)
    s.focused_window("Open", "the file chooser")
    s.type(picture)
    s.key("Return")
    poll(lambda: not s.xdo("search", "--onlyvisible", "--name", "^Open$"), "the file chooser to close")

    s.click_in(dialog, ADVANCED)  # the settings: a delay of 600 seconds, and Loop
    box = s.focused_window("Dialog", "the settings", other_than=(dialog,))
    s.click_in(box, DELAY)
    s.key("ctrl+a")
    s.type("600")
    s.click_in(box, LOOP)
    s.click_in(box, SETTINGS_OK)
    poll(lambda: s.xdo("getwindowfocus") != box, "the settings to close")

    s.click_in(dialog, PLAY)
    poll(lambda: s.grab().canvas_pixel(*PROBE) == YELLOW, "the show's picture")
    s.screenshot("slideshow")
    s.click((1100, 700))
    s.key("alt+f", "e")  # File > Exit
    # A show that waited out its 600-second delay would outlast the harness's deadline.
    check(s.wait_exit() == 1, "the program ends at once with its usual exit code 1")
