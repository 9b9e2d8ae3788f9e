// The handlers called directly and real toolkit events sent to the view end
// in the same state, for a mouse drag and for a held arrow key.
#include "EditingFixture.h"

namespace {

class InputPathsTest : public EditingTest, public ::testing::WithParamInterface<Input> {};

TEST_P(InputPathsTest, AMoveTakesTheLastMovedPositionNotTheReleasePoint)
{
    Add(FK_RECTANGLE, RECT{10, 10, 100, 100}, RGB(1, 2, 3), RGB(4, 5, 6));
    Press(POINT{30, 40}, GetParam());
    EXPECT_EQ(frame.m_nMode, MODE_MOVE);
    Move(POINT{45, 60}, GetParam());
    Move(POINT{60, 90}, GetParam());
    Release(POINT{64, 97}, GetParam());
    const CShapeFigure& f = Fig(0);
    EXPECT_EQ(f.m_rect, (RECT{40, 60, 130, 150}));
    EXPECT_EQ(f.LineColor(), RGB(1, 2, 3));
    EXPECT_EQ(f.FillColor(), RGB(4, 5, 6));
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_EQ(Pixel(85, 105), RGB(4, 5, 6)) << "redrawn at the new place";
    EXPECT_EQ(Pixel(37, 57), kBlack) << "with its handles";
}

TEST_P(InputPathsTest, AHeldArrowMovesTheOutlineAndTheReleaseCommitsOnce)
{
    Add(FK_ELLIPSE, RECT{50, 50, 100, 80}, RGB(1, 2, 3), RGB(4, 5, 6));
    Click(POINT{75, 65}, GetParam());
    QImage expected = Canvas();

    Key(VK_RIGHT, GetParam());
    for (int i = 0; i < 2; ++i) {  // held: the toolkit repeats a release and a press marked auto-repeat
        Key(VK_RIGHT, GetParam(), true, QEvent::KeyRelease);
        Key(VK_RIGHT, GetParam(), true);
    }
    EXPECT_EQ(*frame.m_pSelRect, (RECT{65, 50, 115, 80}));
    EXPECT_EQ(Fig(0).m_rect, (RECT{50, 50, 100, 80})) << "the record waits for the key release";
    // On the canvas: the first step's dashed ghost at the start and the outline at the end.
    {
        CDC dc(expected);
        dc.SetROP2(R2_NOTXORPEN);
        dc.SelectPen(CPen(PS_DASH, 1, kGrey));
        dc.SelectBrush(CBrush::Null());
        dc.Ellipse(50, 50, 100, 80);
        dc.Ellipse(65, 50, 115, 80);
    }
    EXPECT_TRUE(Diff(expected, frame.m_bmpCanvas).empty());

    Key(VK_RIGHT, GetParam(), false, QEvent::KeyRelease);
    EXPECT_EQ(Fig(0).m_rect, (RECT{65, 50, 115, 80})) << "re-made at the release";
    EXPECT_EQ(Fig(0).LineColor(), RGB(1, 2, 3));
    EXPECT_EQ(Fig(0).FillColor(), RGB(4, 5, 6));
    EXPECT_EQ(Pixel(90, 65), RGB(4, 5, 6));
    EXPECT_EQ(Pixel(55, 65), kWhite) << "redrawn: no ghost, the figure has left";
}

INSTANTIATE_TEST_SUITE_P(BothPaths, InputPathsTest, ::testing::Values(Input::Handlers, Input::Events),
                         [](const auto& info) { return info.param == Input::Handlers ? "Handlers" : "Events"; });

}  // namespace
