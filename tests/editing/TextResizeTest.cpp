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
    // A box placed by the EditBox tool from (100, 100) to (200, 150), selected
    // by Resize: its text figure is (94, 94, 206, 156).
    CEditBox* ResizeBox(RECT rc = RECT{100, 100, 200, 150})
    {
        frame.OnCommand(ID_INSERT_EDITBOX);
        Drag(POINT{rc.left, rc.top}, POINT{rc.right, rc.bottom});
        frame.OnCommand(ID_CONTEXT_RESIZE);
        return g_pActiveEdit.data();
    }
};

TEST_F(TextResizeTest, ResizeSelectsTheBoxFigureAndAReleaseOverTheBoxSizesTheBoxFromItsCorner)
{
    frame.m_crLine = RGB(1, 1, 1);
    g_crText = RGB(9, 8, 7);
    CEditBox* box = ResizeBox();
    box->setPlainText(QStringLiteral("hello"));
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{94, 94, 206, 156}));
    EXPECT_EQ(frame.m_nSelKind, FK_TEXT);
    EXPECT_EQ(frame.m_nMode, MODE_TEXT_SIZING);
    EXPECT_EQ(g_pTextBoxes->GetAt(0)->m_crText, RGB(9, 8, 7)) << "the record takes the current text format";
    EXPECT_EQ(Pixel(94, 94), kBlack) << "the handles sit 3 pixels inside";

    Press(POINT{203, 153});
    EXPECT_EQ(frame.m_nMode, MODE_SIZE_SE);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{100, 100, 200, 150})) << "the drag works on the box window";
    Move(POINT{180, 140});
    // The button comes up over the box: the box passes the release on.
    const QPointF local(60, 30);
    QMouseEvent release(QEvent::MouseButtonRelease, local, box->viewport()->mapToGlobal(local), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box->viewport(), &release);

    EXPECT_EQ(box->GetCanvasRect(), (RECT{100, 100, 160, 130})) << "x by y from the unchanged top-left";
    EXPECT_EQ(*frame.m_pSelRect, (RECT{94, 94, 166, 136}));
    EXPECT_EQ(frame.m_nMode, MODE_TEXT_SIZING) << "still selected with live handles";
    const CShapeFigure& f = Fig(frame.m_nSelected);
    EXPECT_EQ(f.m_rect, (RECT{94, 94, 166, 136}));
    EXPECT_EQ(f.m_strText, QStringLiteral("hello"));
    EXPECT_EQ(f.LineColor(), RGB(1, 1, 1));
    ASSERT_TRUE(f.m_pFormatRect.has_value());
    EXPECT_EQ(*f.m_pFormatRect, box->GetRect());
}

TEST_F(TextResizeTest, DeleteRemovesTheBoxItsFigureAndItsRecord)
{
    ResizeBox(RECT{10, 10, 60, 40});
    const int id = ResizeBox()->GetDlgCtrlID();
    Add(FK_RECTANGLE, RECT{300, 300, 350, 350});
    ws.QueueMessageBoxAnswer(IDOK);
    frame.OnCommand(ID_CONTEXT_DELETE);
    EXPECT_EQ(g_pActiveEdit.data(), nullptr) << "the box window is gone";
    EXPECT_EQ(frame.FindTextBoxWindow(id), nullptr);
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(g_pTextBoxes->GetSize(), 1);
    EXPECT_EQ(frame.FindTextFigure(id), 2);
    EXPECT_EQ(frame.FindTextBoxInfo(id), 1);
    EXPECT_EQ(Fig(1).m_nKind, FK_RECTANGLE) << "the other figures stay";
    EXPECT_FALSE(frame.m_pSelRect);
}

}  // namespace
