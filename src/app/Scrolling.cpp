// Sizing and scrolling: the client area shows the canvas from the scroll
// position; resizing sets the ranges, the scroll bars move the position.
#include "app/CanvasView.h"
#include "app/MainFrame.h"

#include <QScrollBar>

namespace {
// The new position's step for a scroll code, limited to 0..limit.
int ScrollStep(UINT code, int thumb, int position, int page, int limit)
{
    int step = 0;
    switch (code) {
    case SB_LINEUP: step = -8; break;
    case SB_LINEDOWN: step = 8; break;
    case SB_PAGEUP: step = -page; break;
    case SB_PAGEDOWN: step = page; break;
    case SB_THUMBTRACK: step = thumb - position; break;
    default: step = 0; break;
    }
    const int p = position + step;
    if (p < 0)
        step = -position;
    else if (p > limit)
        step = limit - position;
    return step;
}
}  // namespace

void CMainFrame::SetScrollInfo(QScrollBar* bar, int nMax, int nPage, int nPos)
{
    // A Windows scroll bar with range 0..nMax and page nPage scrolls through
    // positions 0..nMax - nPage + 1.
    const QSignalBlocker block(bar);
    bar->setRange(0, std::max(0, nMax - std::max(nPage - 1, 0)));
    bar->setPageStep(std::max(nPage, 1));
    bar->setValue(nPos);
}

namespace {
// One direction's sizing: the range and page follow a client smaller than the
// canvas, and the position is clamped one pixel tighter than scrolling allows.
void SizeAxis(int client, int canvas, int& nMax, int& nPage, int& position)
{
    if (client >= canvas)
        return;
    nMax = canvas - 1;
    nPage = client;
    if (position >= canvas - client - 1)
        position = canvas - client - 1;
}
}  // namespace

void CMainFrame::OnSize(UINT, int cx, int cy)
{
    const int oldX = g_nScrollX, oldY = g_nScrollY;
    SizeAxis(cx, m_cxCanvas, m_nHMax, m_nHPage, g_nScrollX);
    SetScrollInfo(m_pHBar, m_nHMax, m_nHPage, g_nScrollX);
    SizeAxis(cy, m_cyCanvas, m_nVMax, m_nVPage, g_nScrollY);
    SetScrollInfo(m_pVBar, m_nVMax, m_nVPage, g_nScrollY);
    // A clamped position moves the contents like any other scroll, so the
    // text boxes stay over their figures.
    if (g_nScrollX != oldX || g_nScrollY != oldY)
        m_pView->scroll(oldX - g_nScrollX, oldY - g_nScrollY);
}

int CMainFrame::ScrollBy(QScrollBar* bar, UINT nSBCode, int nPos, int& position, int page, int canvas)
{
    const int step = ScrollStep(nSBCode, nPos, position, page, canvas - page);
    if (step == 0)
        return 0;
    position += step;
    const QSignalBlocker block(bar);
    bar->setValue(position);
    return step;
}

void CMainFrame::OnHScroll(UINT nSBCode, int nPos)
{
    // The contents, text boxes included, move with the view.
    if (const int step = ScrollBy(m_pHBar, nSBCode, nPos, g_nScrollX, m_nHPage, m_cxCanvas))
        m_pView->scroll(-step, 0);
}

void CMainFrame::OnVScroll(UINT nSBCode, int nPos)
{
    if (const int step = ScrollBy(m_pVBar, nSBCode, nPos, g_nScrollY, m_nVPage, m_cyCanvas))
        m_pView->scroll(0, -step);
}

void CMainFrame::OnScrollAction(QScrollBar* bar, bool horizontal, int action)
{
    UINT code = SB_ENDSCROLL;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    default: break;
    }
    const int proposed = bar->sliderPosition();
    if (horizontal)
        OnHScroll(code, proposed);
    else
        OnVScroll(code, proposed);
    // The position is ours, whatever the bar proposed.
    bar->setSliderPosition(horizontal ? g_nScrollX : g_nScrollY);
}
