#include "platform/DamageRegion.h"

#include <limits>

namespace {

// Area added by replacing a and b with their bounding box.
long long MergeWaste(const RECT& a, const RECT& b)
{
    return RectArea(BoundingRect(a, b)) - RectArea(a) - RectArea(b);
}

// Rectangles this close (in waste) merge at once: two overlapping or touching
// outlines of a drag become one rectangle instead of two that overlap.
constexpr long long kFreeWaste = 64;

// Whether replacing a and b by their bounding box costs little: at most
// kFreeWaste pixels, or at most half the pixels the two hold (the sides of a
// drag's outline a few pixels apart, two shapes side by side).
bool CheapToMerge(const RECT& a, const RECT& b)
{
    const long long waste = MergeWaste(a, b);
    return waste <= kFreeWaste || 2 * waste <= RectArea(a) + RectArea(b);
}

}  // namespace

void CDamageRegion::Add(const RECT& rc)
{
    if (IsEmptyRect(rc))
        return;
    RECT add = rc;
    // Absorb every rectangle the new one covers or merges with cheaply; a
    // merged rectangle may then merge with others, so look again.
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < m_rects.size(); ++i) {
            const RECT& e = m_rects[i];
            const RECT box = BoundingRect(e, add);
            if (box == e)
                return;  // already covered
            if (box == add || CheapToMerge(e, add)) {
                add = box;
                m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(i));
                merged = true;
                break;
            }
        }
    }
    m_rects.push_back(add);
    while (m_rects.size() > kMaxRects) {
        // Merge the pair whose bounding box adds the least area.
        std::size_t bi = 0, bj = 1;
        long long best = std::numeric_limits<long long>::max();
        for (std::size_t i = 0; i < m_rects.size(); ++i)
            for (std::size_t j = i + 1; j < m_rects.size(); ++j)
                if (const long long w = MergeWaste(m_rects[i], m_rects[j]); w < best) {
                    best = w;
                    bi = i;
                    bj = j;
                }
        const RECT box = BoundingRect(m_rects[bi], m_rects[bj]);
        m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(bj));
        m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(bi));
        Add(box);
    }
}

void CDamageRegion::Add(const CDamageRegion& other)
{
    for (const RECT& r : other.m_rects)
        Add(r);
}

long long CDamageRegion::Area() const
{
    long long area = 0;
    for (const RECT& r : m_rects)
        area += RectArea(r);
    return area;
}

bool CDamageRegion::Contains(int x, int y) const
{
    for (const RECT& r : m_rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}
