// A main window for tests, with the scripted window system, and the user's
// input as real toolkit events: the mouse at canvas points (sent to the view
// at the scroll position), keys to the view or to a text box, typing. What
// the tests look at is what a user sees: canvas pixels, the boxes, the
// dialogs shown, files, the figure list and its figures.
#pragma once

#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "resources/ResourceIds.h"
#include "scene/ShapeFigure.h"
#include "support/ScriptedWindowSystem.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

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

// The pixels that differ between two images of one size.
inline Pixels Diff(const QImage& a, const QImage& b)
{
    Pixels d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                d.emplace(x, y);
    return d;
}

// The canvas a refresh gives `frame` with its figures and no handles,
// computed on the window and then put back.
inline QImage PlainRender(CMainFrame& frame)
{
    const QImage keep = frame.m_bmpCanvas.copy();
    const int rop = frame.m_pCanvasDC->GetROP2();
    const auto handles = frame.m_handlesShown;
    frame.ClearCanvas();
    frame.RedrawFigures();
    QImage plain = frame.m_bmpCanvas.copy();
    // Put the canvas back in place, without replacing the image the DC draws on.
    std::memcpy(frame.m_bmpCanvas.bits(), keep.constBits(), static_cast<std::size_t>(keep.sizeInBytes()));
    frame.m_pCanvasDC->SetROP2(rop);
    frame.m_handlesShown = handles;
    return plain;
}

