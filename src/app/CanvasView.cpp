#include "app/CanvasView.h"

#include "app/MainFrame.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

#include <cmath>

CCanvasView::CCanvasView(CMainFrame& frame, QWidget* parent) : QWidget(parent), m_frame(frame)
{
    // Painting covers every pixel from the canvas: no background erase needed.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

UINT CCanvasView::MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

UINT CCanvasView::VirtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    default:
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return static_cast<UINT>('0' + (qtKey - Qt::Key_0));
        if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
            return static_cast<UINT>('A' + (qtKey - Qt::Key_A));
        return 0;
    }
}

POINT CCanvasView::CanvasPoint(const QPointF& clientPoint) const
{
    // Mouse points become canvas points by adding the scroll position, so
    // what is drawn lands where the pointer shows it at any scroll position.
    return POINT{static_cast<int>(std::floor(clientPoint.x())) + g_nScrollX,
                 static_cast<int>(std::floor(clientPoint.y())) + g_nScrollY};
}

void CCanvasView::paintEvent(QPaintEvent* event)
{
    // Copy only what needs painting, from the canvas at the scroll offset.
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : event->region())
        painter.drawImage(r, m_frame.m_bmpCanvas, r.translated(g_nScrollX, g_nScrollY));
}

void CCanvasView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_frame.OnSize(0, width(), height());
}

void CCanvasView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_frame.OnLButtonDown(MouseFlags(event->buttons(), event->modifiers()), CanvasPoint(event->position()));
    else
        QWidget::mousePressEvent(event);
}

void CCanvasView::mouseMoveEvent(QMouseEvent* event)
{
    m_frame.OnMouseMove(MouseFlags(event->buttons(), event->modifiers()), CanvasPoint(event->position()));
}

void CCanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_frame.OnLButtonUp(MouseFlags(event->buttons(), event->modifiers()), CanvasPoint(event->position()));
    else
        QWidget::mouseReleaseEvent(event);
}

void CCanvasView::keyPressEvent(QKeyEvent* event)
{
    const UINT vk = VirtualKey(event->key());
    if (vk == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    // A held key repeats its press; the release comes once, when it is let go.
    m_frame.OnKeyDown(vk, 1, event->isAutoRepeat() ? 0x4000u : 0u);
}

void CCanvasView::keyReleaseEvent(QKeyEvent* event)
{
    const UINT vk = VirtualKey(event->key());
    if (vk == 0 || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    m_frame.OnKeyUp(vk, 1, 0);
}

void CCanvasView::contextMenuEvent(QContextMenuEvent* event)
{
    m_frame.OnContextMenu(event->globalPos());
}

bool CCanvasView::focusNextPrevChild(bool)
{
    // Tab belongs to the canvas, not to focus navigation between text boxes.
    return false;
}
