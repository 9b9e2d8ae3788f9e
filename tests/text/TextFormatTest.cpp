// The text format: Format > Font, Format > Color and the bold, italic and
// underline toggles, each box drawing its text in the colour of its own
// record, and the focus rules: the current format is written back to the box
// recorded as active when the focus leaves a box or the main window; a box
// that gets the focus becomes the active box with its own format; any other
// window puts the active box's record back to its entry format.
#include "support/WindowTest.h"

#include <QDialog>
#include <QLineEdit>

#include <tuple>

namespace {

using TextFormatTest = ShownWindowTest;
using TextFocusTest = ShownWindowTest;

// How many pixels of a widget's rendering are exactly `color`.
int PixelsOf(QWidget* w, COLORREF color)
{
    const QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            n += PixelToColor(shot.pixel(x, y)) == color;
    return n;
}

TEST_F(TextFormatTest, WithoutABoxNothingChangesButAfterTheActiveBoxIsDeletedTheNextBoxTakesTheFormat)
{
    const LOGFONT before = g_logfont;
    const auto format = [&](COLORREF color) {
        ws.QueueColor(color);
        Commands({ID_FORMAT_FONT, ID_TEXT_BOLD, ID_TEXT_BOLD, ID_TEXT_ITALIC, ID_FORMAT_COLOR});
    };
    format(kRed);
    EXPECT_TRUE(ws.Shown(DialogKind::Font).empty());
    ASSERT_EQ(ws.Shown(DialogKind::Color).size(), 1u);
    EXPECT_EQ(ws.Shown(DialogKind::Color)[0].initialColor, 0u);
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    EXPECT_EQ(box->TextFont()->GetLogFont(), before);
    EXPECT_EQ(Record(1).m_crText, 0u);

    Resize(box);
    ws.QueueMessageBoxAnswer(IDOK);
    frame.OnDelete();
    ASSERT_EQ(frame.FindTextBoxWindow(1), nullptr);
    format(kGreen);
    CEditBox* next = Place(RECT{300, 100, 400, 150});
    EXPECT_EQ(next->TextFont()->GetLogFont().lfWeight, FW_BOLD);
    EXPECT_EQ(next->TextFont()->GetLogFont().lfItalic, 1);
    EXPECT_EQ(Record(2).m_crText, kGreen);
}

TEST_F(TextFormatTest, FontTakesTheChosenFontForTheActiveBoxAndItsRecord)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    const LOGFONT start = g_logfont;
    frame.OnFormatFont();  // cancelled: nothing changes
    // Width and escapement are not taken; the effects become 0 or 1.
    LOGFONT chosen{.lfHeight = -27, .lfWidth = 11, .lfEscapement = 900, .lfWeight = 700, .lfItalic = 255,
                   .lfUnderline = 1, .lfStrikeOut = 2, .lfCharSet = 1};
    LOGFONT taken{.lfHeight = -27, .lfWeight = 700, .lfItalic = 1, .lfUnderline = 1, .lfStrikeOut = 1, .lfCharSet = 1};
    SetFaceName(chosen, "Arial");
    SetFaceName(taken, "Arial");
    ws.QueueFont(chosen);
    frame.OnCommand(ID_FORMAT_FONT);
    ASSERT_EQ(ws.Shown(DialogKind::Font).size(), 2u);
    EXPECT_EQ(ws.Shown(DialogKind::Font)[1].initialFont, start);
    EXPECT_EQ(box->TextFont()->GetLogFont(), taken);
    EXPECT_EQ(Record(1).m_logfont, taken);
}

TEST_F(TextFormatTest, RedForBox1AndBlueForBox2StayWithTheirBoxes)
{
    g_logfont.lfHeight = -30;
    CEditBox* box1 = Place(RECT{10, 10, 210, 110});
    CEditBox* box2 = Place(RECT{300, 10, 500, 110});
    Type(box1, "MMM");
    Type(box2, "MMM");
    for (const auto& [box, color] : {std::pair(box1, kRed), std::pair(box2, kBlue)}) {
        FocusOn(box);
        ws.QueueColor(color);
        frame.OnFormatColor();
    }
    FocusOn(box1);
    EXPECT_GT(PixelsOf(box1, kRed), 20);
    EXPECT_EQ(PixelsOf(box1, kBlue), 0);
    EXPECT_GT(PixelsOf(box2, kBlue), 20);
    EXPECT_EQ(PixelsOf(box2, kRed), 0);
    // A record changed behind the box's back shows as soon as the box paints.
    g_pTextBoxes->GetAt(1)->m_crText = kRed;
    EXPECT_GT(PixelsOf(box2, kRed), 20);
}

