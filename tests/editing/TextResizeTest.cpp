// Text boxes as figures: Resize selects the active box's text figure with
// live handles, its zones move or resize the box window, a release over the
// box arrives forwarded in the box's coordinates, and Delete removes box,
// figure and record together.
#include "EditingFixture.h"

#include "resources/ResourceIds.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

namespace {

class TextResizeTest : public EditingTest {
protected:
    // A box placed by the EditBox tool from (100, 100) to (200, 150): its
    // text figure is (94, 94, 206, 156).
    CEditBox* PlaceBox(RECT rc = RECT{100, 100, 200, 150})
    {
        frame.OnCommand(ID_INSERT_EDITBOX);
        Drag(POINT{rc.left, rc.top}, POINT{rc.right, rc.bottom});
        return g_pActiveEdit.data();
    }
    int TextFigureIndex(int id) const { return frame.FindTextFigure(id); }
};

TEST_F(TextResizeTest, ResizeSelectsTheActiveBoxFigureWithHandlesInside)
{
    Add(CC_RECTANGLE, RECT{300, 300, 350, 350});
    CEditBox* box = PlaceBox();
    ASSERT_NE(box, nullptr);
    frame.OnLButtonDown(MK_LBUTTON, POINT{320, 320});
    frame.OnLButtonUp(0, POINT{320, 320});
    g_crText = RGB(9, 8, 7);

    const QImage withRect = frame.m_bmpCanvas.copy();
    frame.OnCommand(ID_CONTEXT_RESIZE);
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{94, 94, 206, 156}));
    EXPECT_EQ(frame.m_nSelKind, FK_TEXT);
    EXPECT_EQ(frame.m_nSelected, 1);
    EXPECT_EQ(frame.m_bSelPicture, 0);
    EXPECT_EQ(frame.m_nMode, MODE_TEXT_SIZING);
    // The record takes the current text format.
    const CTextBoxInfo* record = g_pTextBoxes->GetAt(frame.FindTextBoxInfo(box->GetDlgCtrlID()));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_crText, RGB(9, 8, 7));
    // The rectangle's handles went, the text figure's came, 3 pixels inside.
    const auto d = Diff(withRect, frame.m_bmpCanvas);
    EXPECT_TRUE(d.count({297, 297})) << "old handle erased";
    EXPECT_TRUE(d.count({94, 94})) << "corner of the handle at (97, 97)";
    EXPECT_FALSE(d.count({91, 91}));

    // In this mode moves and releases do nothing.
    const QImage sizing = frame.m_bmpCanvas.copy();
    frame.OnMouseMove(MK_LBUTTON, POINT{250, 250});
    frame.OnLButtonUp(0, POINT{250, 250});
    EXPECT_TRUE(Diff(sizing, frame.m_bmpCanvas).empty());
    EXPECT_EQ(frame.m_nMode, MODE_TEXT_SIZING);
}

TEST_F(TextResizeTest, TheBottomRightZoneResizesTheBoxAndTheFigureFollows)
{
    CEditBox* box = PlaceBox();
    box->setPlainText(QStringLiteral("hello"));
    frame.m_crLine = RGB(1, 1, 1);
    frame.m_crFill = RGB(2, 2, 2);
    frame.OnCommand(ID_CONTEXT_RESIZE);

    frame.OnLButtonDown(MK_LBUTTON, POINT{203, 153});
    EXPECT_EQ(frame.m_nMode, MODE_SIZE_SE);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{100, 100, 200, 150})) << "the drag works on the box window";
    frame.OnMouseMove(MK_LBUTTON, POINT{260, 190});
    frame.OnLButtonUp(0, POINT{260, 190});

    EXPECT_EQ(box->GetCanvasRect(), (RECT{100, 100, 260, 190}));
    EXPECT_EQ(*frame.m_pSelRect, (RECT{94, 94, 266, 196}));
    EXPECT_EQ(frame.m_nMode, MODE_TEXT_SIZING) << "still selected with live handles";
    const int index = TextFigureIndex(box->GetDlgCtrlID());
    EXPECT_EQ(frame.m_nSelected, index);
    const CShapeFigure& f = Fig(index);
    EXPECT_EQ(f.m_nKind, FK_TEXT);
    EXPECT_EQ(f.m_rect, (RECT{94, 94, 266, 196}));
    EXPECT_EQ(f.m_strText, QStringLiteral("hello"));
    EXPECT_EQ(f.m_nTextId, box->GetDlgCtrlID());
    EXPECT_EQ(f.LineColor(), RGB(1, 1, 1));
    EXPECT_EQ(f.FillColor(), RGB(2, 2, 2));
    ASSERT_TRUE(f.m_pFormatRect.has_value());
    EXPECT_EQ(*f.m_pFormatRect, box->GetRect());
    EXPECT_EQ(Pixel(94, 94), kBlack) << "handles 3 pixels inside the grown rectangle";

    // The next press on the inside moves it, by the box's own rectangle.
    frame.OnLButtonDown(MK_LBUTTON, POINT{150, 150});
    EXPECT_EQ(frame.m_nMode, MODE_MOVE);
    EXPECT_EQ(frame.m_rcGrab, (RECT{50, 50, 160, 90}));
    frame.OnMouseMove(MK_LBUTTON, POINT{170, 160});
    frame.OnLButtonUp(0, POINT{170, 160});
    EXPECT_EQ(box->GetCanvasRect(), (RECT{120, 110, 280, 200}));
    EXPECT_EQ(Fig(index).m_rect, (RECT{114, 104, 286, 206}));
}

