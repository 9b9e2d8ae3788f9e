// What the user sees selected is what commands act on: typing into or
// focusing a text box ends any other selection, a Resize selection ends when
// another box becomes active, handles never leave squares behind, an
// interrupted drag ends cleanly, and the keys and buttons reach whom they
// should. Real toolkit events wherever the toolkit decides the route.
#include "TextFixture.h"

#include "resources/ResourceIds.h"

#include <QContextMenuEvent>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr COLORREF kGrey = RGB(192, 192, 192), kWhite = RGB(255, 255, 255), kGreen = RGB(0, 160, 0);

class SelectionTargetTest : public TextFixture {
protected:
    // A mouse event on the canvas view at canvas point `p` (the view is not scrolled).
    void Mouse(QEvent::Type type, POINT p, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const QPointF local(p.x, p.y);
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button);
        QMouseEvent e(type, local, frame->View()->mapToGlobal(local),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, mods);
        QCoreApplication::sendEvent(frame->View(), &e);
    }
    void Click(POINT p)
    {
        Mouse(QEvent::MouseButtonPress, p);
        Mouse(QEvent::MouseButtonRelease, p);
    }
    void Drag(POINT from, POINT to)
    {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseMove, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
        Mouse(QEvent::MouseMove, to);
        Mouse(QEvent::MouseButtonRelease, to);
    }
    void Key(int key, Qt::KeyboardModifiers mods = {}) { SendKey(frame->View(), key, mods); }
    int AddShape(FigureKind kind, RECT rc, COLORREF fill = kGreen)
    {
        return g_pFigures->Add(CShapeFigure::Shape(kind, rc, kGrey, fill));
    }
    QImage Canvas() const { return frame->m_bmpCanvas.copy(); }
    CEditBox* FindTextBoxOf(int id) const { return frame->FindTextBoxWindow(id); }
    // The canvas the full refresh gives now, with the handles of the kept
    // selection when `handles`; the canvas itself is put back.
    QImage FullRefresh(bool handles)
    {
        const QImage keep = Canvas();
        const auto shown = frame->m_handlesShown;
        frame->RefreshCanvas(handles);
        const QImage full = Canvas();
        std::memcpy(frame->m_bmpCanvas.bits(), keep.constBits(), static_cast<std::size_t>(keep.sizeInBytes()));
        frame->m_handlesShown = shown;
        return full;
    }
};

TEST_F(SelectionTargetTest, FocusingOrTypingIntoABoxEndsTheOtherSelection)
{
    AddShape(FK_RECTANGLE, RECT{300, 300, 400, 380});
    frame->RefreshCanvas(false);
    const QImage plain = Canvas();
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    Click(POINT{350, 340});
    ASSERT_TRUE(frame->m_pSelRect);

    // The click into the box ends the rectangle's selection and takes its handles.
    FocusOn(box);
    EXPECT_FALSE(frame->m_pSelRect);
    EXPECT_EQ(frame->m_nSelKind, FK_NONE);
    EXPECT_TRUE(Canvas() == plain) << "the handles are erased";
    Type(box, QStringLiteral("ab"));
    EXPECT_EQ(frame->m_nSelected, frame->FindTextFigure(1)) << "the typed text's figure is the target";

    // Commands now answer as with nothing selected: the box keeps its figure.
    frame->OnCommand(ID_EDIT_CUT);
    ASSERT_EQ(ws.Shown(DialogKind::MessageBox).size(), 1u);
    EXPECT_EQ(ws.Shown(DialogKind::MessageBox)[0].text, QStringLiteral("first Select the area to be cut"));
    Key(Qt::Key_Right);
    EXPECT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(FigureOf(1).m_strText, QStringLiteral("ab"));

    // Typing alone (the keyboard still on the box) ends a selection made since.
    FocusOn(frame->View());
    Click(POINT{350, 340});
    ASSERT_TRUE(frame->m_pSelRect);
    Type(box, QStringLiteral("c"));
    EXPECT_FALSE(frame->m_pSelRect);
    EXPECT_TRUE(Canvas() == plain);
}

