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
    void focusOutEvent(QFocusEvent* event) override;

private:
    POINT CanvasPoint(const QPointF& clientPoint) const;
    CMainFrame& m_frame;
};
