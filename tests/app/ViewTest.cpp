// What the window shows, not only the canvas: a shown main window, real
// toolkit events, and the view grabbed during and after gestures, unscrolled
// and scrolled. The view must show exactly the canvas at the scroll position,
// every canvas change must lie in the region the view repaints, and a drag's
// outline is the dashed grey not-XOR outline that follows the pointer, moves
// only with the left button alone and leaves nothing behind. And scrolling a
// 1024x768 canvas in an 800x500 client area: line 8, pages, the thumb, the
// limits and the one-pixel-tighter clamp on resize, through the handlers and
// through the scroll bar's own actions.
#include "support/WindowTest.h"

#include <QPaintEvent>
#include <QScrollBar>

namespace {

// Collects the regions the view repaints.
struct PaintRecorder : QObject {
    explicit PaintRecorder(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            region += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
    QRegion region;
};

class ViewTest : public WindowTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        Show();
        if (GetParam()) {
            // Scrolled with the bars' own actions: a page right and a page down.
            frame.HorzScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
            frame.VertScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
            ASSERT_GT(g_nScrollX, 0);
            ASSERT_GT(g_nScrollY, 0);
        }
        Add(FK_RECTANGLE, Canvas(RECT{100, 100, 200, 160}), kGrey, kGreen);
        frame.RefreshCanvas(false);
        QCoreApplication::processEvents();
    }
    // Canvas points of the test, placed where the view shows them at the scroll position.
    static RECT Canvas(RECT rc) { return OffsetRectBy(rc, g_nScrollX, g_nScrollY); }
    static POINT Canvas(POINT p) { return POINT{p.x + g_nScrollX, p.y + g_nScrollY}; }

    // A mouse event at a point of the view, which shows the canvas from the scroll position.
    void Mouse(QEvent::Type type, POINT view, Qt::KeyboardModifiers mods = {})
    {
        WindowTest::Mouse(type, Canvas(view), mods);
    }
    QImage Image() const { return frame.m_bmpCanvas.copy(); }

    // Runs `step`, then checks that every canvas pixel it changed is inside
    // the region the view repaints, and that the view then shows the canvas.
    template <typename Step>
    void ExpectShown(Step step, const char* what)
    {
        QCoreApplication::processEvents();
        const QImage before = Image();
        PaintRecorder paints(frame.View());
        step();
        QCoreApplication::processEvents();
        const QImage after = Image();
        int changed = 0, unpainted = 0;
        const QRect visible(g_nScrollX, g_nScrollY, frame.View()->width(), frame.View()->height());
        for (int y = visible.top(); y <= visible.bottom(); ++y)
            for (int x = visible.left(); x <= visible.right(); ++x)
                if (before.pixel(x, y) != after.pixel(x, y)) {
                    ++changed;
                    unpainted += !paints.region.contains(QPoint(x - g_nScrollX, y - g_nScrollY));
                }
        EXPECT_GT(changed, 0) << what << ": the step changed the canvas";
        EXPECT_EQ(unpainted, 0) << what << ": changed pixels the view did not repaint";
        const QImage shown = frame.View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown == after.copy(visible)) << what << ": the view shows the canvas at the scroll position";
    }

    // The canvas `base` with dashed grey not-XOR outlines drawn over it, as
    // the device context draws them.
    static QImage WithOutlines(QImage base, std::initializer_list<RECT> outlines)
    {
        CDC dc(base);
        dc.SetROP2(R2_NOTXORPEN);
        dc.SelectPen(CPen(PS_DASH, 1, kGrey));
        dc.SelectBrush(CBrush::Null());
        for (const RECT& rc : outlines)
            dc.Rectangle(rc);
        return base;
    }
};

