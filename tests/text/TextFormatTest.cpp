// Format > Font, Format > Color and the bold, italic and underline toggles,
// and each box drawing its text in the colour of its own record.
#include "TextFixture.h"

#include "resources/ResourceIds.h"

#include <QAction>

#include <tuple>

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

// Each toolbar toggle flips its own field of the current format and gives
// the active box a new font made from it; the record waits for the next focus
// change. Bold gives 400 from any weight but exactly 400, and 700 from 400.
TEST_F(TextFormatTest, TheToolbarTogglesFlipBoldItalicAndUnderlineEachOnItsOwn)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    const LOGFONT start = g_logfont;
    ASSERT_EQ(start.lfWeight, 0);
    const std::tuple<UINT, int, BYTE, BYTE> presses[] = {
        {ID_TEXT_BOLD, 400, 0, 0},      {ID_TEXT_ITALIC, 400, 1, 0}, {ID_TEXT_UNDERLINE, 400, 1, 1},
        {ID_TEXT_BOLD, 700, 1, 1},      {ID_TEXT_ITALIC, 700, 0, 1}, {ID_TEXT_UNDERLINE, 700, 0, 0},
        {ID_TEXT_BOLD, 400, 0, 0},
    };
    int step = 0;
    for (const auto& [id, weight, italic, underline] : presses) {
        frame->FindAction(id)->trigger();
        LOGFONT want = start;
        want.lfWeight = weight;
        want.lfItalic = italic;
        want.lfUnderline = underline;
        EXPECT_EQ(g_logfont, want) << "press " << step;
        EXPECT_EQ(box->TextFont(), frame->m_pTextFont) << "press " << step;
        EXPECT_EQ(box->TextFont()->GetLogFont(), want) << "press " << step;
        const QFont shown = box->font();
        EXPECT_EQ(std::tuple(shown.bold(), shown.italic(), shown.underline()),
                  std::tuple(weight == 700, italic == 1, underline == 1)) << "press " << step;
        ++step;
    }
    EXPECT_EQ(Record(1).m_logfont, start);
}

// No box shows a font released when the main window makes a new one.
TEST_F(TextFormatTest, ABoxKeepsItsFontWhenTheMainWindowMakesANewOne)
{
    CEditBox* box = Place(RECT{10, 10, 210, 110});
    frame->OnCommand(ID_TEXT_BOLD);
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
