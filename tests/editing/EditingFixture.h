// A main window for editing tests, with a scripted window system. Input
// reaches it through the handlers, or as real toolkit events sent to the view.
#pragma once

#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "support/ScriptedWindowSystem.h"
#include "scene/ShapeFigure.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <tuple>
#include <utility>

enum class Input { Handlers, Events };

using Pixels = std::set<std::pair<int, int>>;

// The pixels a set of handles inverts: each handle is the outline of the 6 x 6
// square from centre - 3, and a pixel inverted twice is back as it was.
inline Pixels Rings(std::initializer_list<POINT> centres)
{
    Pixels s;
    for (const POINT& c : centres)
        for (int y = c.y - 3; y <= c.y + 2; ++y)
            for (int x = c.x - 3; x <= c.x + 2; ++x)
                if (x == c.x - 3 || x == c.x + 2 || y == c.y - 3 || y == c.y + 2)
                    if (const auto [it, added] = s.emplace(x, y); !added)
                        s.erase(it);
    return s;
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 160, 0);

class EditingTest : public ::testing::Test {
protected:
    EditingTest() { SetWindowSystem(&ws); }
    ~EditingTest() override { SetWindowSystem(nullptr); }

    COLORREF Pixel(int x, int y) const { return PixelToColor(frame.m_bmpCanvas.pixel(x, y)); }
    QImage Canvas() const { return frame.m_bmpCanvas.copy(); }

    // Adds a figure as the list would hold it after a creation or a command.
    int Add(FigureKind kind, RECT rc, COLORREF line = kGrey, COLORREF fill = kWhite)
    {
        return g_pFigures->Add(CShapeFigure::Shape(kind, rc, line, fill));
    }
    int AddPicture(FigureKind kind, RECT rc, const QString& picture, double tw = 0, double th = 0,
                   COLORREF line = kGrey)
    {
        return g_pFigures->Add(CShapeFigure::Picture(kind, rc, line, picture, tw, th));
    }
    int AddBorder(RECT rc, double tw, double th, const QString& picture, COLORREF line = kGrey)
    {
        return g_pFigures->Add(CShapeFigure::Border(rc, line, tw, th, picture));
    }
    const CShapeFigure& Fig(int i) const { return *g_pFigures->GetAt(i); }

    // A picture file of w x h in `fill` with its top-left pixel red.
    QString Picture(const QString& name, int w, int h, COLORREF fill = kBlue)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(ColorToPixel(fill));
        img.setPixel(0, 0, ColorToPixel(kRed));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(img.save(path));
        return path;
    }

    void Press(POINT p, Input in = Input::Handlers) { Mouse(QEvent::MouseButtonPress, p, in); }
    void Move(POINT p, Input in = Input::Handlers) { Mouse(QEvent::MouseMove, p, in); }
    void Release(POINT p, Input in = Input::Handlers) { Mouse(QEvent::MouseButtonRelease, p, in); }
    void Click(POINT p, Input in = Input::Handlers) { Press(p, in); Release(p, in); }
    // Press at `from`, move in 4 even steps to `to`, release there.
    void Drag(POINT from, POINT to)
    {
        Press(from);
        for (int i = 1; i <= 4; ++i)
            Move(POINT{from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4});
        Release(to);
    }
    void Key(UINT vk, Input in = Input::Handlers, bool autoRepeat = false, QEvent::Type type = QEvent::KeyPress)
    {
        if (in == Input::Events) {
            const int key = vk == VK_RIGHT ? Qt::Key_Right : vk == VK_LEFT ? Qt::Key_Left : Qt::Key_unknown;
            QKeyEvent e(type, key, Qt::NoModifier, QString(), autoRepeat);
            QCoreApplication::sendEvent(frame.View(), &e);
        } else if (type == QEvent::KeyPress) {
            frame.OnKeyDown(vk, 1, autoRepeat ? 0x4000u : 0u);
        } else if (!autoRepeat) {  // the window system sends a held key no key-up
            frame.OnKeyUp(vk, 1, 0);
        }
    }
    void Tap(UINT vk) { Key(vk); Key(vk, Input::Handlers, false, QEvent::KeyRelease); }

    // A command tried on what a click at each point selects (or on nothing):
    // the message it shows, or none where `message` is empty.
    struct MessageCase {
        POINT click;
        QString message;
    };
    void ExpectMessages(std::initializer_list<MessageCase> cases, const std::function<void()>& command)
    {
        for (const MessageCase& c : cases) {
            ws.Reset();
            Click(c.click);
            command();
            const auto shown = ws.Shown(DialogKind::MessageBox);
            if (c.message.isEmpty()) {
                EXPECT_TRUE(shown.empty()) << c.click.x << "," << c.click.y;
                continue;
            }
            ASSERT_EQ(shown.size(), 1u) << c.click.x << "," << c.click.y;
            EXPECT_EQ(shown[0].text, c.message);
            EXPECT_EQ(shown[0].owner, &frame);
        }
    }

    // The set of canvas pixels that differ between two images.
    static Pixels Diff(const QImage& a, const QImage& b)
    {
        Pixels d;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    d.emplace(x, y);
        return d;
    }
    // The canvas as the refresh sequence would leave it with the current
    // figures and no handles, computed on the frame and then put back.
    QImage PlainRender()
    {
        const QImage keep = Canvas();
        const int rop = frame.m_pCanvasDC->GetROP2();
        frame.ClearCanvas();
        frame.RedrawFigures();
        QImage plain = Canvas();
        // Put the canvas back in place, without replacing the image the DC draws on.
        std::memcpy(frame.m_bmpCanvas.bits(), keep.constBits(), static_cast<std::size_t>(keep.sizeInBytes()));
        frame.m_pCanvasDC->SetROP2(rop);
        return plain;
    }
    ScriptedWindowSystem ws;
    CMainFrame frame;
    QTemporaryDir dir;

private:
    void Mouse(QEvent::Type type, POINT p, Input in)
    {
        if (in == Input::Events) {
            // The view shows the canvas from the scroll position.
            const QPointF local(p.x - g_nScrollX, p.y - g_nScrollY);
            QMouseEvent e(type, local, frame.View()->mapToGlobal(local),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(frame.View(), &e);
        } else if (type == QEvent::MouseButtonPress) {
            frame.OnLButtonDown(MK_LBUTTON, p);
        } else if (type == QEvent::MouseMove) {
            frame.OnMouseMove(MK_LBUTTON, p);
        } else {
            frame.OnLButtonUp(0, p);
        }
    }
};
