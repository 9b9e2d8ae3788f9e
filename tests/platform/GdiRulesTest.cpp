// Raster rules of the device context that neither the GDI goldens nor the
// clip test pin: the rows of a narrow ellipse GDI leaves unset, drawing on an
// empty surface, text as the glyph tiles draw it, and the averaging shrink of
// the HALFTONE stretch mode against its definition. (Shapes, lines, dashes,
// the ROP2 and the other stretch modes are pinned pixel for pixel by
// GdiGoldenTest, clipping by GdiClipTest, the box inside every ellipse by the
// redraws that leave out what is painted over.)
#include "GdiTestSupport.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace gditest;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

// A DC on a blue surface with DejaVu Sans selected.
struct TextDc {
    explicit TextDc(int w = 10, int h = 10, int height = -16) : image(Surface(w, h, kBlue))
    {
        LOGFONT lf{};
        lf.lfHeight = height;
        SetFaceName(lf, QStringLiteral("DejaVu Sans"));
        font = CFont(lf);
        dc.SelectFont(font);
    }
    int Line() const { return QFontMetrics(font.GetQFont()).height(); }
    // The width DrawText measures for `text`.
    int Measured(const char* text, UINT format)
    {
        RECT rc{0, 0, 1000, 0};
        dc.DrawText(QString::fromLatin1(text), rc, format | DT_CALCRECT);
        return rc.right;
    }
    int Width(const char* text) { return dc.GetTextExtent(QString::fromLatin1(text)).cx; }
    QImage image;
    CDC dc{image};
    CFont font;
};

QImage Greys(const std::vector<int>& greys)
{
    QImage image(static_cast<int>(greys.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 0, qRgb(greys[x], greys[x], greys[x]));
    return image;
}

std::vector<int> GreysOf(const QImage& image)
{
    std::vector<int> greys;
    for (int x = 0; x < image.width(); ++x)
        greys.push_back(qRed(image.pixel(x, 0)));
    return greys;
}

// `source` stretched in HALFTONE mode onto (x, y, w, h) of a surface of
// `size` (w x h when empty) in RGB(1, 2, 3), under `clip` when given.
QImage Halftone(const QImage& source, int x, int y, int w, int h, QSize size = {}, const RECT* clip = nullptr)
{
    QImage image = Surface(size.isEmpty() ? std::abs(w) : size.width(), size.isEmpty() ? h : size.height(), RGB(1, 2, 3));
    CDC dc(image);
    const CDC src(const_cast<QImage&>(source));
    dc.SetStretchBltMode(HALFTONE);
    dc.SetClipRect(clip);
    dc.StretchBlt(x, y, w, h, src, 0, 0, source.width(), source.height());
    return image;
}

}  // namespace

// GDI leaves the rows its ellipse walk never reaches in a narrow, tall box
// unset (whatever memory held); we leave them empty.
TEST(GdiShapesTest, RowsTheNarrowEllipseNeverReachesStayEmpty)
{
    const QImage image = Drawn(10, 30, [](CDC& dc) {
        dc.SelectPen(CPen::Null());
        dc.SelectBrush(CBrush::Solid(kRed));
        dc.Ellipse(2, 5, 5, 25);
    });
    PixelSet expected = Box(2, 8, 5, 22);
    expected.insert({{3, 7}, {3, 22}});
    EXPECT_EQ(PixelsOf(image, kRed), expected);
}

TEST(GdiShapesTest, DrawingOnAnEmptySurfaceIsSafe)
{
    CMemoryDC empty(0, 5);
    empty.DC().Rectangle(0, 0, 10, 10);
    empty.DC().Ellipse(0, 0, 10, 10);
    empty.DC().PatBlt(0, 0, 10, 10);
    empty.DC().LineTo(5, 5);
    EXPECT_EQ(empty.DC().GetPixel(0, 0), CLR_INVALID);
}

TEST(GdiTextTest, AmpersandsArePrefixesUnlessTurnedOffAndOpaqueModeFillsEachLineBox)
{
    TextDc t(200, 60);
    EXPECT_EQ(t.dc.GetTextExtent(QStringLiteral("word")).cy, t.Line());
    EXPECT_EQ(t.Measured("Save &As", 0), t.Width("Save As"));
    EXPECT_EQ(t.Measured("R&&D", 0), t.Width("R&D"));
    EXPECT_EQ(t.Measured("R&&D", DT_NOPREFIX), t.Width("R&&D"));
    RECT rc{0, 0, 200, 60};
    t.dc.DrawText(QStringLiteral("Hi\nthe&re"), rc, 0);  // OPAQUE, white background by default
    PixelSet boxes = Box(0, 0, t.Width("Hi"), t.Line());
    boxes.merge(Box(0, t.Line(), t.Width("there"), 2 * t.Line()));
    EXPECT_EQ(PixelsNot(t.image, kBlue), boxes) << "each line's own box, the prefix dropped";
}

