// Format > Font, Format > Color and the bold, italic and underline toggles,
// and each box drawing its text in the colour of its own record.
#include "TextFixture.h"

#include "resources/ResourceIds.h"

#include <QAction>

namespace {

using TextFormatTest = TextFixture;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// How many pixels of a box's rendering are close to `color`.
int PixelsNear(CEditBox* box, COLORREF color)
{
    const QImage shot = box->grab().toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (std::abs(c.red() - GetRValue(color)) < 40 && std::abs(c.green() - GetGValue(color)) < 40 &&
                std::abs(c.blue() - GetBValue(color)) < 40)
                ++n;
        }
    }
    return n;
}

TEST_F(TextFormatTest, FontWithoutABoxShowsNoChooser)
{
    frame->OnCommand(ID_FORMAT_FONT);
    EXPECT_TRUE(ws.Shown(DialogKind::Font).empty());
}

TEST_F(TextFormatTest, FontOkTakesTheChosenFontForTheActiveBoxAndItsRecord)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    const LOGFONT start = g_logfont;
    LOGFONT chosen{};
    SetFaceName(chosen, "Arial");
    chosen.lfHeight = -27;
    chosen.lfWidth = 11;       // not taken
    chosen.lfEscapement = 900;  // not taken
    chosen.lfWeight = 700;
    chosen.lfItalic = 255;
    chosen.lfUnderline = 1;
    chosen.lfStrikeOut = 2;
    chosen.lfCharSet = 1;
    ws.QueueFont(chosen);

    frame->OnCommand(ID_FORMAT_FONT);

    const auto shown = ws.Shown(DialogKind::Font);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].initialFont, start);
    EXPECT_EQ(shown[0].owner, frame.get());
    EXPECT_EQ(FaceName(g_logfont), "Arial");
    EXPECT_EQ(g_logfont.lfHeight, -27);
    EXPECT_EQ(g_logfont.lfWidth, 0);
    EXPECT_EQ(g_logfont.lfEscapement, 0);
    EXPECT_EQ(g_logfont.lfWeight, 700);
    EXPECT_EQ(g_logfont.lfItalic, 1);
    EXPECT_EQ(g_logfont.lfUnderline, 1);
    EXPECT_EQ(g_logfont.lfStrikeOut, 1);
    EXPECT_EQ(g_logfont.lfCharSet, 1);

    EXPECT_EQ(box->TextFont(), frame->m_pTextFont);
    EXPECT_EQ(box->TextFont()->GetLogFont(), g_logfont);
    EXPECT_EQ(box->font(), box->TextFont()->GetQFont());
    EXPECT_EQ(g_nActiveId, 1);
    EXPECT_EQ(Record(1).m_logfont, g_logfont);
}

TEST_F(TextFormatTest, FontCancelChangesNothing)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    const LOGFONT before = g_logfont;
    const std::shared_ptr<const CFont> font = box->TextFont();
    frame->OnFormatFont();  // nothing queued: the chooser is cancelled
    EXPECT_EQ(ws.Shown(DialogKind::Font).size(), 1u);
    EXPECT_EQ(g_logfont, before);
    EXPECT_EQ(box->TextFont(), font);
    EXPECT_EQ(frame->m_pTextFont, font);
    EXPECT_EQ(g_nActiveId, 0);
    EXPECT_EQ(Record(1).m_logfont, before);
}

TEST_F(TextFormatTest, ColorWithoutABoxShowsTheChooserAndOnlyRepaints)
{
    const COLORREF before = g_crText;
    EventCounter paints(frame->View(), {QEvent::Paint});
    QCoreApplication::processEvents();
    paints.count = 0;

    ws.QueueColor(kRed);
    frame->OnCommand(ID_FORMAT_COLOR);
    QCoreApplication::processEvents();
    const auto shown = ws.Shown(DialogKind::Color);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].initialColor, 0u);
    EXPECT_EQ(g_crText, before);
    EXPECT_EQ(g_nActiveId, 0);
    EXPECT_EQ(g_pTextBoxes->GetSize(), 0);
    EXPECT_GT(paints.count, 0);

    // Cancel: not even the repaint.
    paints.count = 0;
    frame->OnFormatColor();
    QCoreApplication::processEvents();
    EXPECT_EQ(ws.Shown(DialogKind::Color).size(), 2u);
    EXPECT_EQ(paints.count, 0);
}

