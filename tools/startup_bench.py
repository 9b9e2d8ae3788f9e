#!/usr/bin/env python3
"""Start-up benchmark: the time from starting the program to its first painted
window, against a bare toolkit window (tools/bare_window.cpp) measured the
same way in the same run, and the memory each holds at that point. Both run
on their own Xvfb server at each screen size; runs alternate so that the
machine's state weighs on both alike.

    tools/startup_bench.py [build/bin] [runs]

The programs report and quit after their first paint when
VELTRA_STARTUP_PROBE is set (src/app/StartupProbe.h)."""
import os
import statistics
import subprocess
import sys
import time

BIN = sys.argv[1] if len(sys.argv) > 1 else "build/bin"
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 11
SCREENS = [(1920, 1080), (3840, 2160)]


def start_xvfb(display, width, height):
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "%dx%dx24" % (width, height), "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    end = time.monotonic() + 30
    while subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL).returncode != 0:
        if time.monotonic() > end:
            raise SystemExit("Xvfb did not start")
        time.sleep(0.05)
    return xvfb


def one_start(program, env):
    begin = time.monotonic()
    out = subprocess.run([program], env=env, capture_output=True, text=True, timeout=120).stdout
    seconds = time.monotonic() - begin
    rss = [int(line.split()[1]) for line in out.splitlines() if line.startswith("startup-rss-kb")]
    if not rss:
        raise SystemExit("%s did not report its first paint" % program)
    return seconds, rss[0]


def main():
    programs = {"veltra": os.path.join(BIN, "veltra"), "bare window": os.path.join(BIN, "bare_window")}
    print("| screen | program | median start (ms) | resident memory (MB) |")
    print("|---|---|---:|---:|")
    for number, (width, height) in enumerate(SCREENS):
        display = ":%d" % (190 + number)
        xvfb = start_xvfb(display, width, height)
        try:
            env = dict(os.environ, DISPLAY=display, VELTRA_STARTUP_PROBE="1", QT_QPA_PLATFORM="xcb")
            times = {name: [] for name in programs}
            memory = {}
            for name, program in programs.items():  # warm the file cache once
                one_start(program, env)
            for _ in range(RUNS):
                for name, program in programs.items():
                    seconds, rss = one_start(program, env)
                    times[name].append(seconds)
                    memory[name] = rss
            for name in programs:
                print("| %dx%d | %s | %.0f | %.1f |" % (width, height, name, 1000 * statistics.median(times[name]),
                                                       memory[name] / 1024))
            ratio = statistics.median(times["veltra"]) / statistics.median(times["bare window"])
            print("| %dx%d | ratio | %.2f | |" % (width, height, ratio))
        finally:
            xvfb.terminate()
            xvfb.wait()


if __name__ == "__main__":
    main()