// Each toolbar toggle flips its own field of the current format and gives
// the active box a new font made from it; the record waits for the next focus
// change. Bold gives 400 from any weight but exactly 400, and 700 from 400.
TEST_F(TextFormatTest, TheToolbarTogglesFlipBoldItalicAndUnderlineEachOnItsOwn)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    const LOGFONT start = g_logfont;
    ASSERT_EQ(start.lfWeight, 0);
    const std::tuple<UINT, int, BYTE, BYTE> presses[] = {
        {ID_TEXT_BOLD, 400, 0, 0}, {ID_TEXT_ITALIC, 400, 1, 0}, {ID_TEXT_UNDERLINE, 400, 1, 1},
        {ID_TEXT_BOLD, 700, 1, 1}, {ID_TEXT_ITALIC, 700, 0, 1}, {ID_TEXT_UNDERLINE, 700, 0, 0},
        {ID_TEXT_BOLD, 400, 0, 0},
    };
    for (const auto& [id, weight, italic, underline] : presses) {
        frame.FindAction(id)->trigger();
        LOGFONT want = start;
        want.lfWeight = weight;
        want.lfItalic = italic;
        want.lfUnderline = underline;
        EXPECT_EQ(box->TextFont()->GetLogFont(), want) << id << " to " << weight;
        const QFont shown = box->font();
        EXPECT_EQ(std::tuple(shown.bold(), shown.italic(), shown.underline()),
                  std::tuple(weight == 700, italic == 1, underline == 1)) << id << " to " << weight;
    }
    EXPECT_EQ(Record(1).m_logfont, start);

    // No box shows a font released when the main window makes a new one.
    const std::weak_ptr<const CFont> firstFont = box->TextFont();
    const QFont shown = box->font();
    CEditBox* second = Place(RECT{300, 10, 500, 110});  // the main window's font is replaced
    frame.FindAction(ID_TEXT_UNDERLINE)->trigger();     // and replaced again, from the toolbar
    EXPECT_TRUE(second->font().underline());
    ASSERT_FALSE(firstFont.expired());
    EXPECT_EQ(box->TextFont(), firstFont.lock());
    EXPECT_EQ(box->font(), shown);
}



TEST_F(TextFocusTest, ClickingBox2WhileBox1IsActiveWritesRecord1AndLoadsRecord2)
{
    CEditBox* box1 = Place(RECT{10, 10, 110, 60});
    CEditBox* box2 = Place(RECT{200, 10, 300, 60});
    LOGFONT arial = g_logfont;
    SetFaceName(arial, "Arial");
    g_pTextBoxes->GetAt(1)->SetFormat(arial, kBlue, 2);
    FocusOn(box1);
    frame.OnTextBold();
    g_crText = kRed;
    const LOGFONT bold = g_logfont;
    EXPECT_NE(Record(1).m_logfont, bold) << "not yet written";

    FocusOn(box2);
    EXPECT_EQ(Record(1).m_logfont, bold);
    EXPECT_EQ(Record(1).m_crText, kRed);
    EXPECT_EQ(g_logfont, arial);
    EXPECT_EQ(g_crText, kBlue);
    EXPECT_EQ(box2->TextFont()->GetLogFont(), arial);
    EXPECT_EQ(box1->TextFont()->GetLogFont(), bold) << "box 1 keeps its font";

    // Back to the main window only the write-back happens; a box the main
    // window loses the focus to becomes active.
    g_logfont.lfUnderline = 1;
    FocusOn(frame.View());  // a press on the canvas
    EXPECT_EQ(Record(2).m_logfont.lfUnderline, 1);
    EXPECT_EQ(g_logfont.lfUnderline, 1);
    FocusOn(box1);
    EXPECT_EQ(g_logfont, bold);

    // Any other window (a dialog, as a chooser) puts the active box's record
    // back to the format it had when the box became active.
    frame.OnTextItalic();
    QDialog dialog(&frame);
    auto* field = new QLineEdit(&dialog);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    FocusOn(field);
    ASSERT_TRUE(field->hasFocus());
    EXPECT_EQ(Record(1).m_logfont, bold);
    EXPECT_EQ(g_logfont.lfItalic, 1) << "the current format stays";
}

// A box's own handler called directly: to no window (the program lost the
// focus) nothing happens; to another window before any box became active
// through the focus, the active box's record takes the current format.
TEST_F(TextFocusTest, ABoxLosingTheFocusToNoWindowChangesNothing)
{
    Place(RECT{10, 10, 110, 60});
    CEditBox* box2 = Place(RECT{200, 10, 300, 60});
    g_logfont.lfWeight = 700;
    g_crText = kRed;
    box2->OnKillFocus(nullptr);
    EXPECT_EQ(Record(2).m_logfont.lfWeight, 0);
    QWidget other;
    box2->OnKillFocus(&other);
    EXPECT_EQ(Record(2).m_logfont.lfWeight, 700);
    EXPECT_EQ(Record(2).m_crText, kRed);
    g_logfont.lfItalic = 1;
    frame.OnKillFocus(nullptr);
    EXPECT_EQ(Record(2).m_logfont.lfItalic, 0);
}

}  // namespace
