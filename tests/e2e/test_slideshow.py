"""Format > SlideShow through the real dialogs and file chooser: pictures
added one at a time run in the order of adding with the chosen delay, Esc
stops the show, the Right arrow steps a manual show, and closing the window
during a long looping show ends the program at once with its usual exit
code."""
import os
import subprocess
import sys
import time

from harness import Session, check, du, poll, slides_dialog

WHITE = (255, 255, 255)
COLOURS = {"c": (0, 255, 255), "a": (255, 255, 0), "b": (255, 0, 255)}
PROBE = (600, 400)  # a canvas point well inside the slide rectangle


# Centres of the controls of the slides dialog and of the settings.
BROWSE, PLAY, ADVANCED, OK = du(121, 31), du(147, 31), du(167, 58), du(54, 89)
DELAY, MANUAL, AUTO, LOOP, SETTINGS_OK = du(150, 28), du(33, 59), du(125, 59), du(33, 83), du(65, 115)


def add_picture(s, dialog, path):
    s.click_in(dialog, BROWSE)
    s.focused_window("Open", "the file chooser")
    s.type(path)
    s.key("Return")
    poll(lambda: not s.xdo("search", "--onlyvisible", "--name", "^Open$"), "the file chooser to close")


def settings(s, dialog, delay=None, manual=False, auto=False, loop=False):
    """Advanced...: a new delay, Manual or Auto, and a click on Loop."""
    s.click_in(dialog, ADVANCED)
    settings = s.focused_window("Dialog", "the settings", other_than=(dialog,))
    if delay is not None:
        s.click_in(settings, DELAY)
        s.key("ctrl+a")
        s.type(str(delay))
    if manual:
        s.click_in(settings, MANUAL)
    if auto:
        s.click_in(settings, AUTO)
    if loop:
        s.click_in(settings, LOOP)
    s.click_in(settings, SETTINGS_OK)
    poll(lambda: s.xdo("getwindowfocus") != settings, "the settings to close")


def shown(s):
    pixel = s.grab().canvas_pixel(*PROBE)
    for name, rgb in COLOURS.items():
        if pixel == rgb:
            return name
    return "white" if pixel == WHITE else str(pixel)


with Session(sys.argv[1]) as s:
    pictures = {}
    for name, rgb in COLOURS.items():
        pictures[name] = os.path.join(s.tmp, name + ".png")
        subprocess.run(["convert", "-size", "64x48", "xc:rgb(%d,%d,%d)" % rgb, pictures[name]], check=True)

    # c, a and b one at a time, a delay of 2 seconds, Play.
    dialog = slides_dialog(s)
    for name in "cab":
        add_picture(s, dialog, pictures[name])
    settings(s, dialog, delay=2)
    s.click_in(dialog, PLAY)
    seen, started = [], time.monotonic()
    while time.monotonic() - started < 30 and len(seen) < 3:
        now = shown(s)
        if now in COLOURS and (not seen or seen[-1][0] != now):
            seen.append((now, time.monotonic()))
        time.sleep(0.05)
    check([name for name, _ in seen] == ["c", "a", "b"], "the pictures come in the order of adding: %r" % seen)
    gaps = [round(seen[i + 1][1] - seen[i][1], 1) for i in range(2)]
    check(all(1.5 <= g <= 3.5 for g in gaps), "about 2 seconds between pictures: %r" % gaps)
    s.screenshot("slideshow-auto")

    # A looping show stopped by Esc shows nothing more.
    s.click((1100, 700))  # the keyboard back to the main window
    dialog = slides_dialog(s)
    add_picture(s, dialog, pictures["a"])
    add_picture(s, dialog, pictures["c"])
    settings(s, dialog, delay=1, loop=True)
    s.click_in(dialog, PLAY)
    poll(lambda: shown(s) == "a", "the first picture of the looping show")
    s.click((1100, 700))
    s.key("Escape")
    time.sleep(0.3)
    stopped_on = shown(s)
    time.sleep(3)  # three delays: a running show would have changed pictures
    check(shown(s) == stopped_on, "Esc stopped the looping show on %s" % stopped_on)

    # A manual show: the Right arrow steps, then asks whether to begin again.
    dialog = slides_dialog(s)
    add_picture(s, dialog, pictures["b"])
    add_picture(s, dialog, pictures["c"])
    settings(s, dialog, manual=True)
    s.click_in(dialog, OK)
    s.click((1100, 700))
    s.key("Right")
    poll(lambda: shown(s) == "b", "the manual show's first picture")
    print("ok: the Right arrow shows the first picture")
    s.key("Right")
    poll(lambda: shown(s) == "c", "the manual show's second picture")
    s.key("Right")
    poll(lambda: [w for w in s.windows_titled() if w != s.window], "the end-of-show question")
    s.key("Return")  # OK: back to the first picture
    poll(lambda: not [w for w in s.windows_titled() if w != s.window], "the question to close")
    s.click((1100, 700))
    s.key("Right")
    poll(lambda: shown(s) == "b", "the first picture again")
    print("ok: after the question's OK the Right arrow begins again")
    s.screenshot("slideshow-manual")

    # Closing the window during a looping show (Loop is still on) with a
    # long delay.
    dialog = slides_dialog(s)
    add_picture(s, dialog, pictures["a"])
    settings(s, dialog, delay=60, auto=True)
    s.click_in(dialog, PLAY)
    poll(lambda: shown(s) == "a", "the long show's picture")
    s.click((1100, 700))
    started = time.monotonic()
    s.key("alt+f", "e")  # File > Exit
    code = s.wait_exit()
    took = time.monotonic() - started
    check(code == 1, "the program ends with its usual exit code 1 (got %s)" % code)
    check(took < 5, "the program ended at once, not after the delay (%.1f s)" % took)
