// Delete, Bring Forward and Send Backward: the question, one jump to the top
// or the bottom of the stack, and the selection that follows its figure.
#include "EditingFixture.h"

#include "resources/ResourceIds.h"

namespace {

using OrderTest = EditingTest;
using OrderInputTest = EditingInputTest;

std::vector<int> Lefts()
{
    std::vector<int> v;
    for (const auto& f : *g_pFigures)
        v.push_back(f->m_rect.left);
    return v;
}

TEST_F(OrderTest, BringForwardAndSendBackwardJumpToTheEndsAndTheSelectionFollows)
{
    // A, B, C told apart by their left edges; B under C where they overlap.
    Add(CC_RECTANGLE, RECT{0, 0, 60, 60}, kBlack, RGB(255, 0, 0));
    Add(CC_RECTANGLE, RECT{1, 20, 80, 80}, kBlack, RGB(0, 255, 0));
    Add(CC_RECTANGLE, RECT{2, 40, 100, 100}, kBlack, RGB(0, 0, 255));
    frame.OnLButtonDown(MK_LBUTTON, POINT{20, 30});
    frame.OnLButtonUp(0, POINT{20, 30});
    ASSERT_EQ(frame.m_nSelected, 1);

    frame.OnCommand(ID_ORDER_BRINGFORWARD);
    EXPECT_EQ(Lefts(), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(frame.m_nSelected, 2);
    EXPECT_EQ(Pixel(50, 50), RGB(0, 255, 0)) << "B drawn over C";
    const auto handles = Diff(PlainRender(), frame.m_bmpCanvas);
    EXPECT_TRUE(handles.count({77, 77}) && handles.count({82, 82})) << "handles of the selection after the redraw";

    frame.OnCommand(ID_ORDER_SENDBACKWARD);
    EXPECT_EQ(Lefts(), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(frame.m_nSelected, 0);
    EXPECT_EQ(Pixel(30, 30), RGB(255, 0, 0)) << "A drawn over B";
    EXPECT_EQ(Pixel(50, 50), RGB(0, 0, 255));

    // The top figure brought forward and the bottom one sent back stay put.
    frame.OnCommand(ID_ORDER_SENDBACKWARD);
    EXPECT_EQ(Lefts(), (std::vector<int>{1, 0, 2}));
    frame.m_nSelected = 2;
    frame.OnCommand(ID_ORDER_BRINGFORWARD);
    EXPECT_EQ(Lefts(), (std::vector<int>{1, 0, 2}));
}

TEST_F(OrderTest, OrderCommandsNeedTwoFiguresAndAValidIndex)
{
    Add(CC_RECTANGLE, RECT{0, 0, 60, 60});
    frame.m_nSelected = 0;
    const QImage before = frame.m_bmpCanvas.copy();
    frame.OnCommand(ID_ORDER_BRINGFORWARD);
    frame.OnCommand(ID_ORDER_SENDBACKWARD);
    EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty()) << "nothing redrawn";
    Add(CC_RECTANGLE, RECT{5, 0, 60, 60});
    for (int bad : {-1, 2, 1000}) {
        frame.m_nSelected = bad;
        frame.OnCommand(ID_ORDER_BRINGFORWARD);
        frame.OnCommand(ID_ORDER_SENDBACKWARD);
        EXPECT_EQ(Lefts(), (std::vector<int>{0, 5})) << bad;
    }
}

TEST_P(OrderInputTest, DeleteAsksAndOnOkRemovesTheSelectedFigure)
{
    Add(CC_RECTANGLE, RECT{0, 0, 60, 60}, kBlack, RGB(255, 0, 0));
    Add(CC_ELLIPSE, RECT{100, 100, 160, 160}, kBlack, RGB(0, 0, 255));
    frame.RefreshCanvas(false);
    Press(POINT{20, 20}, GetParam());
    Release(POINT{20, 20}, GetParam());

    ws.QueueMessageBoxAnswer(IDCANCEL);
    Key(VK_DELETE, GetParam());
    EXPECT_EQ(g_pFigures->GetSize(), 2) << "Cancel keeps everything";
    EXPECT_TRUE(frame.m_pSelRect);

    ws.QueueMessageBoxAnswer(IDOK);
    Key(VK_DELETE, GetParam());
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_nKind, FK_ELLIPSE);
    EXPECT_FALSE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_nSelKind, -1);
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_TRUE(Diff(PlainRender(), frame.m_bmpCanvas).empty()) << "redrawn without it and without handles";

    const auto shown = ws.Shown(DialogKind::MessageBox);
    ASSERT_EQ(shown.size(), 2u);
    for (const ShownDialog& d : shown) {
        EXPECT_EQ(d.text, QStringLiteral("Do you want to Delete It?"));
        EXPECT_EQ(d.type, MB_OKCANCEL | MB_ICONQUESTION);
        EXPECT_EQ(d.owner, &frame);
    }

    // Without a selection nothing is asked.
    Key(VK_DELETE, GetParam());
    frame.OnCommand(ID_CONTEXT_DELETE);
    EXPECT_EQ(ws.Shown(DialogKind::MessageBox).size(), 2u);
    EXPECT_EQ(g_pFigures->GetSize(), 1);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, OrderInputTest, ::testing::Values(Input::Handlers, Input::Events), InputName);

}  // namespace
