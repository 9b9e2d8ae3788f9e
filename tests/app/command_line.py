"""The program's command line, run as a user would run it:

    command_line.py PROGRAM VERSION

--version prints the name and VERSION and exits 0, also with no display at
all; --help prints the usage and exits 0; an unknown option, or a second
picture, prints what is wrong and the usage on stderr and exits 2 without
opening a window.
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
for word in ("--version", "--help", "PICTURE", "File > Open"):
    check(word in r.stdout, "--help names " + word)
help_text = r.stdout

r = run(["--no-such-option"], offscreen)
check(r.returncode == 2, "an unknown option exits 2 (got %d)" % r.returncode)
check("Unknown option 'no-such-option'." in r.stderr, "an unknown option is named (got %r)" % r.stderr[:80])
check(help_text in r.stderr, "an unknown option prints the help")
check(r.stdout == "", "nothing on stdout for an unknown option")

# The unknown option wins over --version, and Qt's own options are still taken.
r = run(["--bogus", "--version"], offscreen)
check(r.returncode == 2 and "Unknown option 'bogus'." in r.stderr, "--bogus --version exits 2 (got %d)" % r.returncode)
r = run(["-platform", "offscreen", "--version"], no_display)
check(r.returncode == 0 and r.stdout == "Veltra %s\n" % version,
      "-platform offscreen --version prints the version (got %d, %r)" % (r.returncode, r.stdout))

r = run(["one.png", "two.png"], offscreen)
check(r.returncode == 2, "two pictures exit 2 (got %d)" % r.returncode)
check("Only one picture" in r.stderr and help_text in r.stderr, "two pictures: the reason and the help")

if failures:
    sys.exit(1)
