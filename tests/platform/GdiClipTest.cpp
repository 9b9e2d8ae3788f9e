// Clipping and damage recording, checked on thousands of random drawing
// calls of every kind the device context offers (and the picture calls that
// write its surface): a call made under a clip rectangle must change exactly
// the pixels the same call changes without it that lie inside the rectangle,
// and the damage a call records must hold every pixel it changed, inside the
// surface and the clip.
#include "GdiTestSupport.h"

#include "platform/DamageRegion.h"
#include "platform/Picture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace gditest;

namespace {

constexpr int kW = 120, kH = 90;

struct Call {
    std::string what;
    std::function<void(CDC&)> draw;
};

class RandomCalls {
public:
    explicit RandomCalls(unsigned seed) : m_random(seed), m_source(NoiseSurface(40, 30, seed)), m_sourceDC(m_source)
    {
        QImage translucent(9, 7, QImage::Format_ARGB32);
        for (const auto& [x, y] : Box(0, 0, 9, 7))
            translucent.setPixel(x, y, qRgba(x * 28, y * 36, 200, (x * 40 + y * 13) % 256));
        m_picture = std::make_shared<CPicture>(translucent);
    }

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_random); }
    // A coordinate near the surface, now and then far beyond it.
    int Coord(int extent)
    {
        switch (Uniform(0, 39)) {
        case 0: return Uniform(-1, 1) * (1 << 29) + Uniform(-5, 5);  // cropped by eight in line stepping
        case 1: return Uniform(-400000, 400000);                     // an ellipse too large to step
        default: return Uniform(-20, extent + 10);
        }
    }
    COLORREF Color() { return RGB(Uniform(0, 255), Uniform(0, 255), Uniform(0, 255)); }

    Call Next()
    {
        // A random pen (any style, now and then wide), brush, ROP2, background and stretch mode.
        const CPen pen(Uniform(PS_SOLID, 6), Uniform(0, 3) == 0 ? Uniform(2, 6) : 1, Color());
        const CBrush brush = Uniform(0, 3) == 0 ? CBrush::Null() : Uniform(0, 1) ? CBrush::White() : CBrush::Solid(Color());
        const int rop2 = Uniform(R2_BLACK, R2_WHITE), bkMode = Uniform(0, 1) ? OPAQUE : TRANSPARENT;
        const int stretch = Uniform(BLACKONWHITE, HALFTONE);
        const COLORREF bk = Color();
        const std::string state = " (pen " + std::to_string(pen.Style()) + "/" + std::to_string(pen.Width()) + " rop2 " +
                                  std::to_string(rop2) + (brush.IsNull() ? " no brush" : " brush") + " stretch " +
                                  std::to_string(stretch) + ")";
        const auto setUp = [=](CDC& dc) {
            dc.SelectPen(pen);
            dc.SelectBrush(brush);
            dc.SetROP2(rop2);
            dc.SetBkMode(bkMode);
            dc.SetBkColor(bk);
            dc.SetStretchBltMode(stretch);
            dc.SetTextColor(bk ^ 0xFFFFFF);
        };
        const int x = Coord(kW), y = Coord(kH), x2 = Coord(kW), y2 = Coord(kH);
        const RECT box{Coord(kW), Coord(kH), Coord(kW), Coord(kH)};
        // Block sizes stay moderate: the source is small and stretches are
        // about which pixels land where, not about size.
        const int w = Uniform(-40, 80), h = Uniform(-30, 60), sw = Uniform(-30, 45), sh = Uniform(-20, 35);
        const int sx = Uniform(-5, 30), sy = Uniform(-5, 22);
        const bool fromSelf = Uniform(0, 3) == 0;
        const CDC* sourceDC = &m_sourceDC;
        const std::shared_ptr<const CPicture> picture = m_picture;
        const DWORD rops[] = {SRCCOPY, 0x00660046 /* SRCINVERT */, 0x008800C6 /* SRCAND */, 0x00EE0086 /* SRCPAINT */,
                              0x00330008 /* NOTSRCCOPY */};
        const DWORD pats[] = {PATCOPY, 0x005A0049 /* PATINVERT */, 0x00550009 /* DSTINVERT */,
                              0x00000042 /* BLACKNESS */, 0x00FF0062 /* WHITENESS */};
        const DWORD rop = rops[Uniform(0, 4)], pat = pats[Uniform(0, 4)];
        const std::uint32_t argb = (static_cast<std::uint32_t>(Uniform(0, 255)) << 24) | (Color() & 0xFFFFFF);
        const UINT textFormat = Uniform(0, 1) ? DT_NOPREFIX : 0u;
        const COLORREF fill = Color();
        const int pixelX = Uniform(-5, kW + 5), pixelY = Uniform(-5, kH + 5);
        const std::pair<const char*, std::function<void(CDC&)>> calls[] = {
            {"LineTo", [=](CDC& dc) { dc.MoveTo(x, y); dc.LineTo(x2, y2); }},
            {"Rectangle", [=](CDC& dc) { dc.Rectangle(box); }}, {"Ellipse", [=](CDC& dc) { dc.Ellipse(box); }},
            {"PatBlt", [=](CDC& dc) { dc.PatBlt(x, y, w, h, pat); }},
            {"FillRect", [=](CDC& dc) { dc.FillRect(box, CBrush::Solid(fill)); }},
            {"StretchBlt", [=](CDC& dc) { dc.StretchBlt(x, y, w, h, fromSelf ? dc : *sourceDC, sx, sy, sw, sh, rop); }},
            {"BitBlt", [=](CDC& dc) { dc.BitBlt(x, y, w, h, fromSelf ? dc : *sourceDC, sx, sy, rop); }},
            {"SetPixel", [=](CDC& dc) { dc.SetPixel(pixelX, pixelY, fill); }},
            {"DrawPicture", [=](CDC& dc) {
                 DrawPicture(dc, *picture, x % 200, y % 200);
                 DrawPictureStretched(dc, *picture, x2 % 200, y2 % 200, w, h);
             }},
            {"FillEllipseArgb", [=](CDC& dc) { FillEllipseArgb(dc, argb, x % 300, y % 300, std::abs(w), std::abs(h)); }},
            {"DrawText", [=](CDC& dc) {
                 RECT rc{x % 200, y % 200, x % 200 + std::abs(w), y % 200 + std::abs(h)};
                 dc.DrawText(QStringLiteral("Clip me, gently\nand twice"), rc, textFormat);
             }},
        };
        const int kind = Uniform(0, 10);
        const auto& [what, draw] = calls[kind];
        return Call{what + state + (fromSelf ? " from itself" : ""), [=, draw = draw](CDC& dc) {
                        setUp(dc);
                        draw(dc);
                    }};
    }

