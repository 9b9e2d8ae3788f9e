// A set of surface pixels that may have changed, kept as a short list of
// rectangles. Adding a rectangle never loses pixels: rectangles are merged
// into their bounding box when that costs little area, and when the list
// grows too long the cheapest pair is merged, so the list always covers at
// least every pixel added (and usually not much more).
#pragma once

#include "platform/WinTypes.h"

#include <vector>

class CDamageRegion {
public:
    // At most this many rectangles are kept.
    static constexpr std::size_t kMaxRects = 24;

    // Adds [l, r) x [t, b); an empty rectangle adds nothing. Coordinates are
    // taken as given, not clipped: the owner clips to its surface first.
    void Add(const RECT& rc);
    void Add(const CDamageRegion& other);
    void Clear() { m_rects.clear(); }
    bool Empty() const { return m_rects.empty(); }
    const std::vector<RECT>& Rects() const { return m_rects; }
    // The number of pixels the rectangles cover, overlaps counted once per
    // rectangle (an upper bound of the region's area).
    long long Area() const;
    // Whether the pixel (x, y) lies in the region.
    bool Contains(int x, int y) const;

private:
    std::vector<RECT> m_rects;
};

// Rectangle arithmetic on half-open rectangles.
inline bool IsEmptyRect(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }
inline bool RectsMeet(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
inline RECT BoundingRect(const RECT& a, const RECT& b)
{
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}
inline RECT IntersectedRect(const RECT& a, const RECT& b)
{
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}
inline long long RectArea(const RECT& r)
{
    return IsEmptyRect(r) ? 0 : static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}
