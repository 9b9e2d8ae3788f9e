// Helpers of the device-context tests: small surfaces, pixel sets, and a
// picture of a surface for failure messages.
#pragma once

#include "platform/Gdi.h"

#include <QImage>

#include <cstdint>
#include <set>
#include <string>
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

inline COLORREF At(const QImage& image, int x, int y) { return PixelToColor(image.pixel(x, y)); }

// The pixels whose colour is not `background`.
inline PixelSet PixelsNot(const QImage& image, COLORREF background = RGB(255, 255, 255))
{
    PixelSet set;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (At(image, x, y) != background)
                set.insert({x, y});
    return set;
}

// The pixels of one colour.
inline PixelSet PixelsOf(const QImage& image, COLORREF color)
{
    PixelSet set;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (At(image, x, y) == color)
                set.insert({x, y});
    return set;
}

// Every pixel of [l, r) x [t, b).
inline PixelSet Box(int l, int t, int r, int b)
{
    PixelSet set;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            set.insert({x, y});
    return set;
}

// '.' background, '#' black, 'o' anything else; one line a row.
inline std::string Picture(const QImage& image, COLORREF background = RGB(255, 255, 255))
{
    std::string s;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const COLORREF c = At(image, x, y);
            s += c == background ? '.' : c == 0 ? '#' : 'o';
        }
        s += '\n';
    }
    return s;
}

// A deterministic pseudo-random opaque surface.
inline QImage NoiseSurface(int w, int h, std::uint32_t seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    std::uint32_t v = seed * 2654435761u + 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            v ^= v << 13;
            v ^= v >> 17;
            v ^= v << 5;
            image.setPixel(x, y, 0xFF000000u | (v & 0xFFFFFFu));
        }
    return image;
}

}  // namespace gditest
