#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>

#include <optional>

namespace {
std::optional<SIZE> g_testScreen;
constexpr int kTitleBarHeight = 30;
}  // namespace

SIZE GetScreenSize()
{
    if (g_testScreen)
        return *g_testScreen;
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        return SIZE{g.width(), g.height()};
    }
    return SIZE{1024, 768};
}

SIZE GetFullScreenClientSize()
{
    // As Windows reports it: the work area (the screen less docked panels
    // such as a task bar) less a title bar.
    if (!g_testScreen) {
        if (const QScreen* s = QGuiApplication::primaryScreen()) {
            const QRect work = s->availableGeometry();
            return SIZE{work.width(), work.height() - kTitleBarHeight};
        }
    }
    const SIZE s = GetScreenSize();
    return SIZE{s.cx, s.cy - kTitleBarHeight};
}

int GetScreenDpiY()
{
    if (g_testScreen)
        return 96;
    if (const QScreen* s = QGuiApplication::primaryScreen())
        return static_cast<int>(s->logicalDotsPerInchY() + 0.5);
    return 96;
}

void SetScreenSizeForTesting(SIZE size)
{
    g_testScreen = size;
}
