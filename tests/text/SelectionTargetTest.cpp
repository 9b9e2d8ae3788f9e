// What the user sees selected is what commands act on: typing into or
// focusing a text box ends any other selection, a Resize selection ends when
// another box becomes active, handles never leave squares behind, an
// interrupted drag ends cleanly, and the keys and buttons reach whom they
// should. Real toolkit events wherever the toolkit decides the route.
#include "support/WindowTest.h"

#include <QContextMenuEvent>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

namespace {

using SelectionTargetTest = ShownWindowTest;

TEST_F(SelectionTargetTest, FocusingOrTypingIntoABoxEndsTheOtherSelection)
{
    Add(FK_RECTANGLE, RECT{300, 300, 400, 380}, kGrey, kGreen);
    frame.RefreshCanvas(false);
    const QImage plain = Canvas();
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    Click(POINT{350, 340});
    ASSERT_FALSE(Canvas() == plain) << "the rectangle's handles";

    // The click into the box ends the rectangle's selection and takes its handles.
    FocusOn(box);
    EXPECT_TRUE(Canvas() == plain) << "the handles are erased";
    Type(box, QStringLiteral("ab"));
    // Commands now answer as with nothing selected: the box keeps its figure.
    frame.OnCommand(ID_EDIT_CUT);
    EXPECT_EQ(ws.MessageTexts(), QStringList{QStringLiteral("first Select the area to be cut")});
    Key(Qt::Key_Right);
    EXPECT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(Fig(0).m_rect, (RECT{300, 300, 400, 380}));
    EXPECT_EQ(FigureOf(1).m_strText, QStringLiteral("ab"));

    // Typing alone (the keyboard still on the box) ends a selection made since.
    FocusOn(frame.View());
    Click(POINT{350, 340});
    ASSERT_FALSE(Canvas() == plain);
    Type(box, QStringLiteral("c"));
    EXPECT_TRUE(Canvas() == plain);
}

TEST_F(SelectionTargetTest, AResizeSelectionEndsWhenAnotherBoxBecomesActiveOrIsPlaced)
{
    CEditBox* a = Place(RECT{100, 100, 200, 150});
    CEditBox* b = Place(RECT{300, 100, 400, 150});
    Resize(a);
    FocusOn(b);
    // A's handle zones start nothing now: neither box moves, and nothing is there to delete.
    Drag(POINT{203, 153}, POINT{260, 200});
    EXPECT_EQ(b->GetCanvasRect(), (RECT{300, 100, 400, 150}));
    EXPECT_EQ(a->GetCanvasRect(), (RECT{100, 100, 200, 150}));
    Key(Qt::Key_Delete);
    EXPECT_TRUE(Messages().isEmpty()) << "nothing selected, nothing asked";
    // Placing a new box ends a Resize selection of the old active box too.
    Resize(a);
    Place(RECT{500, 100, 600, 150});
    Key(Qt::Key_Delete);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(SelectionTargetTest, HandlesNeverLeaveSquaresInFiguresDrawnOverThem)
{
    Add(FK_RECTANGLE, RECT{100, 100, 200, 200}, kGrey, kGreen);
    frame.RefreshCanvas(false);
    // The same new rectangle over the first one's corner handles, made once
    // without and once with the first one selected.
    const auto drawOver = [&] {
        frame.OnCommand(ID_INSERT_RECTANGLE);
        Drag(POINT{150, 150}, POINT{260, 260});
    };
    drawOver();
    const QImage reference = Canvas();
    g_pFigures->RemoveAt(1);
    frame.RefreshCanvas(false);
    Click(POINT{120, 120});
    drawOver();
    Click(POINT{600, 500});  // the handles go
    EXPECT_TRUE(Canvas() == reference) << "no squares painted back into the new rectangle";

    // Paste over the selection's handles: erasing them later leaves the pasted figure whole.
    Click(POINT{120, 120});
    Commands({ID_EDIT_COPY, ID_EDIT_PASTE});
    Click(POINT{600, 500});
    EXPECT_TRUE(Canvas() == PlainRender());
}

TEST_F(SelectionTargetTest, ArrowKeysMoveAResizedTextBoxWithoutLeavingOutlines)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    Resize(box);
    FocusOn(frame.View());  // the keyboard on the canvas, the text figure still selected
    QTest::keyPress(frame.View(), Qt::Key_Right);
    QTest::keyPress(frame.View(), Qt::Key_Right);
    QTest::keyRelease(frame.View(), Qt::Key_Right);
    EXPECT_EQ(box->GetCanvasRect(), (RECT{110, 100, 210, 150})) << "the box goes with its figure";
    EXPECT_EQ(FigureOf(1).m_rect, (RECT{104, 94, 216, 156}));
    // No dashed outline, no doubled handles: the handles 3 pixels inside the figure, on white.
    EXPECT_EQ(Diff(PlainRender(), Canvas()),
              Rings({{107, 97}, {160, 97}, {213, 97}, {213, 125}, {213, 153}, {160, 153}, {107, 153}, {107, 125}}));
}

TEST_F(SelectionTargetTest, AnInterruptedDragEndsCleanlyAndTheNextClickWorks)
{
    Add(FK_RECTANGLE, RECT{100, 100, 200, 200});
    frame.RefreshCanvas(false);
    const QImage plain = Canvas();

    // A creation band, interrupted by the context menu.
    frame.OnCommand(ID_INSERT_RECTANGLE);
    Press(POINT{300, 300});
    Move(POINT{380, 360});
    ASSERT_FALSE(Canvas() == plain) << "the band shows";
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(380, 360), frame.View()->mapToGlobal(QPoint(380, 360)));
    QCoreApplication::sendEvent(frame.View(), &menu);
    EXPECT_TRUE(Canvas() == plain) << "the band is erased";
    Release(POINT{380, 360});
    QApplication::setActiveWindow(&frame);  // the menu gave the window back
    Click(POINT{150, 150});
    EXPECT_EQ(g_pFigures->GetSize(), 1) << "no figure from the lost release";
    const QImage selected = Canvas();
    EXPECT_FALSE(selected == plain) << "the next click selects";

