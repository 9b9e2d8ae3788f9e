#include "app/CanvasView.h"

#include "app/MainFrame.h"
#include "platform/InputMapping.h"
#include "text/EditBox.h"

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
    // Only a left-button press gives the main window the keyboard focus (the
    // handler takes it): a right or middle click leaves it with a text box.
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

namespace {
// On a scaled screen the toolkit reports the pointer on screen pixel d as the
// point round(d / scale). The view shows on each screen pixel the canvas
// pixel that a click there reaches, by drawing the canvas moved up and left
// by this much of a point: the centre of screen pixel d, at (d + 0.5) / scale,
// then falls in canvas pixel round(d / scale). A hair more keeps a centre
// that lies exactly on a pixel boundary (at a scale of 2) on the side the
// rounding takes. Nothing at a scale of 1, where screen and canvas pixels
// are one.
qreal ScaledScreenShift(qreal scale)
{
    constexpr qreal kHair = 1.0 / 64;
    return scale == 1.0 ? 0.0 : (1.0 - 1.0 / scale) / 2 + kHair;
}
}  // namespace

POINT CCanvasView::CanvasPoint(const QPointF& clientPoint) const
{
    // Mouse points become canvas points by adding the scroll position, so
    // what is drawn lands where the pointer shows it at any scroll position
    // and any screen scale (the shift is below half a point, so whole points
    // stay whole).
    const qreal shift = ScaledScreenShift(devicePixelRatioF());
    return POINT{static_cast<int>(std::floor(clientPoint.x() + shift)) + g_nScrollX,
                 static_cast<int>(std::floor(clientPoint.y() + shift)) + g_nScrollY};
}

void CCanvasView::paintEvent(QPaintEvent* event)
{
    // Copy only what needs painting, from the canvas at the scroll offset.
    // Scaled, each canvas pixel is a sharp block of screen pixels (the
    // painter's default, nearest-pixel scaling), and the canvas is moved by
    // the shift; a point more on every side covers the region's edges, which
    // the paint event's clip keeps.
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage& canvas = m_frame.m_bmpCanvas;
    const qreal shift = ScaledScreenShift(devicePixelRatioF());
    for (const QRect& r : event->region()) {
        if (shift == 0.0) {
            painter.drawImage(r, canvas, r.translated(g_nScrollX, g_nScrollY));
            continue;
        }
        const QPointF offset(g_nScrollX + shift, g_nScrollY + shift);
        const QRectF source = QRectF(r.adjusted(-1, -1, 1, 1)).translated(offset) & QRectF(canvas.rect());
        if (!source.isEmpty())
            painter.drawImage(source.translated(-offset), canvas, source);
    }
}

void CCanvasView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_frame.OnSize(0, width(), height());
}

void CCanvasView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_frame.OnLButtonDown(MouseFlagsFromQt(event->buttons(), event->modifiers()), CanvasPoint(event->position()));
    else
        QWidget::mousePressEvent(event);
}

void CCanvasView::mouseMoveEvent(QMouseEvent* event)
{
    m_frame.OnMouseMove(MouseFlagsFromQt(event->buttons(), event->modifiers()), CanvasPoint(event->position()));
}

void CCanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    // The toolkit sends the release of a press on the canvas back here even
    // over a text box; the box would have forwarded it, in its own client
    // coordinates, so it goes on as that forwarded release.
    const QPoint local = event->position().toPoint();
    for (QWidget* w = childAt(local); w && w != this; w = w->parentWidget()) {
        if (auto* box = qobject_cast<CEditBox*>(w)) {
            const QPoint p = box->viewport()->mapFrom(this, local);
            m_frame.OnForwardedLButtonUp(*box, POINT{p.x(), p.y()});
            return;
        }
    }
    m_frame.OnLButtonUp(MouseFlagsFromQt(event->buttons(), event->modifiers()), CanvasPoint(event->position()));
}

namespace {
// Keys held with Alt are the menu bar's (system keys): they never reach the
// canvas's key handlers.
bool IsSystemKey(const QKeyEvent& event)
{
    return (event.modifiers() & Qt::AltModifier) || event.key() == Qt::Key_Alt || event.key() == Qt::Key_F10;
}
}  // namespace

void CCanvasView::keyPressEvent(QKeyEvent* event)
{
    if (IsSystemKey(*event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Every other key reaches the handler; a held key repeats its press.
    m_frame.OnKeyDown(VirtualKeyFromQt(event->key(), event->modifiers()), 1, event->isAutoRepeat() ? 0x4000u : 0u);
}

void CCanvasView::keyReleaseEvent(QKeyEvent* event)
{
    // The release comes once, when a held key is let go.
    if (IsSystemKey(*event) || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    m_frame.OnKeyUp(VirtualKeyFromQt(event->key(), event->modifiers()), 1, 0);
}

void CCanvasView::contextMenuEvent(QContextMenuEvent* event)
{
    m_frame.OnContextMenu(event->globalPos());
}

void CCanvasView::focusOutEvent(QFocusEvent* event)
{
    // A menu, a dialog or another window took the input: no release will
    // end a drag in progress.
    m_frame.CancelDrag();
    QWidget::focusOutEvent(event);
}

bool CCanvasView::focusNextPrevChild(bool)
{
    // Tab belongs to the canvas, not to focus navigation between text boxes.
    return false;
}