private:
    std::mt19937 m_random;
    QImage m_source;
    CDC m_sourceDC;
    std::shared_ptr<const CPicture> m_picture;
};

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

TEST(GdiClipTest, AClippedCallChangesExactlyTheUnclippedCallsPixelsInsideTheClipAndRecordsWhereItDrew)
{
    RandomCalls calls(20261206);
    std::mt19937 random(7);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    // Per kind of call, how many calls changed pixels inside their clip.
    std::map<std::string, int> mattered;
    for (int i = 0; i < 4000; ++i) {
        const Call call = calls.Next();
        SCOPED_TRACE("call " + std::to_string(i) + ": " + call.what);
        const QImage start = NoiseSurface(kW, kH, static_cast<std::uint32_t>(i));
        // Mostly a part of the surface; now and then empty or beyond it.
        const int cl = uniform(-10, kW - 20), ct = uniform(-10, kH - 20);
        const RECT clip{cl, ct, cl + uniform(-3, kW), ct + uniform(-3, kH)};
        QImage whole = start, clipped = start;
        CDamageRegion wholeDamage, clippedDamage;
        for (auto [image, damage, clipTo] : {std::tuple{&whole, &wholeDamage, (const RECT*)nullptr},
                                             std::tuple{&clipped, &clippedDamage, &clip}}) {
            CDC dc(*image);
            dc.RecordDamage(damage);
            dc.SetClipRect(clipTo);
            call.draw(dc);
        }
        int wrong = 0, changedInside = 0, undamaged = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const QRgb before = start.pixel(x, y), drawn = whole.pixel(x, y), cut = clipped.pixel(x, y);
                wrong += cut != (Inside(clip, x, y) ? drawn : before);
                changedInside += Inside(clip, x, y) && drawn != before;
                undamaged += (drawn != before && !wholeDamage.Contains(x, y)) || (cut != before && !clippedDamage.Contains(x, y));
            }
        ASSERT_EQ(wrong, 0) << "clip " << clip.left << "," << clip.top << "," << clip.right << "," << clip.bottom;
        ASSERT_EQ(undamaged, 0) << "changed pixels outside the damage";
        for (const RECT& r : clippedDamage.Rects())
            ASSERT_EQ(IntersectedRect(r, IntersectedRect(clip, RECT{0, 0, kW, kH})), r) << "damage beyond the clip";
        mattered[call.what.substr(0, call.what.find(' '))] += changedInside > 0;
    }
    // Every kind of call did draw inside its clip many times: the check
    // compared drawing, not untouched surfaces.
    ASSERT_EQ(mattered.size(), 11u);
    for (const auto& [kind, calls] : mattered)
        EXPECT_GT(calls, 25) << kind;
}