TEST_F(TextResizeTest, AReleaseOverTheBoxArrivesForwardedAndSizesTheBoxFromItsCorner)
{
    CEditBox* box = PlaceBox();
    frame.OnCommand(ID_CONTEXT_RESIZE);
    frame.OnLButtonDown(MK_LBUTTON, POINT{203, 153});
    frame.OnMouseMove(MK_LBUTTON, POINT{180, 140});
    // The button comes up over the box: the box passes the release on.
    const QPointF local(60, 30);
    QMouseEvent release(QEvent::MouseButtonRelease, local, box->viewport()->mapToGlobal(local), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box->viewport(), &release);

    EXPECT_EQ(box->GetCanvasRect(), (RECT{100, 100, 160, 130})) << "x by y from the unchanged top-left";
    EXPECT_EQ(Fig(TextFigureIndex(box->GetDlgCtrlID())).m_rect, (RECT{94, 94, 166, 136}));
    EXPECT_EQ(frame.m_nMode, MODE_TEXT_SIZING);
}

TEST_F(TextResizeTest, APressOutsideTheZonesSelectsAsUsual)
{
    Add(CC_RECTANGLE, RECT{300, 300, 350, 350});
    PlaceBox();
    frame.OnCommand(ID_CONTEXT_RESIZE);
    frame.OnLButtonDown(MK_LBUTTON, POINT{320, 320});
    EXPECT_EQ(frame.m_nSelKind, FK_RECTANGLE);
    EXPECT_EQ(frame.m_nSelected, 0);
    EXPECT_EQ(frame.m_nMode, MODE_MOVE);
    frame.OnLButtonUp(0, POINT{320, 320});
    EXPECT_TRUE(Diff(PlainRender(), frame.m_bmpCanvas).count({297, 297}));
    EXPECT_FALSE(Diff(PlainRender(), frame.m_bmpCanvas).count({94, 94})) << "the text handles are gone";
}

TEST_F(TextResizeTest, ArrowKeysMoveATextFigureOnlyAsAnOutline)
{
    CEditBox* box = PlaceBox();
    frame.OnCommand(ID_CONTEXT_RESIZE);
    const CShapeFigure* record = g_pFigures->GetAt(frame.m_nSelected);
    frame.OnKeyDown(VK_DOWN, 1, 0);
    frame.OnKeyUp(VK_DOWN, 1, 0);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{94, 99, 206, 161}));
    EXPECT_EQ(g_pFigures->GetAt(frame.m_nSelected), record);
    EXPECT_EQ(box->GetCanvasRect(), (RECT{100, 100, 200, 150}));
}

TEST_F(TextResizeTest, DeleteRemovesTheBoxItsFigureAndItsRecordAndResizeThenDoesNothing)
{
    PlaceBox(RECT{10, 10, 60, 40});
    CEditBox* box = PlaceBox();
    const int id = box->GetDlgCtrlID();
    Add(CC_RECTANGLE, RECT{300, 300, 350, 350});
    frame.OnCommand(ID_CONTEXT_RESIZE);
    ASSERT_EQ(g_pFigures->GetSize(), 3);

    ws.QueueMessageBoxAnswer(IDOK);
    frame.OnCommand(ID_CONTEXT_DELETE);
    EXPECT_EQ(g_pActiveEdit.data(), nullptr) << "the box window is gone";
    EXPECT_EQ(frame.FindTextBoxWindow(id), nullptr);
    EXPECT_EQ(frame.FindTextFigure(id), g_pFigures->GetSize());
    EXPECT_EQ(frame.FindTextBoxInfo(id), g_pTextBoxes->GetSize());
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(g_pTextBoxes->GetSize(), 1);
    EXPECT_EQ(Fig(1).m_nKind, FK_RECTANGLE) << "the other figures stay";
    EXPECT_FALSE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_nSelKind, -1);
    EXPECT_EQ(frame.m_nMode, MODE_NONE);

    const QImage before = frame.m_bmpCanvas.copy();
    frame.OnCommand(ID_CONTEXT_RESIZE);
    EXPECT_FALSE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty());
}

TEST_F(TextResizeTest, ResizeWithoutABoxOrAfterItsFigureWasCutDoesNothing)
{
    frame.OnCommand(ID_CONTEXT_RESIZE);
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_FALSE(frame.m_pSelRect);

    PlaceBox();
    frame.OnCommand(ID_CONTEXT_RESIZE);
    frame.OnCommand(ID_EDIT_CUT);
    EXPECT_EQ(frame.m_nClipKind, FK_TEXT);
    EXPECT_EQ(g_pFigures->GetSize(), 0);
    frame.m_nMode = MODE_NONE;
    frame.OnCommand(ID_CONTEXT_RESIZE);
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_FALSE(frame.m_pSelRect);

    // A held text figure pastes nothing, but the selection moves to the paste rectangle.
    const QImage before = frame.m_bmpCanvas.copy();
    frame.OnCommand(ID_EDIT_PASTE);
    EXPECT_EQ(g_pFigures->GetSize(), 0);
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{104, 104, 216, 166}));
    EXPECT_EQ(Diff(before, frame.m_bmpCanvas).count({104, 104}), 1u) << "only its handles are drawn";
}

}  // namespace
