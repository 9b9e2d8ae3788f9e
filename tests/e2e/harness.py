"""End-to-end harness: runs the real program on its own Xvfb server and drives
it with xdotool, as a person would with a keyboard and a mouse.

Each case is a small script `test_<name>.py` that takes the program's path as
its only argument:

    from harness import Session, check

    with Session(sys.argv[1]) as s:
        s.key("alt+i", "r")               # Insert > Rectangle
        s.drag((100, 100), (200, 150))    # in canvas-view coordinates
        shot = s.screenshot()
        check(shot.canvas_pixel(100, 100) == (192, 192, 192), "grey outline")

Waits are polls with generous deadlines on observable state (a window, a
pixel, an exit), never fixed sleeps that a slow machine could outrun.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

TITLE = "Veltra Design & Pattern Creation Tool"
WHITE, BLACK, GREY = (255, 255, 255), (0, 0, 0), (192, 192, 192)
SCREEN_W, SCREEN_H = 1280, 800
DEADLINE = 30.0  # seconds for anything the program should do at once


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)
    print("ok:", what)


def poll(predicate, what, deadline=DEADLINE, interval=0.05):
    """Calls predicate until it returns something true; returns that."""
    end = time.monotonic() + deadline
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)


class Shot:
    """A screenshot of the whole screen, RGB, with the canvas view's origin."""

    def __init__(self, width, height, rgb, origin):
        self.width, self.height, self.rgb, self.origin = width, height, rgb, origin

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def canvas_pixel(self, x, y):
        """The pixel at canvas-view client point (x, y)."""
        return self.pixel(self.origin[0] + x, self.origin[1] + y)


def read_rgb(path, width, height):
    """The pixels of a picture file of width x height as 8-bit RGB bytes."""
    if path.endswith(".rgb"):
        with open(path, "rb") as f:
            rgb = f.read()
    else:
        rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True,
                             timeout=DEADLINE).stdout
    if len(rgb) != 3 * width * height:
        raise Failure("a picture of %d bytes, not %d x %d" % (len(rgb), width, height))
    return rgb


def write_png(path, width, height, pixel):
    """An 8-bit RGB PNG whose pixel (x, y) is pixel(x, y)."""
    rgb = b"".join(bytes(pixel(x, y)) for y in range(height) for x in range(width))
    subprocess.run(["convert", "-size", "%dx%d" % (width, height), "-depth", "8", "rgb:-", "png24:" + path],
                   input=rgb, check=True, timeout=DEADLINE)


# A picture whose every pixel says where it lies in the picture, so that a
# screenshot tells which picture pixel each screen pixel shows.
PATTERN_W, PATTERN_H = 48, 32


def pattern_colour(x, y):
    return (10 + 5 * x, 10 + 7 * y, 90)


def pattern_position(rgb):
    """The picture pixel (x, y) that shows as rgb, or None for any other colour."""
    r, g, b = rgb
    x, y = (r - 10) // 5, (g - 10) // 7
    return (x, y) if b == 90 and 0 <= x < PATTERN_W and 0 <= y < PATTERN_H and rgb == pattern_colour(x, y) else None


def write_pattern(path):
    write_png(path, PATTERN_W, PATTERN_H, pattern_colour)


def find_pattern(shot, box):
    """{screen point: picture pixel} for the pixels of the screen box
    (l, t, r, b), right and bottom exclusive, that show the pattern."""
    l, t, r, b = box
    found = {}
    for y in range(t, b):
        for x in range(l, r):
            p = shot.pixel(x, y)
            if p[2] == 90:
                q = pattern_position(p)
                if q:
                    found[(x, y)] = q
    return found


def dark(rgb):
    return max(rgb) < 128


