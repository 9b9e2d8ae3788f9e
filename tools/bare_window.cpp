// The baseline of the start-up benchmark: a bare toolkit window with a title,
// as large as the screen's available area, that paints only its background. With
// VELTRA_STARTUP_PROBE set it reports and quits after its first paint, as the
// program does (app/StartupProbe.h).
#include "app/StartupProbe.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    InstallStartupProbe(&window);
    // As large as the program's window: the screen's available area, also
    // where no window manager maximises it.
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.showMaximized();
    return QApplication::exec();
}