TEST(GdiTextTest, DrawTextPaintsInTheTextColourInsideTheRectangleUnlessToldNotToClip)
{
    for (const UINT format : {0u, static_cast<UINT>(DT_NOCLIP)}) {
        TextDc t(200, 40, -20);
        t.dc.SetBkMode(TRANSPARENT);
        t.dc.SetTextColor(kRed);
        RECT rc{10, 5, 60, 35};
        EXPECT_EQ(t.dc.DrawText(QStringLiteral("MMMMMMMMMM"), rc, format), t.Line());
        ASSERT_FALSE(PixelsOf(t.image, kRed).empty());
        const PixelSet touched = PixelsNot(t.image, kBlue);
        PixelSet inside = touched;
        std::erase_if(inside, [](const Pixel& p) { return p.first < 10 || p.first >= 60 || p.second < 5 || p.second >= 35; });
        EXPECT_EQ(touched == inside, format == 0);
        EXPECT_EQ(touched.rbegin()->first >= 100, format != 0);  // the text runs on past the rectangle
    }
}

// Each destination pixel is the mean of the source area it covers, pixels
// cut by its edge counting by their share, rounded half up.
TEST(GdiBltTest, HalftoneShrinksEachPixelToTheRoundedMeanOfTheAreaItCovers)
{
    const struct {
        const char* what;
        std::vector<int> source;
        std::vector<int> shrunk;
    } cases[] = {
        {"halves: 127.5 rounds up", {0, 255, 255, 0}, {128, 128}},
        {"three into two: the middle pixel counts half to each", {0, 90, 180}, {30, 150}},
        {"five into two", {10, 20, 30, 40, 50}, {18, 42}},
        {"seven into three: thirds of pixels", {0, 30, 60, 90, 120, 150, 180}, {21, 90, 159}},
        {"all into one", {1, 2, 2}, {2}}, {"mirrored", {0, 90, 180}, {150, 30}},
    };
    for (const auto& c : cases) {
        const int w = static_cast<int>(c.shrunk.size());
        const bool mirrored = c.what[0] == 'm';
        EXPECT_EQ(GreysOf(Halftone(Greys(c.source), mirrored ? w - 1 : 0, 0, mirrored ? -w : w, 1)), c.shrunk) << c.what;
    }

    QImage board(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    EXPECT_EQ(PixelsOf(Halftone(board, 0, 0, 2, 2), RGB(128, 128, 128)), Box(0, 0, 2, 2)) << "a checkerboard halved is flat grey";
    EXPECT_EQ(PixelsOf(Halftone(board, 0, 0, 1, 8), RGB(128, 128, 128)), Box(0, 0, 1, 8)) << "shrunk across, grown down";

    const QImage uniform = Surface(7, 5, RGB(10, 200, 77));
    for (const auto& [w, h] : {std::pair{3, 2}, {1, 1}, {6, 4}, {7, 1}, {2, 9}})
        EXPECT_EQ(PixelsOf(Halftone(uniform, 0, 0, w, h), RGB(10, 200, 77)), Box(0, 0, w, h)) << w << " x " << h;
}

TEST(GdiBltTest, HalftoneReadsOnlyTheSourceSurfaceAndIgnoresTheDestinationEdges)
{
    const QImage three = Greys({0, 90, 180});
    QImage row = Surface(2, 1, RGB(1, 1, 1));
    CDC rowDC(row);
    const CDC threeDC(const_cast<QImage&>(three));
    rowDC.SetStretchBltMode(HALFTONE);
    rowDC.StretchBlt(0, 0, 2, 1, threeDC, -3, 0, 6, 1);
    EXPECT_EQ(GreysOf(row), (std::vector<int>{1, 90})) << "the half before the surface reads nothing";

    // Cut by the surface edges or a clip, a stretch leaves exactly the whole
    // stretch's pixels where it lands, and nothing else.
    const QImage source = NoiseSurface(37, 23, 9);
    const QImage whole = Halftone(source, 0, 0, 11, 7);
    const QRgb untouched = ColorToPixel(RGB(1, 2, 3));
    for (const auto& [x, y] : {std::pair{-5, -3}, {4, 2}, {-10, 5}, {0, 0}})
        for (const RECT& clip : {RECT{0, 0, 12, 8}, RECT{2, 1, 7, 5}, RECT{6, 0, 12, 3}}) {
            const QImage image = Halftone(source, x, y, 11, 7, QSize(12, 8), &clip);
            for (const auto& [px, py] : Box(0, 0, 12, 8)) {
                const bool drawn = px >= clip.left && px < clip.right && py >= clip.top && py < clip.bottom &&
                                   px >= x && px < x + 11 && py >= y && py < y + 7;
                ASSERT_EQ(image.pixel(px, py), drawn ? whole.pixel(px - x, py - y) : untouched)
                    << "at " << px << "," << py << " for the stretch at " << x << "," << y;
            }
        }
}