TEST_F(SelectionTargetTest, AResizeSelectionEndsWhenAnotherBoxBecomesActive)
{
    CEditBox* a = Place(RECT{100, 100, 200, 150});
    CEditBox* b = Place(RECT{300, 100, 400, 150});
    FocusOn(a);
    frame->OnCommand(ID_CONTEXT_RESIZE);
    ASSERT_EQ(frame->m_nSelKind, FK_TEXT);
    ASSERT_EQ(frame->m_nMode, MODE_TEXT_SIZING);

    FocusOn(b);
    EXPECT_FALSE(frame->m_pSelRect);
    EXPECT_EQ(frame->m_nMode, MODE_NONE);
    // A's handle zones start nothing now: B stays where it is.
    Drag(POINT{203, 153}, POINT{260, 200});
    EXPECT_EQ(b->GetCanvasRect(), (RECT{300, 100, 400, 150}));
    EXPECT_EQ(a->GetCanvasRect(), (RECT{100, 100, 200, 150}));
    Key(Qt::Key_Delete);
    EXPECT_TRUE(ws.Shown(DialogKind::MessageBox).empty()) << "nothing selected, nothing asked";

    // Placing a new box ends a Resize selection of the old active box too.
    FocusOn(a);
    frame->OnCommand(ID_CONTEXT_RESIZE);
    ASSERT_TRUE(frame->m_pSelRect);
    Place(RECT{500, 100, 600, 150});
    EXPECT_FALSE(frame->m_pSelRect);
}

TEST_F(SelectionTargetTest, HandlesNeverLeaveSquaresInFiguresDrawnOverThem)
{
    AddShape(FK_RECTANGLE, RECT{100, 100, 200, 200});
    frame->RefreshCanvas(false);
    // The same new rectangle over the first one's corner handles, made once
    // without and once with the first one selected.
    const auto drawOver = [&] {
        frame->OnCommand(ID_INSERT_RECTANGLE);
        Drag(POINT{150, 150}, POINT{260, 260});
    };
    drawOver();
    const QImage reference = Canvas();
    g_pFigures->RemoveAt(1);
    frame->RefreshCanvas(false);

    Click(POINT{120, 120});
    ASSERT_TRUE(frame->m_pSelRect);
    drawOver();
    Click(POINT{600, 500});  // the handles go
    EXPECT_TRUE(Canvas() == reference) << "no squares painted back into the new rectangle";

    // Paste over the selection's handles: erasing them later leaves the pasted figure whole.
    Click(POINT{120, 120});
    frame->OnCommand(ID_EDIT_COPY);
    frame->OnCommand(ID_EDIT_PASTE);
    Click(POINT{600, 500});
    EXPECT_TRUE(Canvas() == FullRefresh(false));
}

TEST_F(SelectionTargetTest, ArrowKeysMoveAResizedTextBoxWithoutLeavingOutlines)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    FocusOn(box);
    frame->OnCommand(ID_CONTEXT_RESIZE);
    FocusOn(frame->View());  // the keyboard on the canvas, the text figure still selected
    QTest::keyPress(frame->View(), Qt::Key_Right);
    QTest::keyPress(frame->View(), Qt::Key_Right, Qt::NoModifier);
    QTest::keyRelease(frame->View(), Qt::Key_Right);
    EXPECT_EQ(box->GetCanvasRect(), (RECT{110, 100, 210, 150})) << "the box goes with its figure";
    EXPECT_EQ(FigureOf(1).m_rect, (RECT{104, 94, 216, 156}));
    EXPECT_TRUE(Canvas() == FullRefresh(true)) << "no dashed outline, no doubled handles";
}

