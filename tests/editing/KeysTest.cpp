// The keyboard: arrow keys move the selection's outline by 5 pixels per press
// (auto-repeat included) and the key release commits the figure once.
#include "EditingFixture.h"

#include <QTemporaryDir>

namespace {

using KeysTest = EditingTest;
using KeysInputTest = EditingInputTest;

TEST_P(KeysInputTest, AHeldArrowMovesTheOutlineAndTheReleaseCommitsOnce)
{
    Add(CC_RECTANGLE, RECT{50, 50, 100, 80}, RGB(1, 2, 3), RGB(4, 5, 6));
    frame.RefreshCanvas(false);
    Press(POINT{60, 60}, GetParam());
    Release(POINT{60, 60}, GetParam());
    const QImage selected = frame.m_bmpCanvas.copy();
    const CShapeFigure* record = g_pFigures->GetAt(0);

    Key(VK_RIGHT, GetParam());
    Key(VK_RIGHT, GetParam(), true);
    Key(VK_RIGHT, GetParam(), true);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{65, 50, 115, 80}));
    EXPECT_EQ(g_pFigures->GetAt(0), record) << "the record waits for the key release";
    EXPECT_EQ(Fig(0).m_rect, (RECT{50, 50, 100, 80}));
    // On the canvas: the first step's ghost at the start and the outline at the end.
    QImage expected = selected.copy();
    {
        CDC dc(expected);
        dc.SetROP2(R2_NOTXORPEN);
        dc.SelectPen(CPen(PS_DASH, 1, kGrey));
        dc.SelectBrush(CBrush::Null());
        dc.Rectangle(50, 50, 100, 80);
        dc.Rectangle(65, 50, 115, 80);
    }
    EXPECT_TRUE(Diff(expected, frame.m_bmpCanvas).empty());

    KeyUp(VK_RIGHT, GetParam());
    EXPECT_NE(g_pFigures->GetAt(0), record) << "re-made once, at the release";
    EXPECT_EQ(Fig(0).m_rect, (RECT{65, 50, 115, 80}));
    EXPECT_EQ(Fig(0).LineColor(), RGB(1, 2, 3));
    EXPECT_EQ(Fig(0).FillColor(), RGB(4, 5, 6));
    EXPECT_EQ(Pixel(90, 60), RGB(4, 5, 6));
    EXPECT_EQ(Pixel(55, 60), kWhite) << "redrawn: no ghost, the figure has left";
}

TEST_F(KeysTest, ALineMovedUpTwiceIsTenPixelsHigherAtBothEnds)
{
    Add(CC_LINE, RECT{100, 200, 40, 120});
    frame.OnLButtonDown(MK_LBUTTON, POINT{70, 160});
    frame.OnLButtonUp(0, POINT{70, 160});
    ASSERT_EQ(frame.m_nSelKind, FK_LINE);
    frame.OnKeyDown(VK_UP, 1, 0);
    frame.OnKeyUp(VK_UP, 1, 0);
    frame.OnKeyDown(VK_UP, 1, 0);
    frame.OnKeyUp(VK_UP, 1, 0);
    EXPECT_EQ(Fig(0).m_rect, (RECT{100, 190, 40, 110}));
    frame.OnKeyDown(VK_LEFT, 1, 0);
    frame.OnKeyDown(VK_DOWN, 1, 0);
    frame.OnKeyUp(VK_DOWN, 1, 0);
    EXPECT_EQ(Fig(0).m_rect, (RECT{95, 195, 35, 115}));
}

TEST_F(KeysTest, WithoutSelectionKeysChangeNothing)
{
    Add(CC_RECTANGLE, RECT{50, 50, 100, 80});
    frame.RefreshCanvas(false);
    const QImage before = frame.m_bmpCanvas.copy();
    for (UINT vk : {VK_ESCAPE, VK_RIGHT, VK_LEFT, VK_DELETE, VK_UP}) {
        frame.OnKeyDown(vk, 1, 0);
        frame.OnKeyUp(vk, 1, 0);
    }
    EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty());
    EXPECT_EQ(Fig(0).m_rect, (RECT{50, 50, 100, 80}));
    EXPECT_TRUE(ws.Shown().empty());
}

TEST_F(KeysTest, APictureRectangleKeepsItsPictureAndTilesWithAWhiteFill)
{
    QTemporaryDir dir;
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(ColorToPixel(RGB(0, 200, 0)));
    const QString path = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(img.save(path));
    Add(CC_RECTANGLE, RECT{50, 50, 100, 80}, RGB(1, 2, 3), RGB(4, 5, 6), 0, 0, path);
    Add(CC_ELLIPSE, RECT{200, 200, 260, 260}, RGB(1, 2, 3), RGB(4, 5, 6), 0, 0, path);

    frame.OnLButtonDown(MK_LBUTTON, POINT{60, 60});
    frame.OnLButtonUp(0, POINT{60, 60});
    frame.OnKeyDown(VK_DOWN, 1, 0);
    frame.OnKeyUp(VK_DOWN, 1, 0);
    EXPECT_EQ(Fig(0).m_rect, (RECT{50, 55, 100, 85}));
    EXPECT_EQ(Fig(0).m_strPicture, path);
    EXPECT_EQ(Fig(0).FillColor(), kWhite);
    EXPECT_EQ(Fig(0).LineColor(), RGB(1, 2, 3));
    EXPECT_EQ(Pixel(60, 84), RGB(0, 200, 0)) << "the picture fills the moved rectangle";

    // A picture ellipse has no rule on key release: its record stays.
    frame.OnLButtonDown(MK_LBUTTON, POINT{230, 230});
    frame.OnLButtonUp(0, POINT{230, 230});
    ASSERT_EQ(frame.m_bSelPicture, 1);
    const CShapeFigure* ellipse = g_pFigures->GetAt(1);
    frame.OnKeyDown(VK_DOWN, 1, 0);
    frame.OnKeyUp(VK_DOWN, 1, 0);
    EXPECT_EQ(g_pFigures->GetAt(1), ellipse);
    EXPECT_EQ(Fig(1).m_rect, (RECT{200, 200, 260, 260}));
}

TEST_F(KeysTest, TheKeyReleaseNeedsAValidIndex)
{
    Add(CC_RECTANGLE, RECT{50, 50, 100, 80});
    frame.OnLButtonDown(MK_LBUTTON, POINT{60, 60});
    frame.OnLButtonUp(0, POINT{60, 60});
    g_pFigures->RemoveAll();
    frame.OnKeyDown(VK_RIGHT, 1, 0);
    frame.OnKeyUp(VK_RIGHT, 1, 0);
    EXPECT_EQ(g_pFigures->GetSize(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, KeysInputTest, ::testing::Values(Input::Handlers, Input::Events), InputName);

}  // namespace
