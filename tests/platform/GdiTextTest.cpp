// Fonts and text of the device context: the LOGFONT mapping, text extents,
// DrawText's line breaking, clipping, background modes and prefixes.
#include "GdiTestSupport.h"

#include "platform/Gdi.h"

#include <QFontMetrics>
#include <QFontInfo>

#include <gtest/gtest.h>

using namespace gditest;

namespace {

LOGFONT Font(int height, const char* face = "DejaVu Sans", int weight = 0)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    SetFaceName(lf, QString::fromLatin1(face));
    return lf;
}

int LineHeight(const CFont& font) { return QFontMetrics(font.GetQFont()).height(); }

RECT Measure(CDC& dc, const QString& text, int width, UINT format)
{
    RECT rc{10, 20, 10 + width, 20};
    dc.DrawText(text, rc, format | DT_CALCRECT);
    return rc;
}

}  // namespace

TEST(GdiTextTest, ANegativeHeightIsTheEmAndAPositiveOneTheCell)
{
    const CFont em(Font(-20));
    EXPECT_EQ(em.GetQFont().pixelSize(), 20);
    const CFont cell(Font(30));
    EXPECT_NEAR(QFontMetrics(cell.GetQFont()).height(), 30, 1);
    EXPECT_LT(cell.GetQFont().pixelSize(), 30);
    const CFont normal(Font(-12, "DejaVu Sans", 0));
    EXPECT_EQ(normal.GetQFont().weight(), QFont::Normal);
    const CFont bold(Font(-12, "DejaVu Sans", FW_BOLD));
    EXPECT_EQ(bold.GetQFont().weight(), QFont::Bold);
    LOGFONT styled = Font(-12);
    styled.lfItalic = 1;
    styled.lfUnderline = 1;
    const CFont italic(styled);
    EXPECT_TRUE(italic.GetQFont().italic());
    EXPECT_TRUE(italic.GetQFont().underline());
    EXPECT_EQ(italic.GetLogFont(), styled);
}

TEST(GdiTextTest, TextExtentIsTheAdvanceAndTheCellHeight)
{
    QImage image = Surface(10, 10);
    CDC dc(image);
    const CFont font(Font(-16));
    CFontSelection select(dc, font);
    const SIZE one = dc.GetTextExtent(QStringLiteral("W"));
    const SIZE three = dc.GetTextExtent(QStringLiteral("WWW"));
    EXPECT_EQ(one.cy, LineHeight(font));
    EXPECT_EQ(three.cy, one.cy);
    EXPECT_EQ(three.cx, QFontMetrics(font.GetQFont()).horizontalAdvance(QStringLiteral("WWW")));
    EXPECT_GT(three.cx, 2 * one.cx);
    EXPECT_EQ(dc.GetTextExtent(QString()).cx, 0);
}