TEST_F(TextFormatTest, RedForBox1AndBlueForBox2StayWithTheirBoxes)
{
    ASSERT_TRUE(FrameIsActive());
    g_logfont.lfHeight = -30;
    CEditBox* box1 = Place(RECT{10, 10, 210, 110});
    CEditBox* box2 = Place(RECT{300, 10, 500, 110});
    Type(box1, "MMM");
    Type(box2, "MMM");

    FocusOn(box1);
    ws.QueueColor(kRed);
    frame->OnFormatColor();
    EXPECT_EQ(g_crText, kRed);
    EXPECT_EQ(Record(1).m_crText, kRed);

    FocusOn(box2);
    EXPECT_EQ(g_crText, 0u);  // box 2's own record
    ws.QueueColor(kBlue);
    frame->OnFormatColor();
    // The chooser starts at black every time.
    EXPECT_EQ(ws.Shown(DialogKind::Color).back().initialColor, 0u);

    FocusOn(box1);
    EXPECT_EQ(g_crText, kRed);
    EXPECT_EQ(Record(1).m_crText, kRed);
    EXPECT_EQ(Record(2).m_crText, kBlue);
    EXPECT_EQ(box1->TextColor(), kRed);
    EXPECT_EQ(box2->TextColor(), kBlue);
    EXPECT_GT(PixelsNear(box1, kRed), 20);
    EXPECT_EQ(PixelsNear(box1, kBlue), 0);
    EXPECT_GT(PixelsNear(box2, kBlue), 20);
    EXPECT_EQ(PixelsNear(box2, kRed), 0);
}

TEST_F(TextFormatTest, ABoxDrawsInItsRecordsColourAsSoonAsItPaints)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    g_pTextBoxes->GetAt(0)->m_crText = kBlue;  // changed behind the box's back
    Type(box, "MMM");
    EXPECT_GT(PixelsNear(box, kBlue), 20);
    EXPECT_EQ(box->TextColor(), kBlue);
}

TEST_F(TextFormatTest, BoldThreeTimesFromAFreshStartGives400Then700Then400)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    ASSERT_EQ(g_logfont.lfWeight, 0);
    for (int expected : {400, 700, 400}) {
        const std::shared_ptr<const CFont> previous = frame->m_pTextFont;
        frame->OnCommand(ID_TEXT_BOLD);
        EXPECT_EQ(g_logfont.lfWeight, expected);
        EXPECT_NE(frame->m_pTextFont, previous);
        EXPECT_EQ(box->TextFont(), frame->m_pTextFont);
        EXPECT_EQ(box->TextFont()->GetLogFont().lfWeight, expected);
    }
    EXPECT_EQ(box->font().weight(), QFont::Normal);
    // The record waits for the next focus change.
    EXPECT_EQ(Record(1).m_logfont.lfWeight, 0);

    // Any other weight becomes 400.
    g_logfont.lfWeight = 300;
    frame->OnTextBold();
    EXPECT_EQ(g_logfont.lfWeight, 400);
}

TEST_F(TextFormatTest, ItalicAndUnderlineAlternateAndTheToolbarButtonsRunThem)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    QAction* italic = frame->FindAction(ID_TEXT_ITALIC);
    QAction* underline = frame->FindAction(ID_TEXT_UNDERLINE);
    ASSERT_NE(italic, nullptr);
    ASSERT_NE(underline, nullptr);
    ASSERT_TRUE(italic->isEnabled());
    for (int expected : {1, 0, 1}) {
        italic->trigger();
        EXPECT_EQ(g_logfont.lfItalic, expected);
        EXPECT_EQ(box->font().italic(), expected == 1);
    }
    for (int expected : {1, 0}) {
        underline->trigger();
        EXPECT_EQ(g_logfont.lfUnderline, expected);
        EXPECT_EQ(box->font().underline(), expected == 1);
    }
    g_logfont.lfItalic = 7;  // any non-zero value counts as on
    frame->OnTextItalic();
    EXPECT_EQ(g_logfont.lfItalic, 0);
    EXPECT_EQ(Record(1).m_logfont.lfItalic, 0);
}

TEST_F(TextFormatTest, TogglesWithoutABoxChangeNothing)
{
    const LOGFONT before = g_logfont;
    const std::shared_ptr<const CFont> font = frame->m_pTextFont;
    frame->OnTextBold();
    frame->OnTextItalic();
    frame->OnTextUnderline();
    EXPECT_EQ(g_logfont, before);
    EXPECT_EQ(frame->m_pTextFont, font);
}

}  // namespace
