"""The program's command line, run as a user would run it:

    command_line.py PROGRAM VERSION

--version prints the name and VERSION and exits 0, also with no display at
all; --help prints the usage and exits 0; an unknown option, or a second
picture, prints what is wrong and the usage line on stderr and exits 2 before
any window system is opened.
"""
import os
import subprocess
import sys
import tempfile

program, version = os.path.abspath(sys.argv[1]), sys.argv[2]
failures = []


def check(condition, what):
    print(("ok: " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def run(args, env_changes):
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    env.update(env_changes)
    with tempfile.TemporaryDirectory() as home:
        env["HOME"] = home
        env.setdefault("XDG_RUNTIME_DIR", home)
        return subprocess.run([program] + args, env=env, cwd=home, capture_output=True, text=True, timeout=30)


# No display and the X11 platform: anything that needed a window system would fail.
no_display = {"QT_QPA_PLATFORM": "xcb"}
offscreen = {"QT_QPA_PLATFORM": "offscreen"}

for option in ("--version", "-v"):
    r = run([option], no_display)
    check(r.returncode == 0, option + " exits 0 without a display (got %d: %s)" % (r.returncode, r.stderr.strip()))
    check(r.stdout == "Veltra %s\n" % version, option + " prints the name and version (got %r)" % r.stdout)

r = run(["--help"], no_display)
check(r.returncode == 0, "--help exits 0 without a display (got %d)" % r.returncode)
usage = "Usage: %s [options] [PICTURE]\n" % program  # the program as it was started
check(r.stdout.startswith(usage), "--help starts with the usage (got %r)" % r.stdout[:80])

# A mistake is one line saying what is wrong and the usage line, on stderr,
# and status 2, with a display or without one (never the toolkit's abort).
mistakes = [(["--no-such-option"], "Unknown option 'no-such-option'."),
            (["--bogus", "--version"], "Unknown option 'bogus'."),
            (["one.png", "two.png"], "Only one picture can be opened; got 2."),
            (["-platform"], "Missing value after '-platform'.")]
for args, reason in mistakes:
    for env in (no_display, offscreen):
        r = run(args, env)
        what = " ".join(args) + " with QT_QPA_PLATFORM=" + env["QT_QPA_PLATFORM"]
        check(r.returncode == 2, what + " exits 2 (got %d)" % r.returncode)
        check(r.stderr == "veltra: %s\n%s" % (reason, usage),
              what + ": the reason and the usage line (got %r)" % r.stderr)
        check(r.stdout == "", what + ": nothing on stdout")

# The toolkit's own options are not mistakes.
r = run(["-platform", "offscreen", "--version"], no_display)
check(r.returncode == 0 and r.stdout == "Veltra %s\n" % version,
      "-platform offscreen --version prints the version (got %d, %r)" % (r.returncode, r.stdout))

if failures:
    sys.exit(1)