TEST_P(ViewTest, AMoveShowsItsOutlineStepByStepOnlyWithTheLeftButtonAloneAndLeavesNothing)
{
    ExpectShown([&] { Mouse(QEvent::MouseButtonPress, POINT{150, 130}); }, "the press shows the handles");
    ASSERT_EQ(frame.m_nMode, MODE_MOVE);
    const QImage pressed = Image();
    // The first step marks the figure's place and draws the outline where the pointer took it.
    ExpectShown([&] { Mouse(QEvent::MouseMove, POINT{170, 150}); }, "the first step");
    EXPECT_TRUE(Image() == WithOutlines(pressed, {Canvas(RECT{100, 100, 200, 160}), Canvas(RECT{120, 120, 220, 180})}));
    // The next step erases the previous outline.
    ExpectShown([&] { Mouse(QEvent::MouseMove, POINT{180, 155}); }, "the next step");
    const QImage stepped = WithOutlines(pressed, {Canvas(RECT{100, 100, 200, 160}), Canvas(RECT{130, 125, 230, 185})});
    EXPECT_TRUE(Image() == stepped);
    // Shift or Ctrl held: the outline stays.
    for (Qt::KeyboardModifiers mods : {Qt::ShiftModifier, Qt::ControlModifier}) {
        Mouse(QEvent::MouseMove, POINT{260, 260}, mods);
        EXPECT_TRUE(Image() == stepped) << mods;
    }
    // The release re-makes the figure where the outline was, and nothing else remains.
    ExpectShown([&] { Mouse(QEvent::MouseButtonRelease, POINT{260, 260}); }, "the release");
    EXPECT_EQ(g_pFigures->GetAt(0)->m_rect, Canvas(RECT{130, 125, 230, 185}));
    const QImage released = Image();
    frame.RefreshCanvas(true);
    EXPECT_TRUE(Image() == released) << "no outline or ghost left";
}

TEST_P(ViewTest, AResizeOutlineFollowsItsCornerAndArrowKeysMoveTheOutlineOnScreen)
{
    Mouse(QEvent::MouseButtonPress, POINT{197, 157});
    ASSERT_EQ(frame.m_nMode, MODE_SIZE_SE);
    const QImage pressed = Image();
    ExpectShown([&] { Mouse(QEvent::MouseMove, POINT{240, 200}); }, "the corner follows");
    ExpectShown([&] { Mouse(QEvent::MouseMove, POINT{250, 190}); }, "and again");
    EXPECT_TRUE(Image() == WithOutlines(pressed, {Canvas(RECT{100, 100, 200, 160}), Canvas(RECT{100, 100, 250, 190})}));
    Mouse(QEvent::MouseMove, POINT{300, 300}, Qt::ShiftModifier);
    ExpectShown([&] { Mouse(QEvent::MouseButtonRelease, POINT{300, 300}); }, "the release");
    EXPECT_EQ(g_pFigures->GetAt(0)->m_rect, Canvas(RECT{100, 100, 250, 190})) << "where the last plain move left it";

    // An arrow key moves the outline, on screen too, at the scroll position.
    const QImage selected = Image();
    ExpectShown([&] { QTest::keyPress(frame.View(), Qt::Key_Down); }, "the arrow key");
    // Held: the toolkit repeats a release and a press marked auto-repeat; only the press counts.
    ExpectShown([&] {
        for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
            QKeyEvent repeat(type, Qt::Key_Down, Qt::NoModifier, QString(), true);
            QCoreApplication::sendEvent(frame.View(), &repeat);
        }
    }, "the repeated key");
    EXPECT_EQ(g_pFigures->GetAt(0)->m_rect, Canvas(RECT{100, 100, 250, 190})) << "the record waits for the key release";
    EXPECT_TRUE(Image() == WithOutlines(selected, {Canvas(RECT{100, 100, 250, 190}), Canvas(RECT{100, 110, 250, 200})}));
    ExpectShown([&] { QTest::keyRelease(frame.View(), Qt::Key_Down); }, "the key release");
    EXPECT_EQ(g_pFigures->GetAt(0)->m_rect, Canvas(RECT{100, 110, 250, 200}));
}