TEST_F(SelectionTargetTest, NothingSelectedMeansTheOrderCommandsAndKeyReleasesDoNothing)
{
    EXPECT_EQ(frame->m_nSelected, -1);
    AddShape(FK_RECTANGLE, RECT{10, 10, 50, 50});
    AddShape(FK_ELLIPSE, RECT{60, 10, 90, 50});
    const CShapeFigure* first = g_pFigures->GetAt(0);
    frame->OnCommand(ID_ORDER_BRINGFORWARD);
    frame->OnCommand(ID_ORDER_SENDBACKWARD);
    Key(Qt::Key_Up);
    EXPECT_EQ(g_pFigures->GetAt(0), first) << "figure 0 neither moved nor re-made";
    EXPECT_EQ(g_pFigures->GetAt(0)->m_nKind, FK_RECTANGLE);
}

TEST_F(SelectionTargetTest, AnInterruptedDragEndsCleanlyAndTheNextClickWorks)
{
    AddShape(FK_RECTANGLE, RECT{100, 100, 200, 200});
    frame->RefreshCanvas(false);
    const QImage plain = Canvas();

    // A creation band, interrupted by the context menu.
    frame->OnCommand(ID_INSERT_RECTANGLE);
    Mouse(QEvent::MouseButtonPress, POINT{300, 300});
    Mouse(QEvent::MouseMove, POINT{380, 360});
    ASSERT_FALSE(Canvas() == plain) << "the band shows";
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(380, 360), frame->View()->mapToGlobal(QPoint(380, 360)));
    QCoreApplication::sendEvent(frame->View(), &menu);
    EXPECT_TRUE(Canvas() == plain) << "the band is erased";
    EXPECT_EQ(frame->m_nMode, MODE_NONE);
    Mouse(QEvent::MouseButtonRelease, POINT{380, 360});
    QApplication::setActiveWindow(frame.get());  // the menu gave the window back
    Click(POINT{150, 150});
    EXPECT_EQ(g_pFigures->GetSize(), 1) << "no figure from the lost release";
    EXPECT_TRUE(frame->m_pSelRect) << "the next click selects";

    // A move, interrupted by another window taking the focus.
    const QImage selected = Canvas();
    Mouse(QEvent::MouseButtonPress, POINT{150, 150});
    Mouse(QEvent::MouseMove, POINT{170, 160});
    QDialog other(frame.get());
    auto* field = new QLineEdit(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    FocusOn(field);
    EXPECT_TRUE(Canvas() == selected) << "the outline is erased, the handles stay";
    EXPECT_EQ(*frame->m_pSelRect, (RECT{100, 100, 200, 200}));
    EXPECT_EQ(frame->m_nMode, MODE_NONE);
    other.hide();
    QApplication::setActiveWindow(frame.get());
    FocusOn(frame->View());
    Mouse(QEvent::MouseButtonRelease, POINT{170, 160});
    EXPECT_EQ(g_pFigures->GetAt(0)->m_rect, (RECT{100, 100, 200, 200})) << "not moved";

    // A resize, interrupted by Delete's question (answered Cancel).
    Mouse(QEvent::MouseButtonPress, POINT{198, 198});
    ASSERT_EQ(frame->m_nMode, MODE_SIZE_SE);
    Mouse(QEvent::MouseMove, POINT{230, 240});
    ws.QueueMessageBoxAnswer(IDCANCEL);
    Key(Qt::Key_Delete);
    EXPECT_EQ(ws.Shown(DialogKind::MessageBox).size(), 1u);
    EXPECT_TRUE(Canvas() == selected);
    Mouse(QEvent::MouseButtonRelease, POINT{230, 240});
    EXPECT_EQ(g_pFigures->GetAt(0)->m_rect, (RECT{100, 100, 200, 200}));
}

