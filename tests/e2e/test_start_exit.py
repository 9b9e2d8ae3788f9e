"""The program starts maximised with its exact title, and File > Exit through
the keyboard ends it with exit code 1."""
import sys

from harness import SCREEN_H, SCREEN_W, TITLE, Session, check

with Session(sys.argv[1]) as s:
    check(s.window_title() == TITLE, "the window is titled exactly %r" % TITLE)
    x, y, w, h = s.window_geometry()
    check((x, y, w, h) == (0, 0, SCREEN_W, SCREEN_H), "the window fills the screen (maximised): %r" % ((x, y, w, h),))
    shot = s.screenshot("start")
    check(shot.canvas_pixel(10, 10) == (255, 255, 255), "the canvas shows white")
    s.key("alt+f", "e")
    code = s.wait_exit()
    check(code == 1, "File > Exit ends the program with exit code 1 (got %s)" % code)
