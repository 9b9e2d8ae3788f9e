// The text box window's own messages: which keys edit the text and which are
// swallowed, what a press, a move and a release do, the forwarded release,
// the formatting rectangle, and a box that never scrolls.
#include "TextFixture.h"

#include <QScrollBar>
#include <QTextBlock>

namespace {

using EditBoxTest = TextFixture;

TEST_F(EditBoxTest, CharactersBackspaceAndEnterEditWhileKeysAreSwallowed)
{
    CEditBox* box = Place(RECT{100, 100, 300, 200});
    EventCounter keysAtView(frame->View(), {QEvent::KeyPress, QEvent::KeyRelease});

    Type(box, "ab");
    SendKey(box, Qt::Key_Return, Qt::NoModifier, "\r");
    Type(box, "cd");
    SendKey(box, Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(box->GetWindowText(), "ab\nc");

    // None of these may move the caret or delete: the next character still
    // lands at the end.
    for (int key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Home, Qt::Key_PageUp})
        SendKey(box, key);
    SendKey(box, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7f)));
    SendKey(box, Qt::Key_A, Qt::ControlModifier, QString(QChar(0x01)));   // no select-all
    SendKey(box, Qt::Key_Left, Qt::ShiftModifier);                         // no selection
    SendKey(box, Qt::Key_Insert, Qt::ShiftModifier);                       // no paste
    SendKey(box, Qt::Key_Backtab, Qt::ShiftModifier);
    SendKey(box, Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1b)));
    Type(box, "x");
    EXPECT_EQ(box->GetWindowText(), "ab\ncx");
    EXPECT_FALSE(box->textCursor().hasSelection());

    // Tab is a character of a multi-line box; Shift+Enter is a plain new line.
    SendKey(box, Qt::Key_Tab, Qt::NoModifier, "\t");
    SendKey(box, Qt::Key_Return, Qt::ShiftModifier, "\r");
    EXPECT_EQ(box->GetWindowText(), "ab\ncx\t\n");

    // Neither the pressed nor the released keys went on to the main window.
    EXPECT_EQ(keysAtView.count, 0);
}

TEST_F(EditBoxTest, CharacterKeysAreTextBackspaceEnterTabAndTheEditingControls)
{
    const auto isChar = [](int key, Qt::KeyboardModifiers mods, const QString& text) {
        return CEditBox::IsCharacterKey(QKeyEvent(QEvent::KeyPress, key, mods, text));
    };
    EXPECT_TRUE(isChar(Qt::Key_A, Qt::ShiftModifier, "A"));
    EXPECT_TRUE(isChar(Qt::Key_Space, Qt::NoModifier, " "));
    EXPECT_TRUE(isChar(0, Qt::NoModifier, QString::fromUtf8("\xc3\xa9")));  // a composed letter
    EXPECT_TRUE(isChar(Qt::Key_Backspace, Qt::NoModifier, "\b"));
    EXPECT_TRUE(isChar(Qt::Key_Enter, Qt::KeypadModifier, "\r"));
    EXPECT_TRUE(isChar(Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16))));
    EXPECT_TRUE(isChar(Qt::Key_Z, Qt::ControlModifier, QString(QChar(0x1a))));

    EXPECT_FALSE(isChar(Qt::Key_Right, Qt::NoModifier, ""));
    EXPECT_FALSE(isChar(Qt::Key_End, Qt::NoModifier, ""));
    EXPECT_FALSE(isChar(Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7f))));
    EXPECT_FALSE(isChar(Qt::Key_Backspace, Qt::ControlModifier, QString(QChar(0x7f))));
    EXPECT_FALSE(isChar(Qt::Key_A, Qt::ControlModifier, QString(QChar(0x01))));
    EXPECT_FALSE(isChar(Qt::Key_V, Qt::ControlModifier | Qt::AltModifier, QString(QChar(0x16))));
    EXPECT_FALSE(isChar(Qt::Key_F1, Qt::NoModifier, ""));
}

