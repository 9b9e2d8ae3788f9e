// A shown, active main window with the scripted window system, and helpers
// that send real toolkit key and mouse events to text boxes.
#pragma once

#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "platform/ScriptedWindowSystem.h"
#include "platform/WindowSystem.h"
#include "scene/ShapeFigure.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <memory>

// Counts the events of some types that reach a widget (without stopping them).
class EventCounter : public QObject {
public:
    EventCounter(QObject* target, std::initializer_list<QEvent::Type> types) : m_types(types)
    {
        target->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (std::find(m_types.begin(), m_types.end(), event->type()) != m_types.end())
            ++count;
        return false;
    }

private:
    std::vector<QEvent::Type> m_types;
};

class TextFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetWindowSystem(&ws);
        frame = std::make_unique<CMainFrame>();
        frame->resize(800, 600);
        frame->show();
        frame->activateWindow();
        QApplication::setActiveWindow(frame.get());
        frame->View()->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
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

    static void SendKey(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                        const QString& text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(w, &release);
    }

    // Types `text` one character at a time, as the keyboard delivers it.
    static void Type(QWidget* w, const QString& text)
    {
        for (QChar c : text) {
            const int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
            SendKey(w, key, Qt::NoModifier, QString(c));
        }
    }

    // Mouse events go to the box's viewport, whose coordinates are the box's
    // client coordinates.
    static void SendMouse(CEditBox* box, QEvent::Type type, QPoint p, Qt::MouseButton button,
                          Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* vp = box->viewport();
        QMouseEvent event(type, QPointF(p), QPointF(vp->mapToGlobal(p)), button, buttons, mods);
        QCoreApplication::sendEvent(vp, &event);
    }

    // The focus moves to `w` as a click would move it.
    static void FocusOn(QWidget* w)
    {
        w->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
    }

    bool FrameIsActive() const { return QApplication::activeWindow() == frame.get(); }

    const CTextBoxInfo& Record(int id) const { return *g_pTextBoxes->GetAt(frame->FindTextBoxInfo(id)); }
    const CShapeFigure& FigureOf(int id) const { return *g_pFigures->GetAt(frame->FindTextFigure(id)); }

    ScriptedWindowSystem ws;
    std::unique_ptr<CMainFrame> frame;
};
