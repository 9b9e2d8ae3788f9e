// Where a selection's handles sit. Drawing the handles (Handles.cpp) and
// finding the handle zone a press lies in (editing/Selection.cpp) read the
// same points.
#pragma once

#include "platform/WinTypes.h"

#include <array>

// A handle is the square from its point - 3 to its point + 3 on both axes.
constexpr int HANDLE_HALF = 3;

// The middle of two coordinates, truncated toward zero, without overflow.
inline int Mid(int a, int b)
{
    return static_cast<int>((static_cast<long long>(a) + b) / 2);
}

// The eight handle points of a rectangle, ellipse or text selection (L, T,
// R, B), in drawing order: top-left, top middle, top-right, right middle,
// bottom-right, bottom middle, bottom-left, left middle.
inline std::array<POINT, 8> BoxHandlePoints(const RECT& rc)
{
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    const int mx = Mid(L, R), my = Mid(T, B);
    return {{{L, T}, {mx, T}, {R, T}, {R, my}, {R, B}, {mx, B}, {L, B}, {L, my}}};
}

// The two handle points of a line selection: its start and its end.
inline std::array<POINT, 2> LineHandlePoints(const RECT& rc)
{
    return {{{rc.left, rc.top}, {rc.right, rc.bottom}}};
}