TEST_F(EditBoxTest, PressAndReleaseInsidePlaceTheCaretAndDragNeverSelects)
{
    CEditBox* box = Place(RECT{100, 100, 300, 200});
    Type(box, "hello world");
    const int modeBefore = frame->m_nMode;
    const QPoint start = box->cursorRect(QTextCursor(box->document())).center();  // before the first character
    const QPoint end = box->cursorRect().center();  // after the last character

    SendMouse(box, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(box->m_bMouseDown, 1);
    EXPECT_EQ(box->textCursor().position(), 0);

    // Exactly the left button: the arrow, and no selection.
    SendMouse(box, QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(box->viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(box->textCursor().hasSelection());
    // Left with Shift is not exactly the left button: the I-beam stays.
    SendMouse(box, QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(box->viewport()->cursor().shape(), Qt::IBeamCursor);
    EXPECT_FALSE(box->textCursor().hasSelection());

    SendMouse(box, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(box->m_bMouseDown, 0);
    EXPECT_FALSE(box->textCursor().hasSelection());
    EXPECT_EQ(box->textCursor().position(), 0);
    EXPECT_EQ(box->GetWindowText(), "hello world");
    EXPECT_EQ(frame->m_nMode, modeBefore);  // nothing reached the main window
}

// A resize of the box from its bottom-right zone, released over the box
// without a press inside it: the box forwards the release, and its point in
// the box's own client coordinates gives the box its new size.
TEST_F(EditBoxTest, ReleaseWithoutPressInsideIsForwardedInTheBoxsCoordinates)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    frame->m_nSelected = frame->FindTextFigure(box->GetDlgCtrlID());
    frame->m_pSelRect = std::make_shared<RECT>(RECT{100, 100, 200, 150});
    frame->m_nSelKind = FK_TEXT;
    frame->m_bSelPicture = 0;
    frame->m_nMode = MODE_SIZE_SE;

    SendMouse(box, QEvent::MouseButtonRelease, QPoint(30, 20), Qt::LeftButton, Qt::NoButton);

    EXPECT_EQ(box->geometry(), QRect(100, 100, 30, 20));
    EXPECT_EQ(FigureOf(box->GetDlgCtrlID()).m_rect, (RECT{94, 94, 136, 126}));
    EXPECT_EQ(frame->m_nMode, MODE_TEXT_SIZING);
}

TEST_F(EditBoxTest, ReleaseAfterAPressInsideStaysInTheBox)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    frame->m_pSelRect = std::make_shared<RECT>(RECT{100, 100, 200, 150});
    frame->m_nSelKind = FK_TEXT;
    frame->m_nMode = MODE_SIZE_SE;

    SendMouse(box, QEvent::MouseButtonPress, QPoint(30, 20), Qt::LeftButton, Qt::LeftButton);
    SendMouse(box, QEvent::MouseButtonRelease, QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(box->geometry(), QRect(100, 100, 100, 50));
    EXPECT_EQ(frame->m_nMode, MODE_SIZE_SE);

    // The next release without a press is forwarded again.
    SendMouse(box, QEvent::MouseButtonRelease, QPoint(40, 30), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(box->geometry(), QRect(100, 100, 40, 30));
}

TEST_F(EditBoxTest, TextNeverScrollsWhenItOutgrowsTheBox)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    FocusOn(box);
    for (int i = 0; i < 12; ++i) {
        Type(box, "line");
        SendKey(box, Qt::Key_Return, Qt::NoModifier, "\r");
    }
    Type(box, "last line with many words that wrap");
    QCoreApplication::processEvents();
    EXPECT_EQ(box->verticalScrollBar()->value(), 0);
    EXPECT_EQ(box->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(box->cursorForPosition(QPoint(box->GetRect().left, box->GetRect().top + 1)).blockNumber(), 0);
    // The first line is still drawn at the top of the text area.
    const QTextCursor first(box->document());
    EXPECT_EQ(box->cursorRect(first).top(), box->GetRect().top);
}

TEST_F(EditBoxTest, FormattingRectangleIsWhereTheTextIsLaidOut)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    // Client area 98 x 48 inside the one-pixel border, inset by the margin.
    const RECT rc = box->GetRect();
    EXPECT_EQ(rc, (RECT{2, 2, 96, 46}));
    EXPECT_EQ(box->viewport()->geometry().size(), QSize(98, 48));

    // The first character sits at the rectangle's top-left corner, and lines
    // wrap within its width.
    const QTextCursor first(box->document());
    EXPECT_EQ(box->cursorRect(first).top(), rc.top);
    EXPECT_NEAR(box->cursorRect(first).left(), rc.left, 1);
    Type(box, "wrap these words inside the box");
    QCoreApplication::processEvents();
    const QTextLayout* layout = box->document()->firstBlock().layout();
    ASSERT_GT(layout->lineCount(), 1);
    for (int i = 0; i < layout->lineCount(); ++i)
        EXPECT_LE(layout->lineAt(i).naturalTextWidth(), rc.right - rc.left) << "line " << i;

    // A larger window has a larger rectangle at once.
    box->MoveWindow(RECT{100, 100, 300, 260});
    EXPECT_EQ(box->GetRect(), (RECT{2, 2, 196, 156}));
}

TEST_F(EditBoxTest, SelectionStaysVisibleWithoutTheFocus)
{
    CEditBox* box = Place(RECT{100, 100, 300, 200});
    Type(box, "MMMM");
    box->selectAll();
    ASSERT_FALSE(box->hasFocus());
    const QColor highlight = box->palette().color(QPalette::Active, QPalette::Highlight);
    const QImage shot = box->grab().toImage();
    int highlighted = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            highlighted += shot.pixelColor(x, y) == highlight ? 1 : 0;
    EXPECT_GT(highlighted, 20);
}

}  // namespace
