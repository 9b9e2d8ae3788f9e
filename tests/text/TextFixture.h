// A shown, active main window with the scripted window system, and helpers
// that send real toolkit key and mouse events to text boxes.
#pragma once

#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "support/ScriptedWindowSystem.h"
#include "scene/ShapeFigure.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

// Counts the events of one type that reach an object, without stopping them.
struct EventCounter : QObject {
    EventCounter(QObject* target, QEvent::Type t) : type(t) { target->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override { count += e->type() == type; return false; }
    QEvent::Type type;
    int count = 0;
};

// How many pixels of a widget's rendering lie within 40 of `color` in each channel.
inline int PixelsNear(QWidget* w, COLORREF color)
{
    const QImage shot = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            n += std::abs(c.red() - GetRValue(color)) < 40 && std::abs(c.green() - GetGValue(color)) < 40 &&
                 std::abs(c.blue() - GetBValue(color)) < 40;
        }
    return n;
}

struct TextFixture : ::testing::Test {
    void SetUp() override
    {
        SetWindowSystem(&ws);
        frame = std::make_unique<CMainFrame>();
        frame->resize(800, 600);
        frame->show();
        QApplication::setActiveWindow(frame.get());
        FocusOn(frame->View());
    }
    void TearDown() override
    {
        frame.reset();
        SetWindowSystem(nullptr);
    }

    // A box placed as the end of a placing drag over `rc` does it.
    CEditBox* Place(const RECT& rc)
    {
        frame->PlaceTextBox(rc);
        return frame->FindTextBoxWindow(g_nTextBoxCount);
    }
    static void SendKey(QWidget* w, int key, Qt::KeyboardModifiers mods = {}, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, mods, text), release(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(w, &press);
        QCoreApplication::sendEvent(w, &release);
    }
    // Types letters, spaces, Enter (\r) and Backspace (\b) one at a time, as the keyboard delivers them.
    static void Type(QWidget* w, const QString& text)
    {
        for (QChar c : text)
            SendKey(w, c == '\r' ? +Qt::Key_Return : c == '\b' ? +Qt::Key_Backspace : c.toUpper().unicode(), {}, c);
    }
    // To the box's viewport, whose coordinates are the box's client coordinates.
    static void SendMouse(CEditBox* box, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(p), QPointF(box->viewport()->mapToGlobal(p)), button, buttons, {});
        QCoreApplication::sendEvent(box->viewport(), &event);
    }
    // The focus moves to `w` as a click would move it.
    static void FocusOn(QWidget* w)
    {
        w->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
    }
    const CTextBoxInfo& Record(int id) const { return *g_pTextBoxes->GetAt(frame->FindTextBoxInfo(id)); }
    const CShapeFigure& FigureOf(int id) const { return *g_pFigures->GetAt(frame->FindTextFigure(id)); }

    ScriptedWindowSystem ws;
    std::unique_ptr<CMainFrame> frame;
};
