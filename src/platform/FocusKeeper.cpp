#include "platform/FocusKeeper.h"

#include "platform/WindowSystem.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

class FocusKeeper final : public QObject {
public:
    FocusKeeper(QString title, QObject* parent) : QObject(parent), m_title(std::move(title)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        if (event->type() == QEvent::Hide && widget->isWindow() && qobject_cast<QDialog*>(widget))
            DialogHidden(*widget);
        else if (event->type() == QEvent::MouseButtonPress)
            Pressed(*widget);
        return false;
    }

private:
    // A dialog that had the keyboard went: the keyboard goes back to the
    // window it returns to, once the toolkit has finished hiding it.
    void DialogHidden(QWidget& dialog)
    {
        const QWidget* active = QApplication::activeWindow();
        if (active && active != &dialog)
            return;  // another window has the keyboard already
        QPointer<QWidget> owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
        QTimer::singleShot(0, this, [this, owner] {
            QWidget* target = QApplication::activeModalWidget();
            if (!target)
                target = owner ? owner.data() : FindWindowByTitle(m_title);
            if (target && target->isVisible() && QApplication::activeWindow() != target)
                target->activateWindow();
        });
    }

    // A click makes its window the active one, as a window manager's
    // click-to-focus would.
    static void Pressed(QWidget& widget)
    {
        QWidget* window = widget.window();
        if (window->isActiveWindow() || window->windowType() == Qt::Popup || QApplication::activePopupWidget())
            return;
        window->activateWindow();
    }

    QString m_title;
};

// The 32-bit window property `atom` of `window`, or none.
std::optional<xcb_window_t> WindowProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t atom)
{
    const xcb_get_property_cookie_t cookie = xcb_get_property(c, 0, window, atom, XCB_ATOM_WINDOW, 0, 1);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(xcb_get_property_reply(c, cookie, nullptr),
                                                                         &std::free);
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

}  // namespace

void InstallFocusKeeper(const QString& mainWindowTitle)
{
    static QPointer<FocusKeeper> installed;
    if (installed || !qApp)
        return;
    installed = new FocusKeeper(mainWindowTitle, qApp);
    qApp->installEventFilter(installed);
}

bool WindowManagerIsRunning()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    if (platform != QLatin1String("xcb"))
        return true;  // a compositor manages its windows
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return false;
    // An EWMH window manager names a window of its own on the root window,
    // and that window names itself.
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr), &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen)
        return false;
    const std::optional<xcb_window_t> check = WindowProperty(c, screen->root, atom->atom);
    return check && WindowProperty(c, *check, atom->atom) == check;
}
