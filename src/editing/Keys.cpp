// The main window's keyboard: the arrow keys move the selection by 5 pixels
// as an outline, and letting the key go commits the move; Delete deletes.
// With nothing selected, Escape stops the automatic slide shows and the
// Right arrow steps the manual one.
#include "app/MainFrame.h"
#include "editing/Outline.h"
#include "scene/ShapeFigure.h"
#include "slideshow/SlideShow.h"

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
        // A mouse drag owns the selection rectangle until its release.
        if ((dx != 0 || dy != 0) && m_pSelRect && !m_bDragging) {
            // Only the outline moves; the figure record waits for the key release.
            const OutlineShape shape = OutlineOfKind(m_nSelKind);
            CDC& dc = *m_pCanvasDC;
            dc.SetROP2(R2_NOTXORPEN);
            const CPenSelection pen(dc, CPen(PS_DASH, 1, kBandColor));
            DrawOutline(dc, shape, *m_pSelRect);
            *m_pSelRect = OffsetRectBy(*m_pSelRect, dx, dy);
            DrawOutline(dc, shape, *m_pSelRect);
        }
    } else if (nChar == VK_ESCAPE) {
        // Without a selection, Escape and Right Arrow belong to the slide show.
        g_bSlideStop.Set();
    } else if (nChar == VK_RIGHT && g_bSlideAuto.load() == 0) {
        StepManualSlideShow(this, true);
    }
    Invalidate();
}

void CMainFrame::OnKeyUp(UINT, UINT, UINT)
{
    if (!m_pSelRect || !g_pFigures->IsValidIndex(m_nSelected) || m_bDragging)
        return;
    if (m_nSelKind == FK_TEXT) {
        // A text figure moved by the keys takes its box along, as a mouse
        // move does, so no outline is left behind: the box window is the
        // selection less the figure's margin.
        *m_pSelRect = InflatedRect(*m_pSelRect, -TEXT_FIGURE_MARGIN);
        RebuildTextFigure(0, POINT{});
        RefreshCanvas(true);
        return;
    }
    // Only a picture rectangle has a rule; any other picture figure keeps its record.
    if (m_bSelPicture == 1 && m_nSelKind != FK_RECTANGLE)
        return;
    if (StoreSelectedFigure())
        RefreshCanvas(true);
}
