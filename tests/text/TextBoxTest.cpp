// Text boxes: placing one (window, record, text figure), and the box
// window's own messages: which keys
// edit the text and which are swallowed, a drag inside that never selects,
// the formatting rectangle, and a box that never scrolls.
#include "support/WindowTest.h"

#include <QMenuBar>
#include <QScrollBar>
#include <QTextBlock>

namespace {

using EditBoxTest = ShownWindowTest;
using TextBoxPlacingTest = ShownWindowTest;

TEST_F(TextBoxPlacingTest, PlacedBoxesTakeWindowRecordFigureAndTheNextIds)
{
    g_crText = RGB(1, 2, 3);
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->geometry(), QRect(100, 100, 100, 50));
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->TextFont()->GetLogFont(), g_logfont);
    EXPECT_FALSE(box->hasFocus()) << "made active without the focus";
    EXPECT_EQ(Record(1).m_logfont, g_logfont);
    EXPECT_EQ(Record(1).m_crText, RGB(1, 2, 3));
    EXPECT_EQ(Describe(FigureOf(1)), "text 94,94,206,156 c0c0c0/ffffff");
    EXPECT_EQ(FigureOf(1).m_pFormatRect, std::optional<RECT>(box->GetRect()));
    EXPECT_EQ(box->GetDlgCtrlID(), 1);
    EXPECT_EQ(Place(RECT{300, 10, 360, 40})->GetDlgCtrlID(), 2);

    // Dragged up and to the left nothing normalises the rectangle; canvas
    // pixels are shown at the scroll position.
    EXPECT_EQ(Place(RECT{200, 150, 100, 100})->geometry(), QRect(200, 150, 0, 0));
    EXPECT_EQ(FigureOf(3).m_rect, (RECT{194, 144, 106, 106}));
    g_nScrollX = 50;
    g_nScrollY = 30;
    EXPECT_EQ(Place(RECT{100, 100, 200, 150})->geometry(), QRect(50, 70, 100, 50));
    EXPECT_EQ(FigureOf(4).m_rect, (RECT{94, 94, 206, 156}));
}

// Counts the key presses that reach an object, without stopping them.
struct KeyCounter : QObject {
    explicit KeyCounter(QObject* target) { target->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override { return count += e->type() == QEvent::KeyPress, false; }
    int count = 0;
};

TEST_F(EditBoxTest, CharactersBackspaceEnterAndTabEditWhileOtherKeysAreSwallowed)
{
    CEditBox* box = Place(RECT{100, 100, 300, 200});
    FocusOn(box);
    KeyCounter keysAtView(frame.View());
    Type(box, "ab\rcd\b");
    EXPECT_EQ(box->GetWindowText(), "ab\nc");
    // None of these may move the caret, select, paste or delete: the next
    // character still lands at the end. Each comes with the text the keyboard
    // gives it. Alt+letters open no menu; Ctrl+Enter and Shift+Enter are plain
    // new lines, Tab and Shift+Tab characters of a multi-line box.
    const QString del(QChar(0x7f));
    const struct { int key; Qt::KeyboardModifiers mods; QString text; } keys[] = {
        {Qt::Key_Left, {}, {}}, {Qt::Key_Up, {}, {}}, {Qt::Key_Home, {}, {}}, {Qt::Key_End, {}, {}},
        {Qt::Key_PageUp, {}, {}}, {Qt::Key_F1, {}, {}}, {Qt::Key_Delete, {}, del},
        {Qt::Key_Backspace, Qt::ControlModifier, del}, {Qt::Key_A, Qt::ControlModifier, QChar(0x01)},
        {Qt::Key_V, Qt::ControlModifier | Qt::AltModifier, QChar(0x16)}, {Qt::Key_Left, Qt::ShiftModifier, {}},
        {Qt::Key_Insert, Qt::ShiftModifier, {}}, {Qt::Key_Escape, {}, QChar(0x1b)}, {Qt::Key_O, Qt::AltModifier, "o"},
        {Qt::Key_X, Qt::AltModifier, "x"}, {Qt::Key_Return, Qt::ControlModifier, "\r"},
        {Qt::Key_Return, Qt::ShiftModifier, "\r"}, {Qt::Key_Backtab, Qt::ShiftModifier, "\t"}, {Qt::Key_Tab, {}, "\t"}};
    for (const auto& k : keys)
        QTest::sendKeyEvent(QTest::Click, box, static_cast<Qt::Key>(k.key), k.text, k.mods);
    Type(box, "x");
    EXPECT_EQ(box->GetWindowText(), "ab\nc\n\n\t\tx");
    EXPECT_EQ(keysAtView.count, 0) << "no key went on to the main window";

    // F10 selects the menu bar from the box, and types nothing.
    Key(Qt::Key_F10, {}, box);
    EXPECT_EQ(frame.menuBar()->activeAction(), frame.menuBar()->actions().value(0));
    EXPECT_EQ(box->GetWindowText(), "ab\nc\n\n\t\tx");
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

TEST_F(EditBoxTest, ADragInsideNeverSelectsAndTheTextIsLaidOutInTheFormattingRectangleAndNeverScrolls)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    Type(box, "hello");
    QTest::mousePress(box->viewport(), Qt::LeftButton, {}, box->cursorRect().center());
    QTest::mouseMove(box->viewport(), QPoint(3, 3));
    EXPECT_EQ(box->viewport()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseRelease(box->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(box->textCursor().hasSelection());
    EXPECT_EQ(box->GetCanvasRect(), (RECT{100, 100, 200, 150})) << "the release stays in the box";
    // Client area 98 x 48 inside the one-pixel border, inset by the margin;
    // the text wraps within it and its first line stays at its top-left corner.
    const RECT rc = box->GetRect();
    EXPECT_EQ(rc, (RECT{2, 2, 96, 46}));
    FocusOn(box);
    Type(box, " wrap these words inside the box" + QString(12, '\r'));
    QCoreApplication::processEvents();
    EXPECT_GT(box->document()->firstBlock().layout()->lineCount(), 2);
    EXPECT_EQ(box->verticalScrollBar()->value(), 0);
    EXPECT_EQ(box->cursorRect(QTextCursor(box->document())).topLeft(), QPoint(rc.left, rc.top));
}

}  // namespace