TEST_F(SelectionTargetTest, ATextFigureIsNeitherCutNorCopiedAndNoOtherBoxCanBeDeleted)
{
    CEditBox* a = Place(RECT{100, 100, 200, 150});
    CEditBox* b = Place(RECT{300, 100, 400, 150});
    FocusOn(a);
    Type(a, QStringLiteral("keep"));
    frame->OnCommand(ID_CONTEXT_RESIZE);
    frame->OnCommand(ID_EDIT_CUT);
    frame->OnCommand(ID_EDIT_COPY);
    EXPECT_EQ(frame->m_nClipState, 0) << "nothing held";
    ASSERT_LT(frame->FindTextFigure(1), g_pFigures->GetSize()) << "box A keeps its figure";
    EXPECT_EQ(FigureOf(1).m_strText, QStringLiteral("keep"));
    frame->OnCommand(ID_EDIT_PASTE);
    EXPECT_EQ(g_pFigures->GetSize(), 2);

    // Only A, whose figure is selected, can be deleted.
    ws.QueueMessageBoxAnswer(IDOK);
    frame->OnDelete();
    EXPECT_EQ(frame->FindTextBoxWindow(1), nullptr);
    EXPECT_EQ(frame->FindTextBoxWindow(2), b);
    EXPECT_EQ(frame->FindTextFigure(2), 0);
}

TEST_F(SelectionTargetTest, KeysInABoxTypeWhatAnEditControlTypesAndNoAltLetter)
{
    CEditBox* box = Place(RECT{100, 100, 300, 200});
    FocusOn(box);
    QTest::keyClick(box, Qt::Key_A);
    QTest::keyClick(box, Qt::Key_O, Qt::AltModifier);  // no menu answers Alt+O
    QTest::keyClick(box, Qt::Key_X, Qt::AltModifier);
    QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_B);
    EXPECT_EQ(box->GetWindowText(), QStringLiteral("a\n\tb"));

    // F10 selects the menu bar from the box, and types nothing.
    QTest::keyClick(box, Qt::Key_F10);
    EXPECT_EQ(frame->menuBar()->activeAction(), frame->menuBar()->actions().value(0));
    EXPECT_EQ(box->GetWindowText(), QStringLiteral("a\n\tb"));
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

TEST_F(SelectionTargetTest, OnlyALeftPressOnTheCanvasTakesTheFocusFromABox)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    FocusOn(box);
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(frame->View(), button, {}, QPoint(500, 400));
        EXPECT_TRUE(box->hasFocus()) << button;
    }
    Click(POINT{500, 400});
    EXPECT_TRUE(frame->View()->hasFocus());
}

TEST_F(SelectionTargetTest, AfterTheActiveBoxIsDeletedFormattingStillSetsTheNextBoxsFormat)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    FocusOn(box);
    frame->OnCommand(ID_CONTEXT_RESIZE);
    ws.QueueMessageBoxAnswer(IDOK);
    frame->OnDelete();
    ASSERT_EQ(g_pActiveEdit, nullptr);

    frame->OnCommand(ID_TEXT_BOLD);
    frame->OnCommand(ID_TEXT_BOLD);
    frame->OnCommand(ID_TEXT_ITALIC);
    ws.QueueColor(kGreen);
    frame->OnCommand(ID_FORMAT_COLOR);
    EXPECT_EQ(g_logfont.lfWeight, FW_BOLD);
    EXPECT_EQ(g_crText, kGreen);

    CEditBox* next = Place(RECT{300, 100, 400, 150});
    EXPECT_EQ(Record(2).m_logfont.lfWeight, FW_BOLD);
    EXPECT_EQ(Record(2).m_logfont.lfItalic, 1);
    EXPECT_EQ(Record(2).m_crText, kGreen);
    EXPECT_EQ(next->TextFont()->GetLogFont().lfWeight, FW_BOLD);
}

TEST_F(SelectionTargetTest, EveryKeyReachesTheCanvasAndEveryReleaseRemakesTheSelection)
{
    AddShape(FK_RECTANGLE, RECT{100, 100, 200, 200});
    Click(POINT{150, 150});
    const std::pair<int, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_F5, Qt::NoModifier},     {Qt::Key_PageUp, Qt::NoModifier}, {Qt::Key_Comma, Qt::NoModifier},
        {Qt::Key_Exclam, Qt::ShiftModifier}, {Qt::Key_5, Qt::KeypadModifier}, {Qt::Key_Insert, Qt::NoModifier},
    };
    COLORREF fill = 1;
    for (const auto& [key, mods] : keys) {
        // A re-made figure takes the selection's colours: a new fill shows the release arrived.
        frame->m_crFill = ++fill;
        QTest::keyClick(frame->View(), static_cast<Qt::Key>(key), mods);
        EXPECT_EQ(g_pFigures->GetAt(0)->FillColor(), fill) << std::hex << key << ": the release re-made the figure";
        EXPECT_EQ(g_pFigures->GetAt(0)->m_rect, (RECT{100, 100, 200, 200}));
    }
}

