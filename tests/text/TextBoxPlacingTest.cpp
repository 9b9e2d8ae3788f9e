// Placing text boxes (window, record, text figure), the mirroring of a box's
// text into its figure, and the record and figure lookups.
#include "TextFixture.h"

#include <QPointer>

namespace {

using TextBoxPlacingTest = TextFixture;

TEST_F(TextBoxPlacingTest, BoxWindowRecordAndFigureOfAPlacedBox)
{
    g_crText = RGB(1, 2, 3);
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    ASSERT_NE(box, nullptr);

    EXPECT_EQ(box->geometry(), QRect(100, 100, 100, 50));
    EXPECT_EQ(box->parentWidget(), frame->View());
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->GetDlgCtrlID(), 1);
    EXPECT_EQ(g_nTextBoxCount, 1);
    EXPECT_EQ(g_pActiveEdit, box);
    EXPECT_EQ(box->TextFont(), frame->m_pTextFont);
    EXPECT_EQ(box->TextFont()->GetLogFont(), g_logfont);
    // Made active without the focus; the recorded id stays.
    EXPECT_FALSE(box->hasFocus());
    EXPECT_EQ(g_nActiveId, 0);

    ASSERT_EQ(g_pTextBoxes->GetSize(), 1);
    EXPECT_EQ(Record(1).m_logfont, g_logfont);
    EXPECT_EQ(Record(1).m_crText, RGB(1, 2, 3));

    ASSERT_EQ(g_pFigures->GetSize(), 1);
    const CShapeFigure& fig = FigureOf(1);
    EXPECT_EQ(fig.m_rect, (RECT{94, 94, 206, 156}));
    EXPECT_EQ(fig.m_nKind, FK_TEXT);
    EXPECT_EQ(fig.m_nTextId, 1);
    EXPECT_TRUE(fig.m_strText.isEmpty());
    EXPECT_EQ(fig.LineColor(), RGB(192, 192, 192));
    EXPECT_EQ(fig.FillColor(), RGB(255, 255, 255));
    EXPECT_EQ(fig.m_dTileWidth, 0.0);
    EXPECT_EQ(fig.m_dTileHeight, 0.0);
    EXPECT_TRUE(fig.m_strPicture.isEmpty());
    ASSERT_TRUE(fig.m_pFormatRect.has_value());
    EXPECT_EQ(*fig.m_pFormatRect, box->GetRect());
}

TEST_F(TextBoxPlacingTest, BoxesTakeTheNextIdsAndTheLastIsActive)
{
    CEditBox* first = Place(RECT{10, 10, 60, 40});
    CEditBox* second = Place(RECT{100, 10, 160, 40});
    EXPECT_EQ(first->GetDlgCtrlID(), 1);
    EXPECT_EQ(second->GetDlgCtrlID(), 2);
    EXPECT_EQ(g_pActiveEdit, second);
    ASSERT_EQ(g_pTextBoxes->GetSize(), 2);
    EXPECT_EQ(g_pTextBoxes->GetAt(0)->m_nId, 1);
    EXPECT_EQ(g_pTextBoxes->GetAt(1)->m_nId, 2);
    EXPECT_EQ(g_pFigures->GetAt(0)->m_nTextId, 1);
    EXPECT_EQ(g_pFigures->GetAt(1)->m_nTextId, 2);
    EXPECT_EQ(frame->FindTextBoxWindow(2), second);
}

TEST_F(TextBoxPlacingTest, RectangleIsTakenAsDraggedAndAtTheScrollPosition)
{
    // Dragged up and to the left: nothing normalises it; the window is
    // empty and the figure's corners move 6 pixels out as given.
    CEditBox* up = Place(RECT{200, 150, 100, 100});
    EXPECT_EQ(up->geometry(), QRect(200, 150, 0, 0));
    EXPECT_EQ(FigureOf(1).m_rect, (RECT{194, 144, 106, 106}));

    // Canvas pixels are shown at the scroll position.
    g_nScrollX = 50;
    g_nScrollY = 30;
    CEditBox* scrolled = Place(RECT{100, 100, 200, 150});
    EXPECT_EQ(scrolled->geometry(), QRect(50, 70, 100, 50));
    EXPECT_EQ(scrolled->GetCanvasRect(), (RECT{100, 100, 200, 150}));
    EXPECT_EQ(FigureOf(2).m_rect, (RECT{94, 94, 206, 156}));
}

