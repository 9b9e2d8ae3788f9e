// The client area of the main window: it shows the canvas at the scroll
// position and turns the toolkit's mouse, key and context-menu events into
// the main window's handlers. It never draws anything but a copy of the canvas.
#pragma once

#include "platform/WinTypes.h"

#include <QWidget>

class CMainFrame;

class CCanvasView : public QWidget {
public:
    CCanvasView(CMainFrame& frame, QWidget* parent);

    // The handler flags (MK_*) of the buttons and modifier keys in an event.
    static UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    // The virtual-key code of a toolkit key, or 0 when it has none here.
    static UINT VirtualKey(int qtKey);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    POINT CanvasPoint(const QPointF& clientPoint) const;
    CMainFrame& m_frame;
};