TEST_F(SelectionTargetTest, AReleaseOverABoxEndsAResizeAtTheBoxsForwardedPoint)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    FocusOn(box);
    frame->OnCommand(ID_CONTEXT_RESIZE);
    // The figure reaches 6 beyond the box: its bottom-right zone is (200..206, 150..156).
    Mouse(QEvent::MouseButtonPress, POINT{203, 153});
    ASSERT_EQ(frame->m_nMode, MODE_SIZE_SE);
    Mouse(QEvent::MouseMove, POINT{180, 140});
    Mouse(QEvent::MouseButtonRelease, POINT{180, 140});
    // Forwarded in the box's client coordinates (inside its 1-pixel border):
    // the box becomes x by y from its unchanged top-left corner.
    EXPECT_EQ(box->GetCanvasRect(), (RECT{100, 100, 179, 139}));
    EXPECT_EQ(frame->m_nMode, MODE_TEXT_SIZING);

    // Released over another box, the point comes in that box's coordinates
    // and lands on the canvas through it, as over the resized box itself.
    Place(RECT{300, 200, 400, 260});
    FocusOn(box);
    frame->OnCommand(ID_CONTEXT_RESIZE);
    Mouse(QEvent::MouseButtonPress, POINT{182, 142});
    ASSERT_EQ(frame->m_nMode, MODE_SIZE_SE);
    Mouse(QEvent::MouseMove, POINT{370, 250});
    Mouse(QEvent::MouseButtonRelease, POINT{370, 250});
    EXPECT_EQ(box->GetCanvasRect(), (RECT{100, 100, 369, 249}));
}

TEST_F(SelectionTargetTest, AClickIntoABoxMakesItTheBoxFormattedAlsoRightAfterTheActiveBoxWasDeleted)
{
    CEditBox* a = Place(RECT{100, 100, 200, 150});
    CEditBox* b = Place(RECT{300, 100, 400, 150});
    FocusOn(b);
    frame->OnCommand(ID_CONTEXT_RESIZE);
    ws.QueueMessageBoxAnswer(IDOK);
    frame->OnDelete();
    ASSERT_EQ(FindTextBoxOf(2), nullptr);

    QTest::mouseClick(a->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    Type(a, QStringLiteral("x"));
    ws.QueueColor(kRed);
    frame->OnCommand(ID_FORMAT_COLOR);
    EXPECT_EQ(g_pActiveEdit, a);
    EXPECT_EQ(Record(1).m_crText, kRed);
    EXPECT_EQ(a->TextColor(), kRed);

    // A click makes a box the one formatted also when its window is not the
    // active one, so the toolkit moves no focus (no window manager gave the
    // window the keyboard back).
    CEditBox* c = Place(RECT{100, 300, 200, 350});
    Click(POINT{600, 600});
    QTest::mouseClick(a->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(g_pActiveEdit, a);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QTest::mousePress(c->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QCoreApplication::processEvents();
    ws.QueueColor(kBlue);
    frame->OnCommand(ID_FORMAT_COLOR);
    EXPECT_EQ(g_pActiveEdit, c);
    EXPECT_EQ(Record(3).m_crText, kBlue);
    EXPECT_EQ(Record(1).m_crText, kRed);
}

TEST_F(SelectionTargetTest, TheToolbarStaysUnderTheMenuBar)
{
    EXPECT_FALSE(frame->m_pToolBar->isMovable());
    EXPECT_FALSE(frame->m_pToolBar->isFloatable());
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), frame->m_pToolBar->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(frame->m_pToolBar, &menu);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no menu to hide it";
}

}  // namespace
