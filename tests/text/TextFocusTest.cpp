// The focus rules: the current text format is written back to the box
// recorded as active when the focus leaves a box or the main window; a box
// that gets the focus becomes the active box with its own format; any other
// window puts the active box's record back to its entry format.
#include "TextFixture.h"

#include <QDialog>
#include <QLineEdit>

namespace {

using TextFocusTest = TextFixture;

constexpr COLORREF kRed = RGB(255, 0, 0);

TEST_F(TextFocusTest, ClickingBox2WhileBox1IsActiveWritesRecord1AndLoadsRecord2)
{
    ASSERT_TRUE(FrameIsActive());
    CEditBox* box1 = Place(RECT{10, 10, 110, 60});
    CEditBox* box2 = Place(RECT{200, 10, 300, 60});
    LOGFONT arial = g_logfont;
    SetFaceName(arial, "Arial");
    CTextBoxInfo record2;
    record2.SetFormat(arial, RGB(0, 0, 255), 2);
    frame->ReplaceTextBoxInfo(2, record2);

    // From the canvas to box 1: box 1 becomes active with its own format.
    FocusOn(box1);
    ASSERT_TRUE(box1->hasFocus());
    EXPECT_EQ(g_pActiveEdit, box1);
    EXPECT_EQ(g_nActiveId, 1);
    EXPECT_EQ(g_bEntryLoaded, 1);

    // Box 1 is formatted; its record is not touched yet.
    frame->OnTextBold();
    frame->OnTextItalic();
    g_crText = kRed;
    EXPECT_EQ(Record(1).m_logfont.lfWeight, 0);

    FocusOn(box2);
    ASSERT_TRUE(box2->hasFocus());
    EXPECT_EQ(Record(1).m_logfont.lfWeight, 400);
    EXPECT_EQ(Record(1).m_logfont.lfItalic, 1);
    EXPECT_EQ(Record(1).m_crText, kRed);
    EXPECT_EQ(g_logfont, arial);
    EXPECT_EQ(g_crText, RGB(0, 0, 255));
    EXPECT_EQ(g_logfontEntry, arial);
    EXPECT_EQ(g_crEntry, RGB(0, 0, 255));
    EXPECT_EQ(g_pActiveEdit, box2);
    EXPECT_EQ(g_nActiveId, 2);
    EXPECT_EQ(box2->TextFont()->GetLogFont(), arial);
    // Box 1 keeps the font it was showing.
    EXPECT_EQ(box1->TextFont()->GetLogFont().lfWeight, 400);
}

TEST_F(TextFocusTest, TheBoxHandlerActsTheSameWhenCalledDirectly)
{
    CEditBox* box1 = Place(RECT{10, 10, 110, 60});
    CEditBox* box2 = Place(RECT{200, 10, 300, 60});
    g_nActiveId = 1;
    g_logfont.lfUnderline = 1;
    box1->OnKillFocus(box2);
    EXPECT_EQ(Record(1).m_logfont.lfUnderline, 1);
    EXPECT_EQ(g_logfont.lfUnderline, 0);  // box 2's record
    EXPECT_EQ(g_pActiveEdit, box2);
    EXPECT_EQ(g_nActiveId, 2);
    EXPECT_EQ(g_bEntryLoaded, 1);
}

TEST_F(TextFocusTest, FocusBackToTheMainWindowOnlyWritesTheFormatBack)
{
    ASSERT_TRUE(FrameIsActive());
    CEditBox* box1 = Place(RECT{10, 10, 110, 60});
    CEditBox* box2 = Place(RECT{200, 10, 300, 60});
    FocusOn(box1);
    frame->OnTextUnderline();
    FocusOn(frame->View());  // a press on the canvas
    EXPECT_EQ(Record(1).m_logfont.lfUnderline, 1);
    EXPECT_EQ(g_pActiveEdit, box1);
    EXPECT_EQ(g_nActiveId, 1);
    EXPECT_EQ(g_logfont.lfUnderline, 1);

    // The main window's handler: a box it loses the focus to becomes active.
    EventCounter paints(frame->View(), {QEvent::Paint});
    QCoreApplication::processEvents();
    paints.count = 0;
    FocusOn(box2);
    EXPECT_EQ(g_pActiveEdit, box2);
    EXPECT_EQ(g_nActiveId, 2);
    EXPECT_EQ(g_logfont.lfUnderline, 0);
    EXPECT_GT(paints.count, 0);  // the whole main window was invalidated

    // Called directly, with the main window itself as the receiver.
    g_logfont.lfWeight = 700;
    frame->OnKillFocus(frame.get());
    EXPECT_EQ(Record(2).m_logfont.lfWeight, 700);
    EXPECT_EQ(g_pActiveEdit, box2);
}

TEST_F(TextFocusTest, AnotherWindowPutsTheActiveBoxsRecordBackToItsEntryFormat)
{
    ASSERT_TRUE(FrameIsActive());
    CEditBox* box1 = Place(RECT{10, 10, 110, 60});
    FocusOn(box1);
    const LOGFONT entry = g_logfont;
    frame->OnTextBold();
    frame->OnTextBold();  // 700, not yet in the record

    // A dialog takes the focus (as a chooser does).
    QDialog dialog(frame.get());
    auto* field = new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    QApplication::setActiveWindow(&dialog);
    field->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(field->hasFocus());
    EXPECT_EQ(Record(1).m_logfont, entry);
    EXPECT_EQ(g_logfont.lfWeight, 700);  // the current format stays
    EXPECT_EQ(g_pActiveEdit, box1);

    // Called directly: the same.
    g_logfont.lfItalic = 1;
    box1->OnKillFocus(field);
    EXPECT_EQ(Record(1).m_logfont, entry);
}

TEST_F(TextFocusTest, AnotherWindowBeforeAnyBoxWasFocusedRecordsTheCurrentFormat)
{
    Place(RECT{10, 10, 110, 60});
    CEditBox* box2 = Place(RECT{200, 10, 300, 60});
    ASSERT_EQ(g_bEntryLoaded, 0);
    QWidget other;
    g_logfont.lfWeight = 700;
    g_crText = kRed;
    box2->OnKillFocus(&other);
    EXPECT_EQ(g_nActiveId, 2);
    EXPECT_EQ(Record(2).m_logfont.lfWeight, 700);
    EXPECT_EQ(Record(2).m_crText, kRed);
    EXPECT_EQ(Record(1).m_logfont.lfWeight, 0);
}

TEST_F(TextFocusTest, FocusToNoWindowChangesNothing)
{
    CEditBox* box1 = Place(RECT{10, 10, 110, 60});
    g_nActiveId = 1;
    g_logfont.lfWeight = 700;
    box1->OnKillFocus(nullptr);
    frame->OnKillFocus(nullptr);
    EXPECT_EQ(Record(1).m_logfont.lfWeight, 0);
    EXPECT_EQ(g_nActiveId, 1);
}

TEST_F(TextFocusTest, ABoxWithoutRecordKeepsItsFontWhenFocused)
{
    ASSERT_TRUE(FrameIsActive());
    CEditBox* box1 = Place(RECT{10, 10, 110, 60});
    const std::shared_ptr<const CFont> font = box1->TextFont();
    g_pTextBoxes->RemoveAt(frame->FindTextBoxInfo(1));
    g_logfont.lfWeight = 700;
    FocusOn(box1);
    EXPECT_EQ(g_pActiveEdit, box1);
    EXPECT_EQ(g_nActiveId, 1);
    EXPECT_EQ(box1->TextFont(), font);
    EXPECT_EQ(g_logfont.lfWeight, 700);
    EXPECT_EQ(g_pTextBoxes->GetSize(), 0);
}

}  // namespace