TEST(GdiTextTest, WordBreakingWrapsBetweenWordsAndTheEditControlAlsoSplitsLongWords)
{
    QImage image = Surface(10, 10);
    CDC dc(image);
    const CFont font(Font(-16));
    CFontSelection select(dc, font);
    const int line = LineHeight(font);
    const int word = dc.GetTextExtent(QStringLiteral("word")).cx;

    RECT one = Measure(dc, QStringLiteral("word word word"), 1000, DT_WORDBREAK);
    EXPECT_EQ(one.bottom - one.top, line);
    RECT three = Measure(dc, QStringLiteral("word word word"), word + word / 2, DT_WORDBREAK);
    EXPECT_EQ(three.bottom - three.top, 3 * line);
    EXPECT_LE(three.right - three.left, word + word / 2);

    const QString longWord = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const int longWidth = dc.GetTextExtent(longWord).cx;
    RECT kept = Measure(dc, longWord, longWidth / 3, DT_WORDBREAK);
    EXPECT_EQ(kept.bottom - kept.top, line);
    EXPECT_EQ(kept.right - kept.left, longWidth);  // wider than the rectangle
    RECT split = Measure(dc, longWord, longWidth / 3, DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_GE(split.bottom - split.top, 3 * line);
    EXPECT_LE(split.right - split.left, longWidth / 3);

    RECT lines = Measure(dc, QStringLiteral("a\r\nb\nc\rd"), 1000, DT_WORDBREAK);
    EXPECT_EQ(lines.bottom - lines.top, 4 * line);
    RECT single = Measure(dc, QStringLiteral("a\r\nb"), 1000, DT_SINGLELINE);
    EXPECT_EQ(single.bottom - single.top, line);
    RECT empty = Measure(dc, QString(), 100, DT_WORDBREAK);
    EXPECT_EQ(empty.bottom, empty.top);
}

TEST(GdiTextTest, DrawTextPaintsGlyphsOnlyInsideTheRectangleInTheTextColour)
{
    QImage image = Surface(120, 40, RGB(0, 0, 255));
    CDC dc(image);
    const CFont font(Font(-20));
    CFontSelection select(dc, font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 0, 0));
    RECT rc{10, 5, 60, 35};
    const int height = dc.DrawText(QStringLiteral("MMMMMMMMMM"), rc, 0);
    EXPECT_EQ(height, LineHeight(font));
    const PixelSet touched = PixelsNot(image, RGB(0, 0, 255));
    ASSERT_FALSE(touched.empty());
    for (const Pixel& p : touched) {
        EXPECT_GE(p.first, 10);
        EXPECT_LT(p.first, 60);
        EXPECT_GE(p.second, 5);
        EXPECT_LT(p.second, 35);
    }
    EXPECT_FALSE(PixelsOf(image, RGB(255, 0, 0)).empty());

    // Without clipping the same text runs on past the rectangle.
    QImage free = Surface(200, 40, RGB(0, 0, 255));
    CDC fdc(free);
    CFontSelection fselect(fdc, font);
    fdc.SetBkMode(TRANSPARENT);
    RECT frc{10, 5, 60, 35};
    fdc.DrawText(QStringLiteral("MMMMMMMMMM"), frc, DT_NOCLIP);
    int right = 0;
    for (const Pixel& p : PixelsNot(free, RGB(0, 0, 255)))
        right = std::max(right, p.first);
    EXPECT_GT(right, 100);
}

TEST(GdiTextTest, OpaqueModeFillsEachLineBoxWithTheBackgroundColour)
{
    QImage image = Surface(200, 60, RGB(0, 0, 255));
    CDC dc(image);
    const CFont font(Font(-16));
    CFontSelection select(dc, font);
    const SIZE extent = dc.GetTextExtent(QStringLiteral("Hi there"));
    RECT rc{0, 0, 200, 60};
    dc.DrawText(QStringLiteral("Hi there"), rc, 0);  // OPAQUE, white background by default
    const PixelSet painted = PixelsNot(image, RGB(0, 0, 255));
    EXPECT_EQ(painted, Box(0, 0, extent.cx, extent.cy));
}

TEST(GdiTextTest, AmpersandsArePrefixesUnlessTurnedOff)
{
    QImage image = Surface(10, 10);
    CDC dc(image);
    const CFont font(Font(-16));
    CFontSelection select(dc, font);
    EXPECT_EQ(Measure(dc, QStringLiteral("Save &As"), 1000, 0).right - 10, dc.GetTextExtent(QStringLiteral("Save As")).cx);
    EXPECT_EQ(Measure(dc, QStringLiteral("R&&D"), 1000, 0).right - 10, dc.GetTextExtent(QStringLiteral("R&D")).cx);
    EXPECT_EQ(Measure(dc, QStringLiteral("R&&D"), 1000, 0x0800 /* DT_NOPREFIX */).right - 10,
              dc.GetTextExtent(QStringLiteral("R&&D")).cx);
}
