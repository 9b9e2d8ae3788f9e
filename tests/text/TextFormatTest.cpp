// Format > Font, Format > Color and the bold and underline toggles,
// and each box drawing its text in the colour of its own record.
#include "TextFixture.h"

#include "resources/ResourceIds.h"

#include <QAction>

using TextFormatTest = TextFixture;

TEST_F(TextFormatTest, WithoutABoxFontShowsNoChooserAndColorOnlyRepaints)
{
    const LOGFONT before = g_logfont;
    frame->OnCommand(ID_FORMAT_FONT);
    frame->OnTextBold();
    frame->OnTextItalic();
    frame->OnTextUnderline();
    EXPECT_TRUE(ws.Shown(DialogKind::Font).empty());
    EventCounter paints(frame->View(), QEvent::Paint);
    ws.QueueColor(kRed);
    frame->OnCommand(ID_FORMAT_COLOR);
    QCoreApplication::processEvents();
    ASSERT_EQ(ws.Shown(DialogKind::Color).size(), 1u);
    EXPECT_EQ(ws.Shown(DialogKind::Color)[0].initialColor, 0u);
    EXPECT_EQ(g_logfont, before);
    EXPECT_EQ(g_crText, 0u);
    EXPECT_GT(paints.count, 0);
}

TEST_F(TextFormatTest, FontTakesTheChosenFontForTheActiveBoxAndItsRecord)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    const LOGFONT start = g_logfont;
    frame->OnFormatFont();  // cancelled: nothing changes, not even the recorded id
    EXPECT_EQ(g_nActiveId, 0);

    // Width and escapement are not taken; the effects become 0 or 1.
    LOGFONT chosen{.lfHeight = -27, .lfWidth = 11, .lfEscapement = 900, .lfWeight = 700, .lfItalic = 255,
                   .lfUnderline = 1, .lfStrikeOut = 2, .lfCharSet = 1};
    LOGFONT taken{.lfHeight = -27, .lfWeight = 700, .lfItalic = 1, .lfUnderline = 1, .lfStrikeOut = 1, .lfCharSet = 1};
    SetFaceName(chosen, "Arial");
    SetFaceName(taken, "Arial");
    ws.QueueFont(chosen);
    frame->OnCommand(ID_FORMAT_FONT);
    ASSERT_EQ(ws.Shown(DialogKind::Font).size(), 2u);
    EXPECT_EQ(ws.Shown(DialogKind::Font)[1].initialFont, start);
    EXPECT_EQ(g_logfont, taken);
    EXPECT_EQ(box->TextFont()->GetLogFont(), taken);
    EXPECT_EQ(g_nActiveId, 1);
    EXPECT_EQ(Record(1).m_logfont, taken);
}

TEST_F(TextFormatTest, RedForBox1AndBlueForBox2StayWithTheirBoxes)
{
    g_logfont.lfHeight = -30;
    CEditBox* box1 = Place(RECT{10, 10, 210, 110});
    CEditBox* box2 = Place(RECT{300, 10, 500, 110});
    Type(box1, "MMM");
    Type(box2, "MMM");
    FocusOn(box1);
    ws.QueueColor(kRed);
    frame->OnFormatColor();
    FocusOn(box2);
    ws.QueueColor(kBlue);
    frame->OnFormatColor();

    FocusOn(box1);
    EXPECT_EQ(Record(1).m_crText, kRed);
    EXPECT_EQ(Record(2).m_crText, kBlue);
    EXPECT_GT(PixelsNear(box1, kRed), 20);
    EXPECT_EQ(PixelsNear(box1, kBlue), 0);
    EXPECT_GT(PixelsNear(box2, kBlue), 20);
    EXPECT_EQ(PixelsNear(box2, kRed), 0);
    // A record changed behind the box's back shows as soon as the box paints.
    g_pTextBoxes->GetAt(1)->m_crText = kRed;
    EXPECT_GT(PixelsNear(box2, kRed), 20);
}

// Bold from a fresh start gives 400, 700, 400, each time a new font for the
// active box; the record waits for the next focus change. No box shows a
// font released when the main window makes a new one.
TEST_F(TextFormatTest, BoldGives400Then700Then400AndNoBoxShowsAReleasedFont)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    for (int weight : {400, 700, 400}) {
        frame->OnCommand(ID_TEXT_BOLD);
        EXPECT_EQ(g_logfont.lfWeight, weight);
        EXPECT_EQ(box->TextFont(), frame->m_pTextFont);
        EXPECT_EQ(box->TextFont()->GetLogFont().lfWeight, weight);
    }
    EXPECT_EQ(Record(1).m_logfont.lfWeight, 0);

    const std::weak_ptr<const CFont> firstFont = box->TextFont();
    const QFont shown = box->font();
    CEditBox* second = Place(RECT{300, 10, 500, 110});  // m_pTextFont is replaced
    frame->FindAction(ID_TEXT_UNDERLINE)->trigger();     // and replaced again, from the toolbar
    EXPECT_TRUE(second->font().underline());
    ASSERT_NE(frame->m_pTextFont, firstFont.lock());
    ASSERT_FALSE(firstFont.expired());
    EXPECT_EQ(box->TextFont(), firstFont.lock());
    EXPECT_EQ(box->font(), shown);
}
