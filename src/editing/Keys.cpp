// The main window's keyboard: the arrow keys move the selection by 5 pixels
// as an outline, and letting the key go commits the move; Delete deletes.
#include "app/MainFrame.h"
#include "editing/Outline.h"
#include "scene/ShapeFigure.h"

namespace {

constexpr int kArrowStep = 5;

}  // namespace

void CMainFrame::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (m_pSelRect) {
        int dx = 0, dy = 0;
        switch (nChar) {
        case VK_LEFT: dx = -kArrowStep; break;
        case VK_RIGHT: dx = kArrowStep; break;
        case VK_UP: dy = -kArrowStep; break;
        case VK_DOWN: dy = kArrowStep; break;
        case VK_DELETE: OnDelete(); break;
        default: break;
        }
        if ((dx != 0 || dy != 0) && m_pSelRect) {
            // Only the outline moves; the figure record waits for the key release.
            const OutlineShape shape = OutlineOfKind(m_nSelKind);
            CDC& dc = *m_pCanvasDC;
            dc.SetROP2(R2_NOTXORPEN);
            const CPenSelection pen(dc, CPen(PS_DASH, 1, kBandColor));
            DrawOutline(dc, shape, *m_pSelRect);
            *m_pSelRect = OffsetRectBy(*m_pSelRect, dx, dy);
            DrawOutline(dc, shape, *m_pSelRect);
        }
    }
    // Without a selection, Escape and Right Arrow belong to the slide show.
    Invalidate();
}

void CMainFrame::OnKeyUp(UINT, UINT, UINT)
{
    if (!m_pSelRect || !g_pFigures->IsValidIndex(m_nSelected))
        return;
    if (m_nSelKind != FK_LINE && m_nSelKind != FK_RECTANGLE && m_nSelKind != FK_ELLIPSE)
        return;  // a text figure moves only as an outline; its next mouse release re-makes it
    std::unique_ptr<CShapeFigure> figure;
    if (m_bSelPicture == 1) {
        // Only a picture rectangle has a rule; any other picture figure keeps its record.
        if (m_nSelKind != FK_RECTANGLE)
            return;
        figure = std::make_unique<CShapeFigure>(*m_pSelRect, CC_RECTANGLE, CString(), 0, m_crLine, m_dSelTileWidth,
                                                m_dSelTileHeight, m_strSelPicture, std::nullopt, RGB(255, 255, 255));
    } else {
        figure = std::make_unique<CShapeFigure>(*m_pSelRect, CreationCodeFromKind(m_nSelKind), CString(), 0, m_crLine,
                                                0.0, 0.0, CString(), std::nullopt, m_crFill);
    }
    g_pFigures->SetAt(m_nSelected, std::move(figure));
    RefreshCanvas(true);
}
