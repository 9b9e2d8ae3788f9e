// Helpers of the device-context tests: small surfaces and pixel sets.
#pragma once

#include "platform/Gdi.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <utility>

namespace gditest {

using Pixel = std::pair<int, int>;  // x, y
using PixelSet = std::set<Pixel>;

inline QImage Surface(int w, int h, COLORREF fill = RGB(255, 255, 255))
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(ColorToPixel(fill));
    return image;
}

// A white w x h surface after `draw` drew on it.
inline QImage Drawn(int w, int h, const std::function<void(CDC&)>& draw)
{
    QImage image = Surface(w, h);
    CDC dc(image);
    draw(dc);
    return image;
}

inline COLORREF At(const QImage& image, int x, int y) { return PixelToColor(image.pixel(x, y)); }

// The pixels of `color`, or with `match` false those of any other colour.
inline PixelSet PixelsOf(const QImage& image, COLORREF color, bool match = true)
{
    PixelSet set;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((At(image, x, y) == color) == match)
                set.insert({x, y});
    return set;
}

inline PixelSet PixelsNot(const QImage& image, COLORREF c = RGB(255, 255, 255)) { return PixelsOf(image, c, false); }

// Every pixel of [l, r) x [t, b).
inline PixelSet Box(int l, int t, int r, int b)
{
    PixelSet set;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            set.insert({x, y});
    return set;
}

// The pixels of a cx x cy surface whose centres lie inside the ellipse
// inscribed in (x, y, w, h) or on it: in doubled coordinates from its middle,
// u^2 h^2 + v^2 w^2 <= w^2 h^2.
inline PixelSet EllipseCentres(int x, int y, int w, int h, int cx, int cy)
{
    PixelSet set;
    for (const auto& [px, py] : Box(0, 0, cx, cy)) {
        const long long u = 2LL * (px - x) + 1 - w, v = 2LL * (py - y) + 1 - h;
        if (u * u * h * h + v * v * w * w <= 1LL * w * w * h * h)
            set.insert({px, py});
    }
    return set;
}

// A deterministic pseudo-random opaque surface.
inline QImage NoiseSurface(int w, int h, std::uint32_t seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xFF000000u | static_cast<QRgb>(random()));
    return image;
}

}  // namespace gditest
