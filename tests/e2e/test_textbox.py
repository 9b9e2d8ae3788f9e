"""Typing into a text box through the real keyboard: letters, Enter and
Backspace edit the text; the arrow keys, Home, End and Delete change nothing;
a key held with Alt types nothing, whether or not a menu answers it."""
import sys

from harness import Session, check, ink_lines, place_box, poll

BOX = (100, 100, 300, 200)
INSIDE = (BOX[0] + 2, BOX[1] + 2, BOX[2] - 2, BOX[3] - 2)
AWAY = (600, 400)


def lines(s):
    return ink_lines(s.grab().canvas_pixel, INSIDE)


with Session(sys.argv[1]) as s:
    place_box(s, BOX)
    check(lines(s) == [], "the new box is empty")
    s.click((150, 150))
    s.type("Hello")
    s.key("Return")
    s.type("World!")
    s.key("BackSpace")
    s.click(AWAY)  # no caret in the pictures
    first, second = poll(lambda: (lambda l: l if len(l) == 2 else None)(lines(s)), "two lines of text")
    check(first[0] < second[0], "the text shows on two lines")

    # A click right of the second line puts the caret at its end; the keys an
    # edit control would act on do nothing, then an X lands after the line.
    s.click((BOX[2] - 10, (second[0] + second[1]) // 2))
    s.key("Left", "Left", "Home", "Up", "Delete", "Right", "End", "Down", "Delete")
    s.type("X")
    s.click(AWAY)
    now = poll(lambda: (lambda l: l if len(l) == 2 and l[1][3] > second[3] + 4 else None)(lines(s)),
               "the X after the second line")
    check(now[0] == first and now[1][:3] == second[:3], "nothing else changed")

    # Alt with letters, one a menu answers and one none does: nothing typed.
    s.click((BOX[2] - 10, (second[0] + second[1]) // 2))
    s.key("alt+o", "Escape", "alt+x")
    s.click(AWAY)
    check(lines(s) == now, "Alt+O and Alt+X typed nothing")
    s.screenshot("textbox")