def ink_lines(pixel, box):
    """The lines of dark pixels (text) in box (l, t, r, b), right and bottom
    exclusive, of an image read by pixel(x, y): for each band of rows holding
    ink, (first row, last row, leftmost column, rightmost column)."""
    l, t, r, b = box
    lines = []
    for y in range(t, b):
        cols = [x for x in range(l, r) if dark(pixel(x, y))]
        if not cols:
            continue
        if lines and lines[-1][1] == y - 1:
            first, _, left, right = lines[-1]
            lines[-1] = (first, y, min(left, cols[0]), max(right, cols[-1]))
        else:
            lines.append((y, y, cols[0], cols[-1]))
    return lines


def place_box(s, box):
    """Insert > EditBox (the menu's last item) and a drag over box."""
    s.key("alt+i", "Up", "Return")
    s.drag(box[:2], box[2:])
    s.wait_for_pixel(box[:2], BLACK, "the box's border")


def du(x, y):
    """A point of a dialog in dialog units, in pixels (the base units of the
    dialog font on the test screen are 7 x 13)."""
    return x * 7 // 4, y * 13 // 8


def slides_dialog(s):
    """Format > SlideShow, by the keyboard; the dialog's window."""
    s.key("F10", "Left", "Down", "Down", "Down", "Down", "Down", "Down", "Return")
    return s.focused_window("Dialog", "the slides dialog")