// A figure in one line, as a user could list it: its kind, its corners as
// stored, its line and fill colours (red, green, blue), and a picture's file
// name with its tile size.
inline std::string Describe(const CShapeFigure& f)
{
    const char* const kinds[] = {"line", "rectangle", "ellipse", "text", "border"};
    const auto hex = [](COLORREF c) {
        return QString::asprintf("%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    };
    QString s = QStringLiteral("%1 %2,%3,%4,%5 %6/%7")
                    .arg(f.m_nKind >= FK_LINE && f.m_nKind <= FK_BORDER ? kinds[f.m_nKind] : "none")
                    .arg(f.m_rect.left).arg(f.m_rect.top).arg(f.m_rect.right).arg(f.m_rect.bottom)
                    .arg(hex(f.LineColor()), hex(f.FillColor()));
    if (f.HasPicture())
        s += QStringLiteral(" %1 %2x%3").arg(QFileInfo(f.m_strPicture).fileName()).arg(f.m_dTileWidth)
                 .arg(f.m_dTileHeight);
    return s.toStdString();
}

constexpr COLORREF kWhite = RGB(255, 255, 255), kGrey = RGB(192, 192, 192), kBlack = RGB(0, 0, 0),
                   kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 160, 0);

class WindowTest : public ::testing::Test {
protected:
    WindowTest() { SetWindowSystem(&ws); }
    ~WindowTest() override { SetWindowSystem(nullptr); }

    // The window shown and active with the keyboard on the canvas, as the user has it.
    void Show()
    {
        frame.resize(800, 600);
        frame.show();
        QApplication::setActiveWindow(&frame);
        FocusOn(frame.View());
    }

    COLORREF Pixel(int x, int y) const { return PixelToColor(frame.m_bmpCanvas.pixel(x, y)); }
    // Each canvas point shows its colour.
    void ExpectPixels(std::initializer_list<std::tuple<int, int, COLORREF>> probes) const
    {
        for (const auto& [x, y, color] : probes)
            EXPECT_EQ(Pixel(x, y), color) << "at " << x << "," << y;
    }
    QImage Canvas() const { return frame.m_bmpCanvas.copy(); }

    // Figures as the list holds them after a creation or a command.
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
    std::string Figure(int i) const { return Describe(Fig(i)); }

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

    void Commands(std::initializer_list<UINT> ids)
    {
        for (UINT id : ids)
            frame.OnCommand(id);
    }
    // The figures from the bottom up, each as Describe gives it.
    std::vector<std::string> Figures() const
    {
        std::vector<std::string> list;
        for (const auto& f : *g_pFigures)
            list.push_back(Describe(*f));
        return list;
    }

    // The box a placing drag over `rc` ends in, with its record and text figure.
    CEditBox* Place(const RECT& rc)
    {
        frame.PlaceTextBox(rc);
        return frame.FindTextBoxWindow(g_nTextBoxCount);
    }
    // Context > Resize on `box`, focused first: its text figure selected, with handles.
    void Resize(CEditBox* box)
    {
        FocusOn(box);
        frame.OnCommand(ID_CONTEXT_RESIZE);
    }
    const CTextBoxInfo& Record(int id) const { return *g_pTextBoxes->GetAt(frame.FindTextBoxInfo(id)); }
    const CShapeFigure& FigureOf(int id) const { return *g_pFigures->GetAt(frame.FindTextFigure(id)); }

    // A mouse event on the view at canvas point `p`, with the buttons `held`
    // (before a press, during a move, after a release the left one).
    void Mouse(QEvent::Type type, POINT p, Qt::KeyboardModifiers mods = {}, Qt::MouseButtons held = Qt::LeftButton)
    {
        const QPointF local(p.x - g_nScrollX, p.y - g_nScrollY);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, local, frame.View()->mapToGlobal(local), button,
                      type == QEvent::MouseButtonRelease ? held & ~Qt::LeftButton : held, mods);
        QCoreApplication::sendEvent(frame.View(), &e);
    }
    void Press(POINT p) { Mouse(QEvent::MouseButtonPress, p); }
    void Move(POINT p, Qt::KeyboardModifiers mods = {}) { Mouse(QEvent::MouseMove, p, mods); }
    void Release(POINT p) { Mouse(QEvent::MouseButtonRelease, p); }
    void Click(POINT p) { Press(p); Release(p); }
    // Press at `from`, move in 4 even steps to `to`, release there.
    void Drag(POINT from, POINT to)
    {
        Press(from);
        for (int i = 1; i <= 4; ++i)
            Move(POINT{from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4});
        Release(to);
    }
    // A key pressed and released on `w`, the canvas view when none.
    void Key(int key, Qt::KeyboardModifiers mods = {}, QWidget* w = nullptr)
    {
        QTest::keyClick(w ? w : frame.View(), static_cast<Qt::Key>(key), mods);
    }
    // Types letters, spaces, Enter (\r) and Backspace (\b) one at a time, as the keyboard delivers them.
    static void Type(QWidget* w, const QString& text)
    {
        for (QChar c : text) {
            const int key = c == '\r' ? +Qt::Key_Return : c == '\b' ? +Qt::Key_Backspace : c.toUpper().unicode();
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent e(type, key, Qt::NoModifier, QString(c));
                QCoreApplication::sendEvent(w, &e);
            }
        }
    }
    // The focus moves to `w` as a click would move it.
    static void FocusOn(QWidget* w)
    {
        w->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
    }

    // The message boxes shown, one line each: the text, the caption shown
    // ("title" for the program's title), the type in hex (0 OK, 1 OK and
    // Cancel, 4 Yes and No; 20 a question mark, 30 an exclamation mark; 100
    // the second button the default), and whose box it is: "main" (the main
    // window's), "none" or "other".
    QStringList Messages() const
    {
        QStringList lines;
        for (const ShownDialog& d : ws.Shown(DialogKind::MessageBox))
            lines << QStringLiteral("%1 | %2 | %3 | %4")
                         .arg(d.text, d.shownCaption == kAppTitle ? QStringLiteral("title") : d.shownCaption)
                         .arg(d.type, 0, 16)
                         .arg(d.owner == &frame ? "main" : d.owner ? "other" : "none");
        return lines;
    }
    // A command tried on what a click at each point selects (or on nothing):
    // the message it shows, from the main window, or none where `message` is empty.
    void ExpectMessages(std::initializer_list<std::pair<POINT, QString>> cases, const std::function<void()>& command)
    {
        for (const auto& [click, message] : cases) {
            ws.Reset();
            Click(click);
            command();
            EXPECT_EQ(ws.MessageTexts(), message.isEmpty() ? QStringList() : QStringList{message})
                << click.x << "," << click.y;
            for (const ShownDialog& d : ws.Shown(DialogKind::MessageBox))
                EXPECT_EQ(d.owner, &frame);
        }
    }

    QImage PlainRender() { return ::PlainRender(frame); }

    ScriptedWindowSystem ws;
    CMainFrame frame;
    QTemporaryDir dir;
};

// The window shown and active from the start.
class ShownWindowTest : public WindowTest {
protected:
    void SetUp() override { Show(); }
};
