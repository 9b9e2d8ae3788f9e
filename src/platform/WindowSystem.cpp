#include "platform/WindowSystem.h"

#include "platform/QtWindowSystem.h"
#include "platform/WindowSystemUtil.h"

#include <QApplication>
#include <QFileInfo>
#include <QThread>
#include <QWidget>

#include <atomic>

namespace {
// The implementation a test installed, or null for the toolkit's. Atomic,
// as any thread may ask for it.
std::atomic<IWindowSystem*> g_installed{nullptr};

IWindowSystem& ToolkitWindowSystem()
{
    static QtWindowSystem ws;
    return ws;
}
}  // namespace

IWindowSystem& WindowSystem()
{
    IWindowSystem* ws = g_installed.load();
    return ws ? *ws : ToolkitWindowSystem();
}

void SetWindowSystem(IWindowSystem* ws)
{
    g_installed.store(ws);
}

QWidget* FindWindowByTitle(const QString& title, const std::function<bool(const QWidget*)>& accept)
{
    // Widgets belong to the user-interface thread; another thread gets none.
    if (!qApp || QThread::currentThread() != qApp->thread())
        return nullptr;
    QWidget* hidden = nullptr;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (!w->isWindow() || w->windowTitle() != title || (accept && !accept(w)))
            continue;
        if (w->isVisible())
            return w;
        if (!hidden)
            hidden = w;
    }
    return hidden;
}

QString MessageBoxCaption(const QWidget* owner, const QString& caption)
{
    if (!caption.isEmpty())
        return caption;
    return owner ? kAppTitle : kDefaultMessageBoxCaption;
}

QString QtFileFilter(const QString& windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        if (description.isEmpty())
            break;  // "||" ends the list
        QStringList patterns;
        const QStringList windowsPatterns = parts.at(i + 1).split(QLatin1Char(';'));
        for (const QString& raw : windowsPatterns) {
            const QString pattern = raw.trimmed();
            if (pattern.isEmpty())
                continue;
            patterns.append(pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty())
            continue;
        entries.append(description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return entries.join(QLatin1String(";;"));
}

COLORREF ColorRefFromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}

bool FitsFileNameBuffer(const QStringList& paths, bool multiSelect)
{
    if (paths.isEmpty())
        return true;
    qsizetype units = 0;
    if (!multiSelect || paths.size() == 1) {
        units = paths.front().size() + (multiSelect ? 2 : 1);
    } else {
        const QString folder = QFileInfo(paths.front()).absolutePath();
        units = folder.size() + 1;
        for (const QString& path : paths)
            units += QFileInfo(path).fileName().size() + 1;
        units += 1;
    }
    return units <= kFileNameBufferChars;
}
