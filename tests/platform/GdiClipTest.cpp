// Clipping and damage recording, checked on thousands of random drawing
// calls of every kind the device context offers (and the picture calls that
// write its surface): a call made under a clip rectangle must change exactly
// the pixels the same call changes without it that lie inside the rectangle,
// and the damage a call records must hold every pixel it changed.
#include "GdiTestSupport.h"

#include "platform/DamageRegion.h"
#include "platform/Gdi.h"
#include "platform/Picture.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
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
        for (int y = 0; y < translucent.height(); ++y)
            for (int x = 0; x < translucent.width(); ++x)
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
    RECT Box() { return RECT{Coord(kW), Coord(kH), Coord(kW), Coord(kH)}; }
    COLORREF Color() { return RGB(Uniform(0, 255), Uniform(0, 255), Uniform(0, 255)); }

    // Sets a random pen, brush, ROP2 and background on the DC; returns their description.
    std::function<void(CDC&)> State(std::string& what)
    {
        const int styles[] = {PS_SOLID, PS_DASH, 2 /* PS_DOT */, 3 /* PS_DASHDOT */, 4 /* PS_DASHDOTDOT */,
                              5 /* PS_NULL */, 6 /* PS_INSIDEFRAME */};
        const CPen pen(styles[Uniform(0, 6)], Uniform(0, 3) == 0 ? Uniform(2, 6) : 1, Color());
        const CBrush brush = Uniform(0, 3) == 0 ? CBrush::Null() : Uniform(0, 1) ? CBrush::White() : CBrush::Solid(Color());
        const int rop2 = Uniform(R2_BLACK, R2_WHITE);
        const int bkMode = Uniform(0, 1) ? OPAQUE : TRANSPARENT;
        const COLORREF bk = Color();
        const int stretch = Uniform(BLACKONWHITE, COLORONCOLOR);
        what = "pen " + std::to_string(pen.Style()) + "/" + std::to_string(pen.Width()) + " rop2 " +
               std::to_string(rop2) + (brush.IsNull() ? " no brush" : " brush") + " stretch " + std::to_string(stretch);
        return [=](CDC& dc) {
            dc.SelectPen(pen);
            dc.SelectBrush(brush);
            dc.SetROP2(rop2);
            dc.SetBkMode(bkMode);
            dc.SetBkColor(bk);
            dc.SetStretchBltMode(stretch);
            dc.SetTextColor(bk ^ 0xFFFFFF);
        };
    }

    Call Next()
    {
        std::string state;
        const auto setUp = State(state);
        Call call;
        const int x = Coord(kW), y = Coord(kH), x2 = Coord(kW), y2 = Coord(kH);
        const RECT box = Box();
        // Block sizes stay moderate: the source is small and stretches are
        // about which pixels land where, not about size.
        const int w = Uniform(-40, 80), h = Uniform(-30, 60), sw = Uniform(-30, 45), sh = Uniform(-20, 35);
        const int sx = Uniform(-5, 30), sy = Uniform(-5, 22);
        const bool fromSelf = Uniform(0, 3) == 0;
        const CDC* sourceDC = &m_sourceDC;
        const std::shared_ptr<const CPicture> picture = m_picture;
        const DWORD rops[] = {0x00CC0020 /* SRCCOPY */, 0x00660046 /* SRCINVERT */, 0x008800C6 /* SRCAND */,
                              0x00EE0086 /* SRCPAINT */, 0x00330008 /* NOTSRCCOPY */};
        const DWORD pats[] = {PATCOPY, 0x005A0049 /* PATINVERT */, 0x00550009 /* DSTINVERT */,
                              0x00000042 /* BLACKNESS */, 0x00FF0062 /* WHITENESS */};
        const DWORD rop = rops[Uniform(0, 4)], pat = pats[Uniform(0, 4)];
        const std::uint32_t argb = (static_cast<std::uint32_t>(Uniform(0, 255)) << 24) | (Color() & 0xFFFFFF);
        const UINT textFormats[] = {DT_WORDBREAK, DT_WORDBREAK | DT_EDITCONTROL, DT_SINGLELINE | DT_CENTER, DT_RIGHT};
        const UINT textFormat = textFormats[Uniform(0, 3)];
        switch (Uniform(0, 10)) {
        case 0:
            call.what = "LineTo";
            call.draw = [=](CDC& dc) { setUp(dc); dc.MoveTo(x, y); dc.LineTo(x2, y2); };
            break;
        case 1:
            call.what = "Rectangle";
            call.draw = [=](CDC& dc) { setUp(dc); dc.Rectangle(box); };
            break;
        case 2:
            call.what = "Ellipse";
            call.draw = [=](CDC& dc) { setUp(dc); dc.Ellipse(box); };
            break;
        case 3:
            call.what = "PatBlt";
            call.draw = [=](CDC& dc) { setUp(dc); dc.PatBlt(x, y, w, h, pat); };
            break;
        case 4:
            call.what = "FillRect";
            call.draw = [=, c = Color()](CDC& dc) { setUp(dc); dc.FillRect(box, CBrush::Solid(c)); };
            break;
        case 5:
            call.what = fromSelf ? "StretchBlt within the surface" : "StretchBlt";
            call.draw = [=](CDC& dc) {
                setUp(dc);
                dc.StretchBlt(x, y, w, h, fromSelf ? dc : *sourceDC, sx, sy, sw, sh, rop);
            };
            break;
        case 6:
            call.what = "BitBlt";
            call.draw = [=](CDC& dc) { setUp(dc); dc.BitBlt(x, y, w, h, fromSelf ? dc : *sourceDC, sx, sy, rop); };
            break;
        case 7:
            call.what = "SetPixel";
            call.draw = [=](CDC& dc) { setUp(dc); dc.SetPixel(Uniform01(x, kW), Uniform01(y, kH), argb & 0xFFFFFF); };
            break;
        case 8:
            call.what = "DrawPicture / DrawPictureStretched";
            call.draw = [=](CDC& dc) {
                setUp(dc);
                DrawPicture(dc, *picture, x % 200, y % 200);
                DrawPictureStretched(dc, *picture, x2 % 200, y2 % 200, w, h);
            };
            break;
        case 9:
            call.what = "FillEllipseArgb";
            call.draw = [=](CDC& dc) { setUp(dc); FillEllipseArgb(dc, argb, x % 300, y % 300, std::abs(w), std::abs(h)); };
            break;
        default:
            call.what = "DrawText";
            call.draw = [=](CDC& dc) {
                setUp(dc);
                RECT rc{x % 200, y % 200, x % 200 + std::abs(w), y % 200 + std::abs(h)};
                dc.DrawText(QStringLiteral("Clip me, gently\nand twice"), rc, textFormat);
            };
            break;
        }
        call.what += " (" + state + ")";
        return call;
    }

