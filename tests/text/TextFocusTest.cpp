// The focus rules: the current text format is written back to the box
// recorded as active when the focus leaves a box or the main window; a box
// that gets the focus becomes the active box with its own format; any other
// window puts the active box's record back to its entry format. One journey
// through real focus changes, and the handlers called directly.
#include "TextFixture.h"

#include <QDialog>
#include <QLineEdit>

using TextFocusTest = TextFixture;

TEST_F(TextFocusTest, ClickingBox2WhileBox1IsActiveWritesRecord1AndLoadsRecord2)
{
    CEditBox* box1 = Place(RECT{10, 10, 110, 60});
    CEditBox* box2 = Place(RECT{200, 10, 300, 60});
    LOGFONT arial = g_logfont;
    SetFaceName(arial, "Arial");
    g_pTextBoxes->GetAt(1)->SetFormat(arial, kBlue, 2);
    FocusOn(box1);
    frame->OnTextBold();
    g_crText = kRed;
    const LOGFONT bold = g_logfont;
    EXPECT_NE(Record(1).m_logfont, bold);  // not yet written

    FocusOn(box2);
    EXPECT_EQ(Record(1).m_logfont, bold);
    EXPECT_EQ(Record(1).m_crText, kRed);
    EXPECT_EQ(g_logfont, arial);
    EXPECT_EQ(g_crText, kBlue);
    EXPECT_EQ(g_logfontEntry, arial);
    EXPECT_EQ(g_crEntry, kBlue);
    EXPECT_EQ(g_pActiveEdit, box2);
    EXPECT_EQ(g_nActiveId, 2);
    EXPECT_EQ(box2->TextFont()->GetLogFont(), arial);
    EXPECT_EQ(box1->TextFont()->GetLogFont(), bold);  // box 1 keeps its font

    // Back to the main window only the write-back happens; a box the main
    // window loses the focus to becomes active.
    g_logfont.lfUnderline = 1;
    FocusOn(frame->View());  // a press on the canvas
    EXPECT_EQ(Record(2).m_logfont.lfUnderline, 1);
    EXPECT_EQ(g_logfont.lfUnderline, 1);
    FocusOn(box1);
    EXPECT_EQ(g_pActiveEdit, box1);
    EXPECT_EQ(g_logfont, bold);

    // Any other window (a dialog, as a chooser) puts the active box's record
    // back to the format it had when the box became active.
    frame->OnTextItalic();
    QDialog dialog(frame.get());
    auto* field = new QLineEdit(&dialog);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    FocusOn(field);
    ASSERT_TRUE(field->hasFocus());
    EXPECT_EQ(Record(1).m_logfont, bold);
    EXPECT_EQ(g_logfont.lfItalic, 1);  // the current format stays
    EXPECT_EQ(g_pActiveEdit, box1);
}

// Called directly, the handlers act as the focus changes above do. To another
// window before any box became active through the focus, the active box's
// record takes the current format; to no window nothing happens.
TEST_F(TextFocusTest, TheHandlersCalledDirectly)
{
    CEditBox* box1 = Place(RECT{10, 10, 110, 60});
    CEditBox* box2 = Place(RECT{200, 10, 300, 60});
    g_logfont.lfWeight = 700;
    g_crText = kRed;
    box2->OnKillFocus(nullptr);
    EXPECT_EQ(g_nActiveId, 0);
    QWidget other;
    box2->OnKillFocus(&other);
    EXPECT_EQ(g_nActiveId, 2);
    EXPECT_EQ(Record(2).m_logfont.lfWeight, 700);
    EXPECT_EQ(Record(2).m_crText, kRed);

    g_logfont.lfUnderline = 1;
    QCoreApplication::processEvents();
    EventCounter paints(frame->View(), QEvent::Paint);
    frame->OnKillFocus(box1);  // the main window's handler also repaints it
    QCoreApplication::processEvents();
    EXPECT_EQ(Record(2).m_logfont.lfUnderline, 1);
    EXPECT_EQ(g_logfont.lfUnderline, 0);  // box 1's record
    EXPECT_EQ(g_pActiveEdit, box1);
    EXPECT_EQ(g_nActiveId, 1);
    EXPECT_EQ(g_bEntryLoaded, 1);
    EXPECT_GT(paints.count, 0);
    g_logfont.lfItalic = 1;
    frame->OnKillFocus(nullptr);
    EXPECT_EQ(Record(1).m_logfont.lfItalic, 0);
}