    // A move, interrupted by another window taking the focus.
    Press(POINT{150, 150});
    Move(POINT{170, 160});
    QDialog other(&frame);
    auto* field = new QLineEdit(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    FocusOn(field);
    EXPECT_TRUE(Canvas() == selected) << "the outline is erased, the handles stay";
    other.hide();
    QApplication::setActiveWindow(&frame);
    FocusOn(frame.View());
    Release(POINT{170, 160});
    EXPECT_EQ(Fig(0).m_rect, (RECT{100, 100, 200, 200})) << "not moved";

    // A resize, interrupted by Delete's question (answered Cancel).
    Press(POINT{198, 198});
    Move(POINT{230, 240});
    ws.QueueMessageBoxAnswer(IDCANCEL);
    Key(Qt::Key_Delete);
    EXPECT_EQ(ws.Shown(DialogKind::MessageBox).size(), 1u);
    EXPECT_TRUE(Canvas() == selected);
    Release(POINT{230, 240});
    EXPECT_EQ(Fig(0).m_rect, (RECT{100, 100, 200, 200}));
}

TEST_F(SelectionTargetTest, ATextFigureIsNeitherCutNorCopiedAndOnlyTheSelectedBoxIsDeleted)
{
    CEditBox* a = Place(RECT{100, 100, 200, 150});
    CEditBox* b = Place(RECT{300, 100, 400, 150});
    Add(FK_RECTANGLE, RECT{500, 300, 550, 350});
    Type(a, QStringLiteral("keep"));
    Resize(a);
    Commands({ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE});
    EXPECT_EQ(g_pFigures->GetSize(), 3) << "nothing cut, nothing pasted";
    EXPECT_EQ(FigureOf(1).m_strText, QStringLiteral("keep"));

    ws.QueueMessageBoxAnswer(IDOK);
    frame.OnDelete();
    EXPECT_EQ(frame.FindTextBoxWindow(1), nullptr) << "box, figure and record go together";
    EXPECT_EQ(frame.FindTextBoxWindow(2), b);
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(g_pTextBoxes->GetSize(), 1);
    EXPECT_EQ(FigureOf(2).m_nKind, FK_TEXT);
    EXPECT_EQ(Fig(1).m_nKind, FK_RECTANGLE);
}

TEST_F(SelectionTargetTest, OnlyALeftPressOnTheCanvasTakesTheFocusFromABox)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    FocusOn(box);
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(frame.View(), button, {}, QPoint(500, 400));
        EXPECT_TRUE(box->hasFocus()) << button;
    }
    Click(POINT{500, 400});
    EXPECT_TRUE(frame.View()->hasFocus());
}

