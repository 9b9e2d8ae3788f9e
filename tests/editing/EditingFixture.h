// A main window for editing tests, with a scripted window system, and the two
// ways input reaches it: the handlers called directly, and real toolkit
// events sent to the canvas view. Both must end in the same state.
#pragma once

#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "platform/ScriptedWindowSystem.h"
#include "scene/ShapeFigure.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>

enum class Input { Handlers, Events };

inline std::string InputName(const ::testing::TestParamInfo<Input>& info)
{
    return info.param == Input::Handlers ? "Handlers" : "Events";
}

using Pixels = std::set<std::pair<int, int>>;

// The pixels a set of handles inverts: each handle is the outline of the 6 x 6
// square from centre - 3 (columns and rows centre-3 .. centre+2), and a pixel
// inverted twice is back as it was.
inline Pixels Rings(std::initializer_list<POINT> centres)
{
    Pixels s;
    for (const POINT& c : centres)
        for (int y = c.y - 3; y <= c.y + 2; ++y)
            for (int x = c.x - 3; x <= c.x + 2; ++x)
                if (x == c.x - 3 || x == c.x + 2 || y == c.y - 3 || y == c.y + 2) {
                    const auto [it, added] = s.emplace(x, y);
                    if (!added)
                        s.erase(it);
                }
    return s;
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class EditingTest : public ::testing::Test {
protected:
    EditingTest() { SetWindowSystem(&ws); }
    ~EditingTest() override { SetWindowSystem(nullptr); }

    COLORREF Pixel(int x, int y) const { return PixelToColor(frame.m_bmpCanvas.pixel(x, y)); }

    // Adds a figure as the list would hold it after a creation or a command.
    int Add(int code, RECT rc, COLORREF line = kGrey, COLORREF fill = kWhite, double tw = 0, double th = 0,
            const QString& picture = QString())
    {
        return g_pFigures->Add(
            std::make_unique<CShapeFigure>(rc, code, QString(), 0, line, tw, th, picture, std::nullopt, fill));
    }
    const CShapeFigure& Fig(int i) const { return *g_pFigures->GetAt(i); }

    // ---- input through the handlers, or through the view's toolkit events ----
    void Press(POINT p, Input in = Input::Handlers, UINT flags = MK_LBUTTON)
    {
        if (in == Input::Handlers)
            frame.OnLButtonDown(flags, p);
        else
            SendMouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Buttons(flags), Modifiers(flags));
    }
    void Move(POINT p, Input in = Input::Handlers, UINT flags = MK_LBUTTON)
    {
        if (in == Input::Handlers)
            frame.OnMouseMove(flags, p);
        else
            SendMouse(QEvent::MouseMove, p, Qt::NoButton, Buttons(flags), Modifiers(flags));
    }
    void Release(POINT p, Input in = Input::Handlers, UINT flags = 0)
    {
        if (in == Input::Handlers)
            frame.OnLButtonUp(flags, p);
        else
            SendMouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Buttons(flags), Modifiers(flags));
    }
    // Press at `from`, move in `steps` even steps to `to`, release there.
    void Drag(POINT from, POINT to, Input in = Input::Handlers, int steps = 4)
    {
        Press(from, in);
        for (int i = 1; i <= steps; ++i)
            Move(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, in);
        Release(to, in);
    }
    void Key(UINT vk, Input in = Input::Handlers, bool autoRepeat = false)
    {
        if (in == Input::Handlers) {
            frame.OnKeyDown(vk, 1, autoRepeat ? 0x4000u : 0u);
        } else {
            QKeyEvent e(QEvent::KeyPress, QtKey(vk), Qt::NoModifier, QString(), autoRepeat);
            QCoreApplication::sendEvent(frame.View(), &e);
        }
    }
    void KeyUp(UINT vk, Input in = Input::Handlers)
    {
        if (in == Input::Handlers) {
            frame.OnKeyUp(vk, 1, 0);
        } else {
            QKeyEvent e(QEvent::KeyRelease, QtKey(vk), Qt::NoModifier);
            QCoreApplication::sendEvent(frame.View(), &e);
        }
    }

    // The set of canvas pixels that differ between two images.
    static Pixels Diff(const QImage& a, const QImage& b)
    {
        Pixels d;
        for (int y = 0; y < a.height(); ++y) {
            const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x)
                if (ra[x] != rb[x])
                    d.emplace(x, y);
        }
        return d;
    }
    // The canvas as the refresh sequence would leave it with the current
    // figures and no handles, computed on the frame and then put back.
    QImage PlainRender()
    {
        const QImage keep = frame.m_bmpCanvas.copy();
        const int rop = frame.m_pCanvasDC->GetROP2();
        frame.ClearCanvas();
        frame.RedrawFigures();
        QImage plain = frame.m_bmpCanvas.copy();
        // Put the canvas back in place, without replacing the image the DC draws on.
        std::memcpy(frame.m_bmpCanvas.bits(), keep.constBits(), static_cast<std::size_t>(keep.sizeInBytes()));
        frame.m_pCanvasDC->SetROP2(rop);
        return plain;
    }

    ScriptedWindowSystem ws;
    CMainFrame frame;

private:
    void SendMouse(QEvent::Type type, POINT canvas, Qt::MouseButton button, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers mods)
    {
        // The view shows the canvas from the scroll position.
        const QPointF local(canvas.x - g_nScrollX, canvas.y - g_nScrollY);
        QMouseEvent e(type, local, frame.View()->mapToGlobal(local), button, buttons, mods);
        QCoreApplication::sendEvent(frame.View(), &e);
    }
    static Qt::MouseButtons Buttons(UINT flags)
    {
        Qt::MouseButtons b;
        if (flags & MK_LBUTTON)
            b |= Qt::LeftButton;
        if (flags & MK_RBUTTON)
            b |= Qt::RightButton;
        if (flags & MK_MBUTTON)
            b |= Qt::MiddleButton;
        return b;
    }
    static Qt::KeyboardModifiers Modifiers(UINT flags)
    {
        Qt::KeyboardModifiers m;
        if (flags & MK_SHIFT)
            m |= Qt::ShiftModifier;
        if (flags & MK_CONTROL)
            m |= Qt::ControlModifier;
        return m;
    }
    static int QtKey(UINT vk)
    {
        switch (vk) {
        case VK_LEFT: return Qt::Key_Left;
        case VK_RIGHT: return Qt::Key_Right;
        case VK_UP: return Qt::Key_Up;
        case VK_DOWN: return Qt::Key_Down;
        case VK_DELETE: return Qt::Key_Delete;
        case VK_ESCAPE: return Qt::Key_Escape;
        default: return Qt::Key_unknown;
        }
    }
};

class EditingInputTest : public EditingTest, public ::testing::WithParamInterface<Input> {};
