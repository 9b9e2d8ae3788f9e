"""The program as a native Wayland client (the toolkit's Wayland plugin, no
X11 at all) under a headless Weston, with a picture named on the command
line: the picture shows at its own size at (10, 10) of the canvas, inside the
window that the toolkit decorates itself on Wayland.

Input cannot be driven here: Weston's headless back end has no seat that
another program can move or type into (xdotool speaks X11 only, and Weston
offers synthetic input only to its own test suite), so this case only looks,
through weston-screenshooter (which `--debug` allows, and which reads the
screen back from the `--use-pixman` renderer). The mouse and the keyboard are
driven on X11 by the other cases."""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

from harness import (DEADLINE, PATTERN_H, PATTERN_W, Failure, Shot, check, find_pattern, poll, read_rgb,
                     write_pattern)

WHITE = (255, 255, 255)
SCREEN = (1280, 800)
tmp = tempfile.mkdtemp(prefix="veltra-wayland-")
runtime = os.path.join(tmp, "runtime")
os.mkdir(runtime, 0o700)
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE")}
env.update(HOME=tmp, XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="veltra-e2e", QT_QPA_PLATFORM="wayland")
logs = {name: os.path.join(tmp, name + ".log") for name in ("weston", "veltra")}


def start(args, log):
    with open(logs[log], "wb") as out:
        return subprocess.Popen(args, env=env, cwd=tmp, stdout=out, stderr=subprocess.STDOUT)


def alive(proc, name):
    if proc.poll() is not None:
        raise Failure("%s ended (exit %s):\n%s" % (name, proc.returncode, open(logs[name]).read()[-3000:]))
    return True


def grab():
    """The whole screen through weston-screenshooter, or None."""
    for old in glob.glob(os.path.join(tmp, "wayland-screenshot-*.png")):
        os.remove(old)
    subprocess.run(["weston-screenshooter"], env=env, cwd=tmp, capture_output=True, timeout=DEADLINE)
    taken = glob.glob(os.path.join(tmp, "wayland-screenshot-*.png"))
    if not taken:
        return None
    return Shot(*SCREEN, read_rgb(taken[0], *SCREEN), origin=(0, 0))


weston = program = None
try:
    weston = start(["weston", "--backend=headless-backend.so", "--use-pixman", "--debug", "--no-config",
                    "--socket=" + env["WAYLAND_DISPLAY"], "--width=%d" % SCREEN[0], "--height=%d" % SCREEN[1],
                    "--idle-time=0"], "weston")
    poll(lambda: alive(weston, "weston") and os.path.exists(os.path.join(runtime, env["WAYLAND_DISPLAY"])),
         "Weston's socket")
    write_pattern(os.path.join(tmp, "pattern.png"))
    program = start([os.path.abspath(sys.argv[1]), "pattern.png"], "veltra")

    def picture_shown():
        shot = alive(program, "veltra") and grab()
        found = shot and find_pattern(shot, (0, 0, 400, 300))
        return (shot, found) if found and len(found) == PATTERN_W * PATTERN_H else None

    shot, found = poll(picture_shown, "the picture on the canvas")
    left, top = min(found)
    check(all(found[(x, y)] == (x - left, y - top) for x, y in found),
          "the picture shows whole, one screen pixel for each of its pixels")
    # Canvas (10, 10): ten white canvas columns to its left and rows above,
    # then the edge of the canvas view (the window's frame, the toolbar).
    margin_left = [shot.pixel(x, y) for x in range(left - 10, left) for y in range(top, top + PATTERN_H)]
    margin_top = [shot.pixel(x, y) for y in range(top - 10, top) for x in range(left, left + PATTERN_W)]
    check(set(margin_left + margin_top) == {WHITE}, "white canvas left of and above the picture")
    check(any(shot.pixel(left - 11, y) != WHITE for y in range(top, top + PATTERN_H))
          and any(shot.pixel(x, top - 11) != WHITE for x in range(left, left + PATTERN_W)),
          "the canvas view's edges 10 pixels left of and above the picture: it is at canvas (10, 10)")
    if os.environ.get("VELTRA_E2E_SHOTS"):
        os.makedirs(os.environ["VELTRA_E2E_SHOTS"], exist_ok=True)
        shutil.copy(glob.glob(os.path.join(tmp, "wayland-screenshot-*.png"))[0],
                    os.path.join(os.environ["VELTRA_E2E_SHOTS"], "wayland.png"))
except Failure as failure:
    print("FAIL:", failure)
    sys.exit(1)
finally:
    for proc in (program, weston):
        if proc and proc.poll() is None:
            proc.kill()
            proc.wait()
    shutil.rmtree(tmp, ignore_errors=True)