TEST_F(SelectionTargetTest, EveryKeyReachesTheCanvasAndEveryReleaseRemakesTheSelection)
{
    Add(FK_RECTANGLE, RECT{100, 100, 200, 200});
    Click(POINT{150, 150});
    const std::pair<int, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_F5, Qt::NoModifier},        {Qt::Key_PageUp, Qt::NoModifier}, {Qt::Key_Comma, Qt::NoModifier},
        {Qt::Key_Exclam, Qt::ShiftModifier}, {Qt::Key_5, Qt::KeypadModifier}, {Qt::Key_Insert, Qt::NoModifier},
    };
    COLORREF fill = 1;
    for (const auto& [key, mods] : keys) {
        // A re-made figure takes the selection's colours: a new fill shows the release arrived.
        frame.m_crFill = ++fill;
        Key(key, mods);
        EXPECT_EQ(Fig(0).FillColor(), fill) << std::hex << key << ": the release re-made the figure";
        EXPECT_EQ(Fig(0).m_rect, (RECT{100, 100, 200, 200}));
    }
}

TEST_F(SelectionTargetTest, AReleaseOverABoxEndsAResizeAtTheBoxsForwardedPoint)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    Type(box, QStringLiteral("hello"));
    Resize(box);
    // The figure reaches 6 beyond the box: its bottom-right zone is (200..206, 150..156).
    Press(POINT{203, 153});
    Move(POINT{180, 140});
    Release(POINT{180, 140});
    // Forwarded in the box's client coordinates (inside its 1-pixel border):
    // the box becomes x by y from its unchanged top-left corner.
    EXPECT_EQ(box->GetCanvasRect(), (RECT{100, 100, 179, 139}));
    EXPECT_EQ(FigureOf(1).m_rect, (RECT{94, 94, 185, 145}));
    EXPECT_EQ(FigureOf(1).m_strText, QStringLiteral("hello"));
    EXPECT_EQ(FigureOf(1).m_pFormatRect, std::optional<RECT>(box->GetRect()));

    // Released over another box, the point comes in that box's coordinates
    // and lands on the canvas through it, as over the resized box itself.
    Place(RECT{300, 200, 400, 260});
    Resize(box);
    Press(POINT{182, 142});
    Move(POINT{370, 250});
    Release(POINT{370, 250});
    EXPECT_EQ(box->GetCanvasRect(), (RECT{100, 100, 369, 249}));
}

TEST_F(SelectionTargetTest, AClickIntoABoxMakesItTheBoxFormattedAlsoRightAfterTheActiveBoxWasDeleted)
{
    CEditBox* a = Place(RECT{100, 100, 200, 150});
    CEditBox* b = Place(RECT{300, 100, 400, 150});
    Resize(b);
    ws.QueueMessageBoxAnswer(IDOK);
    frame.OnDelete();
    ASSERT_EQ(frame.FindTextBoxWindow(2), nullptr);

    QTest::mouseClick(a->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    Type(a, QStringLiteral("x"));
    ws.QueueColor(kRed);
    frame.OnCommand(ID_FORMAT_COLOR);
    EXPECT_EQ(a->TextColor(), kRed);

    // A click makes a box the one formatted also when its window is not the
    // active one, so the toolkit moves no focus (no window manager gave the
    // window the keyboard back).
    CEditBox* c = Place(RECT{100, 300, 200, 350});
    Click(POINT{600, 600});
    QTest::mouseClick(a->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QTest::mousePress(c->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QCoreApplication::processEvents();
    ws.QueueColor(kBlue);
    frame.OnCommand(ID_FORMAT_COLOR);
    EXPECT_EQ(c->TextColor(), kBlue);
    EXPECT_EQ(a->TextColor(), kRed);
}

}  // namespace
