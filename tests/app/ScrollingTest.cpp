// Sizing and scrolling on a 1024x768 canvas: ranges, pages, the limits, and
// the one-pixel-tighter clamp on resize; through the handlers and through the
// scroll bar's own actions.
#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "platform/InputMapping.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

class ScrollingTest : public ::testing::Test {
protected:
    void SetUp() override { frame.OnSize(0, 800, 500); }
    CMainFrame frame;
};

TEST_F(ScrollingTest, SizingSetsRangesAndPagesFromTheCanvas)
{
    EXPECT_EQ(frame.m_cxCanvas, 1024);
    EXPECT_EQ(frame.m_cyCanvas, 768);
    EXPECT_EQ(frame.m_nHMax, 1023);
    EXPECT_EQ(frame.m_nHPage, 800);
    EXPECT_EQ(frame.m_nVMax, 767);
    EXPECT_EQ(frame.m_nVPage, 500);
    // The bars scroll through the positions a 0..max range with that page allows.
    EXPECT_EQ(frame.HorzScrollBar()->maximum(), 224);
    EXPECT_EQ(frame.HorzScrollBar()->pageStep(), 800);
    EXPECT_EQ(frame.VertScrollBar()->maximum(), 268);
}

TEST_F(ScrollingTest, LineScrollingStopsAtTheLimitAndResizeClampsOneTighter)
{
    for (int i = 0; i < 40; ++i)
        frame.OnHScroll(SB_LINERIGHT, 0);
    EXPECT_EQ(g_nScrollX, 224);
    EXPECT_EQ(frame.HorzScrollBar()->value(), 224);

    frame.OnSize(0, 800, 500);
    EXPECT_EQ(g_nScrollX, 223);
    EXPECT_EQ(frame.HorzScrollBar()->value(), 223);
}

TEST_F(ScrollingTest, LineLeftAtZeroChangesNothing)
{
    frame.HorzScrollBar()->setValue(0);
    frame.OnHScroll(SB_LINELEFT, 0);
    EXPECT_EQ(g_nScrollX, 0);
    frame.OnHScroll(SB_LINERIGHT, 0);
    frame.OnHScroll(SB_LINELEFT, 0);
    frame.OnHScroll(SB_LINELEFT, 0);
    EXPECT_EQ(g_nScrollX, 0);
}

TEST_F(ScrollingTest, PageDownStopsAtTheLimit)
{
    frame.OnVScroll(SB_THUMBTRACK, 200);
    ASSERT_EQ(g_nScrollY, 200);
    frame.OnVScroll(SB_PAGEDOWN, 0);
    EXPECT_EQ(g_nScrollY, 268);
    frame.OnVScroll(SB_PAGEUP, 0);
    EXPECT_EQ(g_nScrollY, 0);
}

TEST_F(ScrollingTest, ThumbIsFollowedAndItsReleaseDoesNotMoveAgain)
{
    frame.OnHScroll(SB_THUMBTRACK, 100);
    EXPECT_EQ(g_nScrollX, 100);
    frame.OnHScroll(SB_THUMBPOSITION, 7);
    EXPECT_EQ(g_nScrollX, 100);
    for (UINT code : {SB_TOP, SB_BOTTOM, SB_ENDSCROLL})
        frame.OnHScroll(code, 0);
    EXPECT_EQ(g_nScrollX, 100);
}

TEST_F(ScrollingTest, AWiderClientKeepsTheRangeItHad)
{
    frame.OnHScroll(SB_THUMBTRACK, 50);
    frame.OnSize(0, 1100, 500);
    EXPECT_EQ(frame.m_nHMax, 1023);
    EXPECT_EQ(frame.m_nHPage, 800);
    EXPECT_EQ(g_nScrollX, 50);
}

TEST_F(ScrollingTest, TheScrollBarsOwnActionsTakeTheSamePath)
{
    QScrollBar* bar = frame.HorzScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g_nScrollX, 8);
    EXPECT_EQ(bar->value(), 8);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(g_nScrollX, 224);
    EXPECT_EQ(bar->value(), 224);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(g_nScrollX, 224);  // "top" is not a scroll step here
    EXPECT_EQ(bar->value(), 224);
    bar->setSliderPosition(30);  // thumb tracking
    EXPECT_EQ(g_nScrollX, 30);
}

TEST_F(ScrollingTest, MousePointsBecomeCanvasPointsAtTheScrollPosition)
{
    frame.OnHScroll(SB_THUMBTRACK, 100);
    frame.OnVScroll(SB_THUMBTRACK, 40);
    frame.m_nMode = MODE_DRAW;
    frame.m_nShape = CC_RECTANGLE;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 20), QPointF(10, 20), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame.View(), &press);
    EXPECT_EQ(frame.m_ptAnchor, (POINT{110, 60}));
}

TEST(InputMappingTest, MouseFlagsNameTheButtonsAndModifiersHeld)
{
    EXPECT_EQ(MouseFlagsFromQt(Qt::LeftButton, Qt::NoModifier), MK_LBUTTON);
    EXPECT_EQ(MouseFlagsFromQt(Qt::LeftButton, Qt::ShiftModifier), MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(MouseFlagsFromQt(Qt::LeftButton | Qt::RightButton, Qt::ControlModifier),
              MK_LBUTTON | MK_RBUTTON | MK_CONTROL);
    EXPECT_EQ(MouseFlagsFromQt(Qt::MiddleButton, Qt::NoModifier), MK_MBUTTON);
}

TEST(InputMappingTest, EveryKeyHasAVirtualKeyAsAUsKeyboardGivesIt)
{
    const std::tuple<int, Qt::KeyboardModifiers, UINT> table[] = {
        {Qt::Key_Left, Qt::NoModifier, VK_LEFT},
        {Qt::Key_Delete, Qt::NoModifier, VK_DELETE},
        {Qt::Key_A, Qt::NoModifier, 'A'},
        {Qt::Key_7, Qt::NoModifier, '7'},
        {Qt::Key_Ampersand, Qt::ShiftModifier, '7'},  // Shift+7
        {Qt::Key_ParenRight, Qt::ShiftModifier, '0'},
        {Qt::Key_7, Qt::KeypadModifier, VK_NUMPAD0 + 7},
        {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD},
        {Qt::Key_Plus, Qt::ShiftModifier, VK_OEM_PLUS},
        {Qt::Key_Colon, Qt::ShiftModifier, VK_OEM_1},
        {Qt::Key_BracketRight, Qt::NoModifier, VK_OEM_6},
        {Qt::Key_F1, Qt::NoModifier, VK_F1},
        {Qt::Key_F13, Qt::NoModifier, VK_F1 + 12},
        {Qt::Key_PageUp, Qt::NoModifier, VK_PRIOR},
        {Qt::Key_PageDown, Qt::NoModifier, VK_NEXT},
        {Qt::Key_Backtab, Qt::ShiftModifier, VK_TAB},
        {Qt::Key_unknown, Qt::NoModifier, VK_UNKNOWN},
    };
    for (const auto& [key, mods, vk] : table)
        EXPECT_EQ(VirtualKeyFromQt(key, mods), vk) << std::hex << key;
}

}  // namespace