private:
    // A coordinate folded onto the surface and a little beyond.
    static int Uniform01(int v, int extent) { return (v % (extent + 10) + extent + 10) % (extent + 10) - 5; }

    std::mt19937 m_random;
    QImage m_source;
    CDC m_sourceDC;
    std::shared_ptr<const CPicture> m_picture;
};

// The pixels of `after` that differ from `before`, each checked against `allowed`.
template <class Allowed>
int CountOutside(const QImage& before, const QImage& after, Allowed allowed)
{
    int n = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y) && !allowed(x, y))
                ++n;
    return n;
}

}  // namespace

TEST(GdiClipTest, AClippedCallChangesExactlyTheUnclippedCallsPixelsInsideTheClip)
{
    RandomCalls calls(20261206);
    std::mt19937 random(7);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    // Per kind of call, how many calls changed pixels inside their clip.
    std::map<std::string, int> mattered;
    for (int i = 0; i < 3000; ++i) {
        const Call call = calls.Next();
        const QImage start = NoiseSurface(kW, kH, static_cast<std::uint32_t>(i));
        QImage whole = start;
        {
            CDC dc(whole);
            call.draw(dc);
        }
        // Mostly a part of the surface; now and then empty or beyond it.
        const int cl = uniform(-10, kW - 20), ct = uniform(-10, kH - 20);
        const RECT clip{cl, ct, cl + uniform(-3, kW), ct + uniform(-3, kH)};
        QImage clipped = start;
        {
            CDC dc(clipped);
            dc.SetClipRect(&clip);
            call.draw(dc);
        }
        const auto inClip = [&](int x, int y) {
            return x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
        };
        int wrong = 0, changedInside = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const QRgb expected = inClip(x, y) ? whole.pixel(x, y) : start.pixel(x, y);
                wrong += clipped.pixel(x, y) != expected;
                changedInside += inClip(x, y) && whole.pixel(x, y) != start.pixel(x, y);
            }
        mattered[call.what.substr(0, call.what.find(' '))] += changedInside > 0;
        ASSERT_EQ(wrong, 0) << "call " << i << ": " << call.what << ", clip " << clip.left << "," << clip.top << ","
                            << clip.right << "," << clip.bottom;
    }
    // Every kind of call did draw inside its clip many times: the check
    // compared drawing, not untouched surfaces.
    ASSERT_EQ(mattered.size(), 11u);
    for (const auto& [kind, calls] : mattered)
        EXPECT_GT(calls, 25) << kind;
}

TEST(GdiClipTest, TheRecordedDamageHoldsEveryChangedPixelAndStaysInsideTheClip)
{
    RandomCalls calls(41);
    for (int i = 0; i < 3000; ++i) {
        const Call call = calls.Next();
        const QImage start = NoiseSurface(kW, kH, static_cast<std::uint32_t>(i));
        QImage image = start;
        CDamageRegion damage;
        const RECT clip{10, 5, 100, 70};
        {
            CDC dc(image);
            dc.RecordDamage(&damage);
            if (i % 2)
                dc.SetClipRect(&clip);
            call.draw(dc);
        }
        ASSERT_EQ(CountOutside(start, image, [&](int x, int y) { return damage.Contains(x, y); }), 0)
            << "call " << i << ": " << call.what;
        for (const RECT& r : damage.Rects()) {
            ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= kW && r.bottom <= kH) << "call " << i;
            if (i % 2) {
                ASSERT_TRUE(r.left >= clip.left && r.top >= clip.top && r.right <= clip.right && r.bottom <= clip.bottom)
                    << "call " << i << ": " << call.what;
            }
        }
    }
}
