// The text box window's own messages: which keys edit the text and which are
// swallowed, what a press, a move and a release do, the forwarded release,
// the formatting rectangle, and a box that never scrolls.
#include "TextFixture.h"

#include <QScrollBar>
#include <QTextBlock>

using EditBoxTest = TextFixture;

TEST_F(EditBoxTest, CharactersBackspaceAndEnterEditWhileOtherKeysAreSwallowed)
{
    CEditBox* box = Place(RECT{100, 100, 300, 200});
    EventCounter keysAtView(frame->View(), QEvent::KeyPress);
    Type(box, "ab\rcd\b");
    EXPECT_EQ(box->GetWindowText(), "ab\nc");

    // None of these may move the caret, select, paste or delete: the next
    // character still lands at the end.
    const QChar del(0x7f);
    const struct { int key; Qt::KeyboardModifiers mods; QString text; } swallowed[] = {
        {Qt::Key_Left, {}, {}}, {Qt::Key_Up, {}, {}}, {Qt::Key_Home, {}, {}}, {Qt::Key_End, {}, {}},
        {Qt::Key_PageUp, {}, {}}, {Qt::Key_F1, {}, {}}, {Qt::Key_Delete, {}, del},
        {Qt::Key_Backspace, Qt::ControlModifier, del}, {Qt::Key_A, Qt::ControlModifier, QChar(0x01)},
        {Qt::Key_V, Qt::ControlModifier | Qt::AltModifier, QChar(0x16)}, {Qt::Key_Left, Qt::ShiftModifier, {}},
        {Qt::Key_Insert, Qt::ShiftModifier, {}}, {Qt::Key_Escape, {}, QChar(0x1b)}};
    for (const auto& k : swallowed)
        SendKey(box, k.key, k.mods, k.text);
    Type(box, "x");
    EXPECT_EQ(box->GetWindowText(), "ab\ncx");
    // Tab is a character of a multi-line box; Shift+Enter is a plain new line.
    SendKey(box, Qt::Key_Tab, {}, "\t");
    SendKey(box, Qt::Key_Return, Qt::ShiftModifier, "\r");
    EXPECT_EQ(box->GetWindowText(), "ab\ncx\t\n");
    EXPECT_EQ(keysAtView.count, 0);  // no key went on to the main window
}

// A drag inside never selects and a release after a press inside stays in
// the box; a release without one (a resize released over the box) is
// forwarded in the box's own client coordinates, which give its new size.
TEST_F(EditBoxTest, PressMoveAndReleaseAndTheForwardedRelease)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    Type(box, "hello");
    frame->m_pSelRect = std::make_shared<RECT>(RECT{100, 100, 200, 150});
    frame->m_nSelKind = FK_TEXT;
    frame->m_nMode = MODE_SIZE_SE;
    SendMouse(box, QEvent::MouseButtonPress, box->cursorRect().center(), Qt::LeftButton, Qt::LeftButton);
    SendMouse(box, QEvent::MouseMove, QPoint(3, 3), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(box->viewport()->cursor().shape(), Qt::ArrowCursor);  // exactly the left button
    SendMouse(box, QEvent::MouseButtonRelease, QPoint(3, 3), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(box->textCursor().hasSelection());
    EXPECT_EQ(box->geometry(), QRect(100, 100, 100, 50));

    SendMouse(box, QEvent::MouseButtonRelease, QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(box->geometry(), QRect(100, 100, 30, 20));
    EXPECT_EQ(frame->m_nMode, MODE_TEXT_SIZING);
}

TEST_F(EditBoxTest, FormattingRectangleLaysOutTheTextWhichNeverScrolls)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    // Client area 98 x 48 inside the one-pixel border, inset by the margin.
    const RECT rc = box->GetRect();
    EXPECT_EQ(rc, (RECT{2, 2, 96, 46}));
    FocusOn(box);
    Type(box, "wrap these words inside the box" + QString(12, '\r'));
    QCoreApplication::processEvents();
    EXPECT_GT(box->document()->firstBlock().layout()->lineCount(), 2);  // wrapped within the box
    // The first line is still drawn at the rectangle's top-left corner.
    EXPECT_EQ(box->verticalScrollBar()->value(), 0);
    EXPECT_EQ(box->cursorRect(QTextCursor(box->document())).topLeft(), QPoint(rc.left, rc.top));
}