class Session:
    xvfb = wm_proc = proc = window = origin = env = None

    def __init__(self, program, args=(), screen=(SCREEN_W, SCREEN_H), env=None, wm=False):
        self.program, self.args, self.screen, self.wm = os.path.abspath(program), list(args), screen, wm
        self.extra_env = dict(env or {})
        self.tmp = tempfile.mkdtemp(prefix="veltra-e2e-")

    # -- lifetime -------------------------------------------------------------
    def __enter__(self):
        self.start_server()
        self.start_program()
        return self

    def __exit__(self, exc_type, exc, tb):
        for p in (self.proc, self.wm_proc):
            if p and p.poll() is None:
                p.kill()
                p.wait()
        if self.xvfb:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
        shutil.rmtree(self.tmp, ignore_errors=True)
        if isinstance(exc, Failure):
            print("FAIL:", exc)
            sys.exit(1)
        return False

    def start_server(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             "%dx%dx24" % self.screen, "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd, "rb") as f:
            number = f.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.env = {k: v for k, v in os.environ.items() if k != "WAYLAND_DISPLAY"}
        self.env.update(DISPLAY=":" + number.decode(), QT_QPA_PLATFORM="xcb", HOME=self.tmp)
        self.env.update(self.extra_env)
        if self.wm:
            self.start_window_manager()

    def start_window_manager(self):
        """openbox, with its default settings; ready once it names its check
        window on the root window (EWMH)."""
        self.wm_proc = subprocess.Popen(["openbox", "--sm-disable"], env=self.env, cwd=self.tmp,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def ready():
            out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                 capture_output=True, text=True, timeout=DEADLINE).stdout
            return "window id" in out
        poll(ready, "the window manager")

    def start_program(self):
        self.proc = subprocess.Popen([self.program] + self.args, env=self.env, cwd=self.tmp,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.window = poll(self.find_window, "the main window")
        self.xdo("windowfocus", "--sync", self.window)
        self.origin = poll(self.find_canvas_origin, "the canvas view to show")

    # -- X helpers ------------------------------------------------------------
    def xdo(self, *args):
        out = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env,
                             capture_output=True, text=True, timeout=DEADLINE)
        return out.stdout.strip()

    def find_window(self):
        if self.proc.poll() is not None:
            raise Failure("the program ended before its window appeared: exit %s\n%s"
                          % (self.proc.returncode, self.proc.stderr.read().decode(errors="replace")))
        return (self.windows_titled() or [None])[0]

    def windows_titled(self):
        """The visible windows that bear the program's title: the main window,
        and its message boxes, which are captioned with it."""
        ids = self.xdo("search", "--onlyvisible", "--name", "^%s$" % TITLE.replace("&", "\\&"))
        return ids.split()

    def window_geometry(self, window=None):
        """(x, y, width, height) of a window on the screen, the main window by
        default (xwininfo's absolute position, right also inside a window
        manager's frame)."""
        values = {}
        for line in subprocess.run(["xwininfo", "-id", str(window or self.window)], env=self.env,
                                   capture_output=True, text=True, timeout=DEADLINE).stdout.splitlines():
            k, _, v = line.strip().partition(":")
            values[k] = v.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def focused_window(self, name, what, other_than=()):
        """Waits until the window with the keyboard focus is titled name (and
        is none of other_than); returns its id."""
        def ready():
            wid = self.xdo("getwindowfocus")
            return wid if wid not in other_than and self.xdo("getwindowname", wid) == name else None
        return poll(ready, what)

    def click_in(self, window, p, button=1):
        """Clicks at point p of a window other than the canvas (a dialog)."""
        x, y, _, _ = self.window_geometry(window)
        self.pointer_to(x + p[0], y + p[1])
        self.xdo("click", button)

    def find_canvas_origin(self):
        """The screen point of the canvas view's top-left: the first pure
        white pixel below the menu bar and the toolbar, in a column near the
        window's left edge."""
        shot = self.grab()
        x0, y0, w, h = self.window_geometry()
        x = x0 + 40
        for y in range(y0, y0 + min(h, 300)):
            if all(shot.pixel(x + dx, y + dy) == (255, 255, 255) for dx in (0, 50, 100) for dy in (0, 1, 2)):
                left = x
                while left > x0 and shot.pixel(left - 1, y) == (255, 255, 255):
                    left -= 1
                return (left, y)
        return None

    # -- input ----------------------------------------------------------------
    def key(self, *keys):
        for k in keys:
            self.xdo("key", "--clearmodifiers", k)

    def type(self, text):
        self.xdo("type", "--delay", "30", text)

    def to_screen(self, p):
        return self.origin[0] + p[0], self.origin[1] + p[1]

    def pointer_to(self, x, y):
        """Moves the pointer to screen point (x, y) and waits until it is
        there. (xdotool's --sync waits for a motion, which never comes when
        the pointer is there already.)"""
        values = dict(line.partition("=")[::2] for line in self.xdo("getmouselocation", "--shell").splitlines())
        if (int(values["X"]), int(values["Y"])) != (x, y):
            self.xdo("mousemove", "--sync", x, y)

    def move(self, p):
        self.pointer_to(*self.to_screen(p))

    def click(self, p, button=1):
        self.move(p)
        self.xdo("click", button)

    def drag(self, start, end, steps=8):
        self.move(start)
        self.xdo("mousedown", 1)
        for i in range(1, steps + 1):
            self.move((start[0] + (end[0] - start[0]) * i // steps,
                       start[1] + (end[1] - start[1]) * i // steps))
        self.xdo("mouseup", 1)

    # -- output ---------------------------------------------------------------
    def grab(self):
        path = os.path.join(self.tmp, "shot.rgb")
        subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:" + path],
                       env=self.env, check=True, timeout=DEADLINE)
        return Shot(*self.screen, read_rgb(path, *self.screen), self.origin)

    def screenshot(self, keep_as=None):
        shot = self.grab()
        if keep_as and os.environ.get("VELTRA_E2E_SHOTS"):
            os.makedirs(os.environ["VELTRA_E2E_SHOTS"], exist_ok=True)
            subprocess.run(["import", "-window", "root",
                            os.path.join(os.environ["VELTRA_E2E_SHOTS"], keep_as + ".png")],
                           env=self.env, check=True, timeout=DEADLINE)
        return shot

    def wait_for_pixel(self, p, rgb, what):
        """Waits until the canvas-view pixel p shows rgb; returns the shot."""
        def ready():
            shot = self.grab()
            return shot if shot.canvas_pixel(*p) == rgb else None
        return poll(ready, what)

    def wait_exit(self, deadline=DEADLINE):
        try:
            return self.proc.wait(timeout=deadline)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end")
