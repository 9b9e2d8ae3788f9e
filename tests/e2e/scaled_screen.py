"""On a scaled screen (QT_SCALE_FACTOR, the toolkit's scaling of the whole
window) each canvas pixel shows as a sharp block of screen pixels, and a drag
lands where the pointer shows it:

    scaled_screen.py PROGRAM SCALE

A patterned picture opened from the command line tells which canvas pixel
each screen pixel shows. Over it every screen pixel shows one picture pixel,
unblended; the blocks line up in rows and columns, each floor(SCALE) or
ceil(SCALE) screen pixels a side (2 x 2 at a scale of 2). A rectangle dragged
from the first screen pixel of one block to the last screen pixel of another
has its corner on the canvas pixel shown under the press, and its band ends
on the canvas pixel just before the one shown under the pointer (a rectangle
leaves out its right and bottom edges)."""
import math
import os
import sys

from harness import PATTERN_H, PATTERN_W, Failure, Session, check, find_pattern, pattern_colour, poll, write_pattern

program, scale = sys.argv[1], float(sys.argv[2])
GREY, WHITE = (192, 192, 192), (255, 255, 255)
PRESS, RELEASE = (12, 8), (36, 25)  # picture pixels


def blocks(line):
    """The lengths of the runs of equal values in line."""
    runs = [1]
    for a, b in zip(line, line[1:]):
        if b == a:
            runs[-1] += 1
        elif b == a + 1:
            runs.append(1)
        else:
            raise Failure("screen pixels side by side show canvas pixels %d and %d" % (a, b))
    return runs


session = Session(program, args=["pattern.png"], env={"QT_SCALE_FACTOR": sys.argv[2]})
write_pattern(os.path.join(session.tmp, "pattern.png"))
with session as s:
    ox, oy = s.origin
    box = (ox, oy, ox + math.ceil((12 + PATTERN_W) * scale), oy + math.ceil((12 + PATTERN_H) * scale))

    def whole_picture():
        found = find_pattern(s.grab(), box)
        return found if len(set(found.values())) == PATTERN_W * PATTERN_H else None

    shown = poll(whole_picture, "every pixel of the picture on the canvas, unblended")
    xs, ys = sorted({p[0] for p in shown}), sorted({p[1] for p in shown})
    check(len(shown) == len(xs) * len(ys), "every screen pixel over the picture shows a picture pixel, unblended")
    columns, rows = [shown[(x, ys[0])][0] for x in xs], [shown[(xs[0], y)][1] for y in ys]
    check(all(shown[(x, y)] == (c, r) for x, c in zip(xs, columns) for y, r in zip(ys, rows)),
          "the picture's pixels line up in rows and columns")
    sizes = {math.floor(scale), math.ceil(scale)}
    for name, line, count in (("wide", columns, PATTERN_W), ("high", rows, PATTERN_H)):
        runs = blocks(line)[1:-1]  # the edge blocks may be cut by the window
        check(len(runs) == count - 2 and set(runs) <= sizes and abs(sum(runs) - scale * len(runs)) <= 1,
              "each canvas pixel is %s screen pixels %s (got %s)" % (" or ".join(map(str, sorted(sizes))), name, runs))

    def block(p):
        return [q for q, c in shown.items() if c == p]

    def colours(shot, p):
        return {shot.pixel(*q) for q in block(p)}

    def grab_when(condition, what):
        return poll(lambda: (lambda shot: shot if condition(shot) else None)(s.grab()), what)

    press = min(block(PRESS))  # the block's top-left screen pixel
    release = max(block(RELEASE))  # and its bottom-right one
    far = (RELEASE[0] - 1, RELEASE[1] - 1)
    s.key("alt+i", "r")
    s.pointer_to(*press)
    s.xdo("mousedown", 1)
    for i in (1, 2, 3, 4):
        s.pointer_to(press[0] + (release[0] - press[0]) * i // 4, press[1] + (release[1] - press[1]) * i // 4)
    # The rubber band, drawn by inverting, changes every pixel it covers.
    shot = grab_when(lambda t: all(pattern_colour(*p) not in colours(t, p) for p in (PRESS, far)),
                     "the band from the press to the pointer")
    for outside in ((PRESS[0] - 1, PRESS[1]), (PRESS[0], PRESS[1] - 1), RELEASE):
        check(colours(shot, outside) == {pattern_colour(*outside)},
              "the canvas pixel %s beyond the band still shows the picture" % (outside,))
    s.xdo("mouseup", 1)
    # The new rectangle is outlined dash-dot in grey, its gaps white.
    shot = grab_when(lambda t: colours(t, PRESS) in ({GREY}, {WHITE}), "the rectangle's corner under the press")
    for outside in ((PRESS[0] - 1, PRESS[1]), (PRESS[0], PRESS[1] - 1)):
        check(colours(shot, outside) == {pattern_colour(*outside)},
              "the canvas pixel %s beyond the rectangle shows the picture" % (outside,))
    s.screenshot("scaled-%s" % sys.argv[2])
