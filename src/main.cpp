// Veltra Design & Pattern Creation Tool.
#include "app/DesignApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltra"));
    CDesignApp theApp;
    if (!theApp.InitInstance())
        return theApp.ExitInstance();
    QApplication::exec();
    return theApp.ExitInstance();
}
