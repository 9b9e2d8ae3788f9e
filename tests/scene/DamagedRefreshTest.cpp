// The refresh redraws only where the canvas can differ from the design, and
// what it leaves is what the reference refresh gives: after picture files
// change on disk, with the conditions every figure depends on changed, and
// in drawings sparse and dense, where the redraws leave out what is painted
// over. (Random editing, with restacks and drawing between refreshes, is
// PartialRefreshTest's.)
#include "editing/EditingFixture.h"
#include "platform/Picture.h"
#include "resources/ResourceIds.h"
#include "scene/CanvasRecord.h"

#include <QFile>

#include <random>

namespace {

using RefreshMode = CMainFrame::RefreshMode;

class DamagedRefreshTest : public EditingTest {
protected:
    DamagedRefreshTest() { CPicture::ClearCache(); }

    // Refreshes the whole canvas, drawing every figure; the canvas it leaves.
    QImage ReferenceRefresh()
    {
        frame.m_refreshMode = RefreshMode::Reference;
        frame.RefreshCanvas(frame.m_pSelRect != nullptr);
        frame.m_refreshMode = RefreshMode::Damaged;
        return Canvas();
    }
    void ExpectAsReference()
    {
        const QImage now = Canvas();
        EXPECT_EQ(Diff(now, ReferenceRefresh()).size(), 0u);
    }
    // Refreshes; true when the refresh was a partial one.
    bool Refresh()
    {
        const int before = frame.m_refreshCounts.partial;
        frame.RefreshCanvas(false);
        return frame.m_refreshCounts.partial > before;
    }
    // Rewrites a picture file in another colour with a later time stamp.
    void Rewrite(const QString& name, COLORREF fill)
    {
        QFile file(Picture(name, 30, 20, fill));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    }
};

TEST_F(DamagedRefreshTest, PicturesChangedOnDiskAreRedrawnTheRestLeftAloneAndTheWholeCanvasWhenTheRecordCannotVouch)
{
    const QString tile = Picture(QStringLiteral("tile.png"), 30, 20, kBlue);
    AddPicture(FK_RECTANGLE, RECT{100, 100, 160, 140}, tile);
    AddBorder(RECT{200, 50, 400, 250}, 20, 20, tile);
    Add(FK_RECTANGLE, RECT{500, 300, 520, 320}, kBlack, kRed);
    frame.m_bBackground = 1;
    frame.m_strBackground = Picture(QStringLiteral("back.png"), 30, 20, kRed);
    Refresh();
    Rewrite(QStringLiteral("tile.png"), kGreen);
    Rewrite(QStringLiteral("back.png"), kBlack);
    EXPECT_TRUE(Refresh());
    EXPECT_EQ(Pixel(130, 120), kGreen);
    EXPECT_EQ(Pixel(210, 60), kGreen);
    EXPECT_EQ(Pixel(15, 15), kBlack);
    ExpectAsReference();
    // A file that goes away shows nothing any more.
    ASSERT_TRUE(QFile::remove(tile));
    EXPECT_TRUE(Refresh());
    EXPECT_EQ(Pixel(130, 120), kWhite);
    ExpectAsReference();
    frame.m_bmpCanvas.setPixel(560, 30, ColorToPixel(kGreen));  // behind the DC's back
    Add(FK_ELLIPSE, RECT{500, 10, 550, 50}, kBlack, kRed);
    EXPECT_TRUE(Refresh());
    EXPECT_EQ(Pixel(560, 30), kGreen) << "beside the change: left as it was";
    // A change of the conditions every figure depends on, and drawing over
    // the canvas without the refresh, ask for the whole refresh.
    frame.m_pCanvasDC->SetStretchBltMode(COLORONCOLOR);
    EXPECT_FALSE(Refresh());
    EXPECT_TRUE(Refresh());
    frame.RedrawFigures();
    EXPECT_FALSE(Refresh());
    // New clears the canvas, which the record knows: the next refresh is partial.
    frame.OnCommand(ID_FILE_NEW);
    Add(FK_ELLIPSE, RECT{10, 10, 50, 50}, kBlack, kRed);
    EXPECT_TRUE(Refresh());
    ExpectAsReference();
}

// Few figures or hundreds, of every kind, some inverted, tiny, huge or off
// the canvas, over an opaque background (the clearing and the background are
// then left out where figures paint every pixel), one with a transparent
// pixel, or none; each drawing redrawn whole, then edited and refreshed only
// where it changed.
TEST_F(DamagedRefreshTest, RedrawsThatLeaveOutWhatIsPaintedOverLeaveTheReferenceCanvas)
{
    QImage back(700, 500, QImage::Format_ARGB32);
    back.fill(qRgb(40, 90, 200));
    const QString opaque = dir.filePath(QStringLiteral("back.png")), holed = dir.filePath(QStringLiteral("holed.png"));
    ASSERT_TRUE(back.save(opaque));
    back.setPixel(3, 3, qRgba(0, 0, 0, 0));
    ASSERT_TRUE(back.save(holed));
    const QString tile = Picture(QStringLiteral("tile.png"), 30, 20, kBlue);
    std::mt19937 random(11);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    int edits = 0, partial = 0;
    for (int scene = 0; scene < 24; ++scene) {
        SCOPED_TRACE("scene " + std::to_string(scene));
        g_pFigures->RemoveAll();
        frame.m_bBackground = scene % 3 != 2;
        frame.m_strBackground = scene % 3 == 1 ? holed : opaque;
        const bool dense = scene % 2;
        for (int i = dense ? 500 : uniform(1, 30); i > 0; --i) {
            const int l = uniform(-100, 1100), t = uniform(-100, 850);
            const RECT rc{l, t, l + uniform(-30, 400), t + uniform(-30, 300)};
            const COLORREF line = RGB(uniform(0, 255), 0, uniform(0, 255)), fill = RGB(0, uniform(0, 255), 90);
            switch (uniform(0, 9)) {
            case 0: Add(FK_LINE, rc, line, fill); break;
            case 1: AddPicture(FK_RECTANGLE, rc, tile); break;
            case 2: AddBorder(rc, uniform(5, 40), uniform(5, 40), tile); break;
            case 3: AddPicture(FK_RECTANGLE, rc, tile, 12.5, 9.25); break;
            case 4: case 5: case 6: Add(FK_ELLIPSE, rc, line, fill); break;
            default: Add(FK_RECTANGLE, rc, line, fill); break;
            }
        }
        if (scene % 4 == 3)
            frame.m_pCanvasDC->SelectBrush(CBrush::Null());  // ellipses then hide nothing
        const auto hidden = HiddenFigures(*g_pFigures, frame.m_cxCanvas, frame.m_cyCanvas, frame.m_pCanvasDC->GetBrush());
        EXPECT_TRUE(!dense || std::count(hidden.begin(), hidden.end(), true) > 50) << "most figures painted over";
        // Each redraw starts from a canvas to clear and a DC as a drag leaves it.
        const auto redraw = [&](RefreshMode mode) {
            frame.m_refreshMode = mode;
            frame.m_pCanvasDC->FillRect(RECT{0, 0, frame.m_cxCanvas, frame.m_cyCanvas}, CBrush::Solid(kRed));
            frame.m_pCanvasDC->SetROP2(R2_NOTXORPEN);
            frame.m_pCanvasDC->MoveTo(1, 2);
            frame.RefreshCanvas(false);
            return std::pair{Canvas(), frame.m_pCanvasDC->GetCurrentPosition()};
        };
        const auto reference = redraw(RefreshMode::Reference), whole = redraw(RefreshMode::Whole);
        ASSERT_EQ(Diff(whole.first, reference.first).size(), 0u);
        EXPECT_EQ(whole.second, reference.second);
        EXPECT_EQ(frame.m_pCanvasDC->GetROP2(), R2_COPYPEN);
        frame.m_refreshMode = RefreshMode::Damaged;
        frame.RefreshCanvas(false);
        for (int edit = 0; edit < 6 && g_pFigures->GetSize() > 0; ++edit, ++edits) {
            const int i = uniform(0, g_pFigures->GetSize() - 1);
            const CShapeFigure& f = Fig(i);
            if (IsShapeKind(f.m_nKind) && edit % 3 != 2)
                g_pFigures->SetAt(i, CShapeFigure::Shape(f.m_nKind, OffsetRectBy(f.m_rect, uniform(-40, 40), uniform(-40, 40)),
                                                         f.LineColor(), f.FillColor()));
            else
                g_pFigures->RemoveAt(i);
            partial += Refresh();
            const QImage refreshed = Canvas();
            ASSERT_EQ(Diff(refreshed, ReferenceRefresh()).size(), 0u) << "edit " << edit;
        }
        frame.m_pCanvasDC->SelectBrush(CBrush::White());
    }
    EXPECT_GT(2 * partial, edits);
}

}  // namespace
