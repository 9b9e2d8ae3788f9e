// Fonts and text of the device context: the LOGFONT mapping, text extents,
// DrawText's line breaking, clipping, background modes and prefixes.
#include "GdiTestSupport.h"

#include "platform/Gdi.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace gditest;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);

LOGFONT Font(int height)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    SetFaceName(lf, QStringLiteral("DejaVu Sans"));
    return lf;
}

// A DC on a blue surface with a DejaVu Sans font selected.
struct TextDc {
    explicit TextDc(int w = 10, int h = 10, int height = -16) : image(Surface(w, h, kBlue)), font(Font(height)) {}
    int Line() const { return QFontMetrics(font.GetQFont()).height(); }
    // The size of the rectangle DT_CALCRECT gives for `width` to break in.
    SIZE Measure(const char* text, int width, UINT format = DT_WORDBREAK)
    {
        RECT rc{10, 20, 10 + width, 20};
        dc.DrawText(QString::fromLatin1(text), rc, format | DT_CALCRECT);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    int Width(const char* text) { return dc.GetTextExtent(QString::fromLatin1(text)).cx; }
    QImage image;
    CDC dc{image};
    CFont font;
    CFontSelection select{dc, font};
};

}  // namespace

TEST(GdiTextTest, WordBreakingWrapsBetweenWordsAndTheEditControlAlsoSplitsLongWords)
{
    TextDc t;
    const int line = t.Line(), word = t.Width("word"), alphabet = t.Width("abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(t.dc.GetTextExtent(QStringLiteral("word")).cy, line);
    EXPECT_EQ(t.Measure("word word word", 1000).cy, line);
    const SIZE three = t.Measure("word word word", word + word / 2);
    EXPECT_EQ(three.cy, 3 * line);
    EXPECT_LE(three.cx, word + word / 2);
    EXPECT_EQ(t.Measure("abcdefghijklmnopqrstuvwxyz", alphabet / 3), (SIZE{alphabet, line}));  // wider than the rectangle
    const SIZE split = t.Measure("abcdefghijklmnopqrstuvwxyz", alphabet / 3, DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_GE(split.cy, 3 * line);
    EXPECT_LE(split.cx, alphabet / 3);
    EXPECT_EQ(t.Measure("a\r\nb\nc\rd", 1000).cy, 4 * line);
    EXPECT_EQ(t.Measure("a\r\nb", 1000, DT_SINGLELINE).cy, line);
    EXPECT_EQ(t.Measure("", 100).cy, 0);
}

TEST(GdiTextTest, DrawTextPaintsInTheTextColourInsideTheRectangleUnlessToldNotToClip)
{
    for (const UINT format : {0u, static_cast<UINT>(DT_NOCLIP)}) {
        TextDc t(200, 40, -20);
        t.dc.SetBkMode(TRANSPARENT);
        t.dc.SetTextColor(RGB(255, 0, 0));
        RECT rc{10, 5, 60, 35};
        EXPECT_EQ(t.dc.DrawText(QStringLiteral("MMMMMMMMMM"), rc, format), t.Line());
        ASSERT_FALSE(PixelsOf(t.image, RGB(255, 0, 0)).empty());
        const PixelSet touched = PixelsNot(t.image, kBlue);
        PixelSet inside = touched;
        std::erase_if(inside, [](const Pixel& p) { return p.first < 10 || p.first >= 60 || p.second < 5 || p.second >= 35; });
        EXPECT_EQ(touched == inside, format == 0);
        EXPECT_EQ(touched.rbegin()->first >= 100, format != 0);  // the text runs on past the rectangle
    }
}

TEST(GdiTextTest, OpaqueModeFillsEachLineBoxWithTheBackgroundColour)
{
    TextDc t(200, 60);
    const SIZE extent = t.dc.GetTextExtent(QStringLiteral("Hi there"));
    RECT rc{0, 0, 200, 60};
    t.dc.DrawText(QStringLiteral("Hi there"), rc, 0);  // OPAQUE, white background by default
    EXPECT_EQ(PixelsNot(t.image, kBlue), Box(0, 0, extent.cx, extent.cy));
}

TEST(GdiTextTest, AmpersandsArePrefixesUnlessTurnedOff)
{
    TextDc t;
    EXPECT_EQ(t.Measure("Save &As", 1000, 0).cx, t.Width("Save As"));
    EXPECT_EQ(t.Measure("R&&D", 1000, 0).cx, t.Width("R&D"));
    EXPECT_EQ(t.Measure("R&&D", 1000, 0x0800 /* DT_NOPREFIX */).cx, t.Width("R&&D"));
}
