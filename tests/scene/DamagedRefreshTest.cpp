// The refresh redraws only where the canvas can differ from the design, and
// what it leaves is what the reference refresh gives: after picture files
// change on disk, with the conditions every figure depends on changed, and in
// dense drawings where most figures are painted over. (Random editing, with
// restacks and drawing between refreshes, is PartialRefreshTest's.)
#include "editing/EditingFixture.h"
#include "platform/Picture.h"
#include "resources/ResourceIds.h"
#include "scene/CanvasRecord.h"

#include <QFile>

#include <cstring>
#include <random>

namespace {

class DamagedRefreshTest : public EditingTest {
protected:
    DamagedRefreshTest() { CPicture::ClearCache(); }

    // Refreshes the whole canvas; the canvas it leaves.
    QImage WholeRefresh()
    {
        frame.m_refreshMode = CMainFrame::RefreshMode::Reference;
        frame.RefreshCanvas(frame.m_pSelRect != nullptr);
        frame.m_refreshMode = CMainFrame::RefreshMode::Damaged;
        return Canvas();
    }
    // Whether the canvas as it is equals the whole refresh's.
    void ExpectAsWholeRefresh()
    {
        const QImage now = Canvas();
        EXPECT_TRUE(Diff(now, WholeRefresh()).empty());
    }
    // Refreshes; true when the refresh was a partial one.
    bool Refresh(bool withHandles = false)
    {
        const int before = frame.m_refreshCounts.partial;
        frame.RefreshCanvas(withHandles);
        return frame.m_refreshCounts.partial > before;
    }
    // A pixel written straight into the canvas, behind the DC's back: a
    // refresh that does not redraw it leaves it.
    void Mark(int x, int y) { frame.m_bmpCanvas.setPixel(x, y, ColorToPixel(kGreen)); }
    // Rewrites a picture file in another colour with a later time stamp.
    void Rewrite(const QString& path, COLORREF fill)
    {
        QImage img(30, 20, QImage::Format_RGB32);
        img.fill(ColorToPixel(fill));
        ASSERT_TRUE(img.save(path, "PNG"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    }
};

TEST_F(DamagedRefreshTest, MovingOneFigureRedrawsOnlyAroundItsOldAndNewPlace)
{
    for (int i = 0; i < 40; ++i)
        Add(FK_RECTANGLE, RECT{10 * i, 5 * i, 10 * i + 60, 5 * i + 50}, kBlack, RGB(i * 6, 100, 200));
    Add(FK_ELLIPSE, RECT{300, 300, 340, 330}, kRed, kBlue);
    Refresh();
    Click(POINT{320, 315});  // selects the ellipse
    Mark(500, 20);
    Mark(305, 305);
    const int before = frame.m_refreshCounts.partial;
    Drag(POINT{320, 315}, POINT{330, 322});
    EXPECT_EQ(Fig(40).m_rect, (RECT{310, 307, 350, 337}));
    EXPECT_EQ(frame.m_refreshCounts.partial, before + 1);
    EXPECT_EQ(Pixel(500, 20), kGreen) << "far from the change: left as it was";
    EXPECT_NE(Pixel(305, 305), kGreen) << "the ellipse's old place is redrawn";
    const QImage partial = Canvas();
    EXPECT_EQ(Diff(partial, WholeRefresh()), (Pixels{{500, 20}})) << "the mark aside, nothing differs";
}

TEST_F(DamagedRefreshTest, PicturesChangedOnDiskAreRedrawnWhereverTheyShow)
{
    const QString tile = Picture(QStringLiteral("tile.png"), 30, 20, kBlue);
    const QString back = Picture(QStringLiteral("back.png"), 30, 20, kRed);
    AddPicture(FK_RECTANGLE, RECT{100, 100, 160, 140}, tile);
    AddBorder(RECT{200, 50, 400, 250}, 20, 20, tile);
    Add(FK_RECTANGLE, RECT{500, 300, 520, 320}, kBlack, kRed);
    frame.m_bBackground = 1;
    frame.m_strBackground = back;
    Refresh();
    Refresh();
    Rewrite(tile, kGreen);
    Rewrite(back, kBlack);
    EXPECT_TRUE(Refresh());
    EXPECT_EQ(Pixel(130, 120), kGreen);
    EXPECT_EQ(Pixel(210, 60), kGreen);
    EXPECT_EQ(Pixel(15, 15), kBlack);
    ExpectAsWholeRefresh();
    // A file that goes away shows nothing any more.
    ASSERT_TRUE(QFile::remove(tile));
    EXPECT_TRUE(Refresh());
    EXPECT_EQ(Pixel(130, 120), kWhite);
    ExpectAsWholeRefresh();
}

TEST_F(DamagedRefreshTest, ConditionsEveryFigureDependsOnAskForTheWholeRefresh)
{
    Add(FK_RECTANGLE, RECT{10, 10, 50, 50}, kBlack, kRed);
    Refresh();
    EXPECT_TRUE(Refresh());
    const int whole = frame.m_refreshCounts.whole;
    frame.m_pCanvasDC->SetStretchBltMode(COLORONCOLOR);
    EXPECT_FALSE(Refresh());
    EXPECT_TRUE(Refresh());
    frame.RedrawFigures();  // draws over the canvas without the refresh: the record cannot vouch for it
    EXPECT_FALSE(Refresh());
    EXPECT_EQ(frame.m_refreshCounts.whole, whole + 2);
    // New clears the canvas, which the record knows: the next refresh is partial.
    frame.OnCommand(ID_FILE_NEW);
    Add(FK_ELLIPSE, RECT{10, 10, 50, 50}, kBlack, kRed);
    EXPECT_TRUE(Refresh());
    ExpectAsWholeRefresh();
}

TEST_F(DamagedRefreshTest, SkippingHiddenFiguresLeavesWhatDrawingEveryFigureLeaves)
{
    const QString tile = Picture(QStringLiteral("tile.png"), 30, 20, kBlue);
    frame.m_bBackground = 1;
    frame.m_strBackground = Picture(QStringLiteral("back.png"), 300, 200, kRed);
    std::mt19937 random(11);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int scene = 0; scene < 8; ++scene) {
        g_pFigures->RemoveAll();
        // Dense: hundreds of figures of every kind, some inverted, tiny,
        // huge or off the canvas, over the background.
        for (int i = 0; i < 500; ++i) {
            const int l = uniform(-100, 1100), t = uniform(-100, 850);
            const RECT rc{l, t, l + uniform(-30, 400), t + uniform(-30, 300)};
            const COLORREF line = RGB(uniform(0, 255), 0, uniform(0, 255)), fill = RGB(0, uniform(0, 255), 90);
            switch (uniform(0, 9)) {
            case 0: Add(FK_LINE, rc, line, fill); break;
            case 1: AddPicture(FK_RECTANGLE, rc, tile); break;
            case 2: AddBorder(rc, uniform(5, 40), uniform(5, 40), tile); break;
            case 3: AddPicture(FK_RECTANGLE, rc, tile, 12.5, 9.25); break;
            case 4:
            case 5:
            case 6: Add(FK_ELLIPSE, rc, line, fill); break;
            default: Add(FK_RECTANGLE, rc, line, fill); break;
            }
        }
        if (scene % 4 == 3)
            frame.m_pCanvasDC->SelectBrush(CBrush::Null());  // ellipses then hide nothing
        const std::vector<bool> hidden =
            HiddenFigures(*g_pFigures, frame.m_cxCanvas, frame.m_cyCanvas, frame.m_pCanvasDC->GetBrush());
        EXPECT_GT(std::count(hidden.begin(), hidden.end(), true), 50) << "scene " << scene;
        for (const CMainFrame::RefreshMode mode : {CMainFrame::RefreshMode::Whole, CMainFrame::RefreshMode::Reference}) {
            frame.m_refreshMode = mode;
            frame.m_pCanvasDC->SetROP2(R2_NOTXORPEN);
            frame.m_pCanvasDC->MoveTo(1, 2);
            frame.m_fPictureWidth = frame.m_fPictureHeight = 0;
            frame.RefreshCanvas(false);
        }
        const QImage reference = Canvas();
        const POINT referencePosition = frame.m_pCanvasDC->GetCurrentPosition();
        const float referenceWidth = frame.m_fPictureWidth;
        frame.m_refreshMode = CMainFrame::RefreshMode::Whole;
        frame.m_pCanvasDC->SetROP2(R2_NOTXORPEN);
        frame.m_pCanvasDC->MoveTo(1, 2);
        frame.m_fPictureWidth = 0;
        frame.RefreshCanvas(false);
        EXPECT_TRUE(Diff(Canvas(), reference).empty()) << "scene " << scene;
        EXPECT_EQ(frame.m_pCanvasDC->GetCurrentPosition(), referencePosition) << "scene " << scene;
        EXPECT_EQ(frame.m_pCanvasDC->GetROP2(), R2_COPYPEN);
        EXPECT_EQ(frame.m_fPictureWidth, referenceWidth) << "scene " << scene;
        // Edits of that dense scene, each refreshed only where it changed
        // (skipping there too what others paint over), against the reference.
        frame.m_refreshMode = CMainFrame::RefreshMode::Damaged;
        frame.RefreshCanvas(false);
        const int partialBefore = frame.m_refreshCounts.partial;
        for (int edit = 0; edit < 6; ++edit) {
            const int i = uniform(0, g_pFigures->GetSize() - 1);
            const CShapeFigure& f = Fig(i);
            if (IsShapeKind(f.m_nKind) && edit % 3 != 2)
                g_pFigures->SetAt(i, CShapeFigure::Shape(f.m_nKind, OffsetRectBy(f.m_rect, uniform(-40, 40), uniform(-40, 40)),
                                                         f.LineColor(), f.FillColor()));
            else
                g_pFigures->RemoveAt(i);
            frame.RefreshCanvas(false);
            const QImage partial = Canvas();
            frame.m_refreshMode = CMainFrame::RefreshMode::Reference;
            frame.RefreshCanvas(false);
            frame.m_refreshMode = CMainFrame::RefreshMode::Damaged;
            ASSERT_TRUE(Diff(partial, Canvas()).empty()) << "scene " << scene << ", edit " << edit;
        }
        EXPECT_GT(frame.m_refreshCounts.partial, partialBefore + 3) << "scene " << scene;
        frame.m_pCanvasDC->SelectBrush(CBrush::White());
    }
}

}  // namespace