TEST_P(ViewTest, ACreationBandIsShownWhereThePointerDrawsIt)
{
    frame.OnCommand(ID_INSERT_CIRCLE);
    const QImage start = Image();
    Mouse(QEvent::MouseButtonPress, POINT{300, 300});
    ExpectShown([&] { Mouse(QEvent::MouseMove, POINT{380, 370}); }, "the band");
    ExpectShown([&] { Mouse(QEvent::MouseMove, POINT{360, 350}); }, "the band shrinks");
    // A solid grey not-XOR ellipse from the press to the pointer; the larger first band is gone.
    QImage band = start;
    {
        CDC dc(band);
        dc.SetROP2(R2_NOTXORPEN);
        dc.SelectPen(CPen(PS_SOLID, 1, kGrey));
        dc.SelectBrush(CBrush::Null());
        dc.Ellipse(Canvas(RECT{300, 300, 360, 350}));
    }
    EXPECT_TRUE(Image() == band);
    ExpectShown([&] { Mouse(QEvent::MouseButtonRelease, POINT{360, 350}); }, "the new ellipse");
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(g_pFigures->GetAt(1)->m_rect, Canvas(RECT{300, 300, 360, 350}));
}

INSTANTIATE_TEST_SUITE_P(ScrollPositions, ViewTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Scrolled" : "Unscrolled"; });

TEST(ScrollingTest, CodesBarActionsAndResizesMoveWithinTheRangeTheCanvasLeaves)
{
    CMainFrame frame;
    frame.OnSize(0, 800, 500);
    QScrollBar* h = frame.HorzScrollBar();
    // The bars scroll through the positions a 0..max range with that page allows.
    EXPECT_EQ(std::tuple(h->maximum(), h->pageStep(), frame.VertScrollBar()->maximum()), std::tuple(224, 800, 268));
    const auto H = [&](UINT code, int pos = 0) { return [&frame, code, pos] { frame.OnHScroll(code, pos); }; };
    const auto V = [&](UINT code, int pos = 0) { return [&frame, code, pos] { frame.OnVScroll(code, pos); }; };
    const auto Bar = [&](QAbstractSlider::SliderAction action) { return [h, action] { h->triggerAction(action); }; };
    const auto Size = [&](int cx) { return [&frame, cx] { frame.OnSize(0, cx, 500); }; };
    // Each step, and the horizontal and vertical positions after it.
    const std::tuple<std::function<void()>, int, int> steps[] = {
        {H(SB_LINELEFT), 0, 0},     {H(SB_LINERIGHT), 8, 0},           {H(SB_LINELEFT), 0, 0},
        {H(SB_THUMBTRACK, 220), 220, 0}, {H(SB_LINERIGHT), 224, 0},    {H(SB_LINERIGHT), 224, 0},  // the limit
        {Size(800), 223, 0},        // a resize clamps one tighter
        {H(SB_THUMBTRACK, 100), 100, 0}, {H(SB_THUMBPOSITION, 7), 100, 0},  // the thumb's release does not move again
        {H(SB_TOP), 100, 0},        {H(SB_BOTTOM), 100, 0},            {H(SB_ENDSCROLL), 100, 0},
        {V(SB_THUMBTRACK, 200), 100, 200}, {V(SB_PAGEDOWN), 100, 268}, {V(SB_PAGEUP), 100, 0},
        {V(SB_LINEDOWN), 100, 8},   {Size(1100), 100, 8},              // a wider client keeps the range it had
        {H(SB_PAGEDOWN), 224, 8},   {Bar(QAbstractSlider::SliderToMinimum), 224, 8},  // "top" is not a step here
        {Bar(QAbstractSlider::SliderPageStepSub), 0, 8}, {Bar(QAbstractSlider::SliderSingleStepAdd), 8, 8},
        {[h] { h->setSliderPosition(30); }, 30, 8},  // thumb tracking
    };
    int n = 0;
    for (const auto& [step, x, y] : steps) {
        step();
        EXPECT_EQ(std::tuple(g_nScrollX, g_nScrollY), std::tuple(x, y)) << "step " << n;
        EXPECT_EQ(std::tuple(h->value(), frame.VertScrollBar()->value()), std::tuple(x, y)) << "step " << n++;
    }
}

}  // namespace
