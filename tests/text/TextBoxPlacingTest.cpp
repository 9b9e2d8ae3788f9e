// Placing text boxes (window, record, text figure), the mirroring of a box's
// text into its figure, and the record and figure lookups.
#include "TextFixture.h"

using TextBoxPlacingTest = TextFixture;

TEST_F(TextBoxPlacingTest, PlacedBoxesTakeWindowRecordFigureAndTheNextIds)
{
    g_crText = RGB(1, 2, 3);
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->geometry(), QRect(100, 100, 100, 50));
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->TextFont()->GetLogFont(), g_logfont);
    // Made active without the focus; the recorded id stays.
    EXPECT_EQ(g_pActiveEdit, box);
    EXPECT_FALSE(box->hasFocus());
    EXPECT_EQ(g_nActiveId, 0);
    EXPECT_EQ(Record(1).m_logfont, g_logfont);
    EXPECT_EQ(Record(1).m_crText, RGB(1, 2, 3));
    const CShapeFigure& fig = FigureOf(1);
    EXPECT_EQ(fig.m_rect, (RECT{94, 94, 206, 156}));
    EXPECT_EQ(fig.m_nKind, FK_TEXT);
    EXPECT_EQ(fig.LineColor(), RGB(192, 192, 192));
    EXPECT_EQ(fig.FillColor(), RGB(255, 255, 255));
    EXPECT_EQ(fig.m_pFormatRect, std::optional<RECT>(box->GetRect()));

    CEditBox* second = Place(RECT{300, 10, 360, 40});
    EXPECT_EQ(box->GetDlgCtrlID(), 1);
    EXPECT_EQ(second->GetDlgCtrlID(), 2);
    EXPECT_EQ(g_pActiveEdit, second);

    // Dragged up and to the left nothing normalises the rectangle; canvas
    // pixels are shown at the scroll position.
    EXPECT_EQ(Place(RECT{200, 150, 100, 100})->geometry(), QRect(200, 150, 0, 0));
    EXPECT_EQ(FigureOf(3).m_rect, (RECT{194, 144, 106, 106}));
    g_nScrollX = 50;
    g_nScrollY = 30;
    EXPECT_EQ(Place(RECT{100, 100, 200, 150})->geometry(), QRect(50, 70, 100, 50));
    EXPECT_EQ(FigureOf(4).m_rect, (RECT{94, 94, 206, 156}));
}

// Every typed character re-makes the figure of the box that changed (not the
// active box's); once that figure is cut away, typing changes nothing.
TEST_F(TextBoxPlacingTest, EveryTypedCharacterRemakesTheFigureOfItsBox)
{
    g_pFigures->Add(CShapeFigure::Shape(FK_LINE, RECT{0, 0, 5, 5}, 0, 0));
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    Place(RECT{300, 100, 400, 150});
    const QString text = "ab cd";
    for (int i = 0; i < text.size(); ++i) {
        const CShapeFigure* before = g_pFigures->GetAt(1);
        Type(box, text.mid(i, 1));
        const CShapeFigure& fig = *g_pFigures->GetAt(1);
        EXPECT_NE(&fig, before) << "a new figure for character " << i;
        EXPECT_EQ(fig.m_strText, box->GetWindowText());
        EXPECT_EQ(fig.m_rect, (RECT{94, 94, 206, 156}));
        EXPECT_EQ(fig.m_nTextId, 1);
        EXPECT_EQ(frame->m_nSelected, 1);
    }
    Type(box, "\r\b\b");
    EXPECT_EQ(FigureOf(1).m_strText, "ab c");

    g_pFigures->RemoveAt(1);
    frame->m_nSelected = -1;
    Type(box, "x");
    EXPECT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(frame->m_nSelected, -1);
}

TEST_F(TextBoxPlacingTest, LookupsAreSafeWithoutAMatch)
{
    Place(RECT{10, 10, 110, 60});
    Place(RECT{10, 100, 110, 160});
    EXPECT_EQ(frame->FindTextBoxInfo(9), 2);
    EXPECT_EQ(frame->FindTextFigure(9), 2);
    EXPECT_EQ(frame->FindTextBoxWindow(9), nullptr);
    EXPECT_EQ(frame->GetTextBoxColor(9), std::nullopt);
    EXPECT_EQ(frame->LoadTextBoxFormat(9), nullptr);
    EXPECT_EQ(g_logfontEntry, LOGFONT{});
    frame->ReplaceTextBoxInfo(9, Record(1));
    EXPECT_EQ(g_pTextBoxes->GetSize(), 2);
}