TEST_F(TextBoxPlacingTest, EveryTypedCharacterRemakesTheBoxsFigure)
{
    // A figure below the box's, so the box's is not at index 0.
    g_pFigures->Add(std::make_unique<CShapeFigure>(RECT{0, 0, 5, 5}, CC_LINE, CString(), 0, 0, 0.0, 0.0,
                                                   CString(), std::nullopt, 0));
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    frame->m_nSelected = 0;
    const QString text = "ab cd";
    for (int i = 0; i < text.size(); ++i) {
        const CShapeFigure* before = g_pFigures->GetAt(1);
        Type(box, text.mid(i, 1));
        const CShapeFigure& fig = *g_pFigures->GetAt(1);
        EXPECT_NE(&fig, before) << "a new figure for character " << i;
        EXPECT_EQ(fig.m_strText, box->GetWindowText());
        EXPECT_EQ(fig.m_strText, text.left(i + 1));
        EXPECT_EQ(frame->m_nSelected, 1);
        EXPECT_EQ(fig.m_rect, (RECT{94, 94, 206, 156}));
        EXPECT_EQ(fig.m_nKind, FK_TEXT);
        EXPECT_EQ(fig.m_nTextId, 1);
        EXPECT_EQ(fig.LineColor(), RGB(192, 192, 192));
        EXPECT_EQ(fig.FillColor(), RGB(255, 255, 255));
        EXPECT_EQ(fig.m_pFormatRect, std::optional<RECT>(box->GetRect()));
    }
    SendKey(box, Qt::Key_Return, Qt::NoModifier, "\r");
    SendKey(box, Qt::Key_Backspace, Qt::NoModifier, "\b");
    SendKey(box, Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(g_pFigures->GetAt(1)->m_strText, "ab c");
    EXPECT_EQ(g_pFigures->GetSize(), 2);
}

TEST_F(TextBoxPlacingTest, FontAndColourChangesAreNoTextChanges)
{
    CEditBox* box = Place(RECT{100, 100, 200, 150});
    Type(box, "ab");
    const CShapeFigure* fig = g_pFigures->GetAt(0);
    frame->m_nSelected = -1;
    frame->OnTextBold();
    frame->OnTextBold();
    ws.QueueColor(RGB(255, 0, 0));
    frame->OnFormatColor();
    box->repaint();
    EXPECT_EQ(g_pFigures->GetAt(0), fig);
    EXPECT_EQ(frame->m_nSelected, -1);
}

TEST_F(TextBoxPlacingTest, TheFigureRemadeIsTheOneOfTheBoxThatChanged)
{
    CEditBox* first = Place(RECT{10, 10, 110, 60});
    Place(RECT{200, 10, 300, 60});
    ASSERT_EQ(g_pActiveEdit->GetDlgCtrlID(), 2);
    Type(first, "one");
    EXPECT_EQ(FigureOf(1).m_strText, "one");
    EXPECT_TRUE(FigureOf(2).m_strText.isEmpty());
    EXPECT_EQ(frame->m_nSelected, frame->FindTextFigure(1));
}

TEST_F(TextBoxPlacingTest, ChangesOfABoxWithoutFigureOrOutsideTheIdRangeChangeNothing)
{
    CEditBox* box = Place(RECT{10, 10, 110, 60});
    g_pFigures->RemoveAt(frame->FindTextFigure(1));  // cut away
    frame->m_nSelected = 5;
    Type(box, "x");
    EXPECT_EQ(g_pFigures->GetSize(), 0);
    EXPECT_EQ(frame->m_nSelected, 5);

    Place(RECT{10, 100, 110, 160});
    const CShapeFigure* fig = g_pFigures->GetAt(0);
    frame->OnEditChange(0);
    frame->OnEditChange(34464);
    EXPECT_EQ(g_pFigures->GetAt(0), fig);
    EXPECT_EQ(frame->m_nSelected, 5);
}

TEST_F(TextBoxPlacingTest, LookupsAreSafeWithoutAnEntryForTheId)
{
    Place(RECT{10, 10, 110, 60});
    Place(RECT{10, 100, 110, 160});
    EXPECT_EQ(frame->FindTextBoxInfo(2), 1);
    EXPECT_EQ(frame->FindTextFigure(2), 1);
    EXPECT_EQ(frame->FindTextBoxInfo(9), 2);
    EXPECT_EQ(frame->FindTextFigure(9), 2);
    EXPECT_EQ(frame->FindTextBoxWindow(9), nullptr);
    EXPECT_EQ(frame->GetTextBoxColor(9), std::nullopt);

    const LOGFONT before = g_logfont;
    g_crText = RGB(9, 9, 9);
    EXPECT_EQ(frame->LoadTextBoxFormat(9), nullptr);
    EXPECT_EQ(g_logfont, before);
    EXPECT_EQ(g_crText, RGB(9, 9, 9));
    EXPECT_EQ(g_logfontEntry, LOGFONT{});

    CTextBoxInfo stray;
    stray.SetFormat(LOGFONT{}, RGB(255, 0, 0), 9);
    frame->ReplaceTextBoxInfo(9, stray);
    EXPECT_EQ(g_pTextBoxes->GetSize(), 2);
    EXPECT_EQ(Record(1).m_crText, 0u);
    EXPECT_EQ(Record(2).m_crText, 0u);
}

TEST_F(TextBoxPlacingTest, ReplaceAndLoadUseTheRecordOfTheId)
{
    Place(RECT{10, 10, 110, 60});
    Place(RECT{10, 100, 110, 160});
    // A second record with id 2: every record with the id is replaced.
    auto extra = std::make_unique<CTextBoxInfo>();
    extra->SetFormat(LOGFONT{}, 0, 2);
    g_pTextBoxes->Add(std::move(extra));

    LOGFONT lf = g_logfont;
    lf.lfWeight = 700;
    SetFaceName(lf, "Arial");
    CTextBoxInfo record;
    record.SetFormat(lf, RGB(0, 0, 255), 2);
    frame->ReplaceTextBoxInfo(2, record);
    EXPECT_EQ(g_pTextBoxes->GetAt(1)->m_crText, RGB(0, 0, 255));
    EXPECT_EQ(g_pTextBoxes->GetAt(2)->m_crText, RGB(0, 0, 255));
    EXPECT_EQ(g_pTextBoxes->GetAt(2)->m_logfont, lf);
    EXPECT_EQ(Record(1).m_crText, 0u);
    EXPECT_EQ(frame->GetTextBoxColor(2), RGB(0, 0, 255));

    const std::shared_ptr<const CFont> font = frame->LoadTextBoxFormat(2);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetLogFont(), lf);
    EXPECT_EQ(g_logfont, lf);
    EXPECT_EQ(g_logfontEntry, lf);
    EXPECT_EQ(g_crText, RGB(0, 0, 255));
    EXPECT_EQ(g_crEntry, RGB(0, 0, 255));
}

TEST_F(TextBoxPlacingTest, ABoxKeepsItsFontWhenTheFrameMakesANewOne)
{
    CEditBox* first = Place(RECT{10, 10, 110, 60});
    std::weak_ptr<const CFont> firstFont = first->TextFont();
    const QFont shown = first->font();

    g_logfont.lfWeight = 700;
    Place(RECT{10, 100, 110, 160});  // m_pTextFont is replaced
    frame->OnTextBold();             // and replaced again
    ASSERT_NE(frame->m_pTextFont, firstFont.lock());
    ASSERT_FALSE(firstFont.expired());
    EXPECT_EQ(first->TextFont(), firstFont.lock());
    EXPECT_EQ(first->font(), shown);
    EXPECT_EQ(first->TextFont()->GetLogFont().lfWeight, 0);
}

TEST_F(TextBoxPlacingTest, ADeletedBoxIsNoLongerTheActiveBox)
{
    QPointer<CEditBox> box = Place(RECT{10, 10, 110, 60});
    delete box.data();
    EXPECT_EQ(g_pActiveEdit, nullptr);
    frame->OnTextBold();  // no box: nothing happens
    EXPECT_EQ(g_logfont.lfWeight, 0);
}

}  // namespace
