// Veltra Design & Pattern Creation Tool.
//   veltra [PICTURE]     start, showing PICTURE as the background
//   veltra --help        the options, then exit 0
//   veltra --version     the name and version, then exit 0
// A mistake on the command line (an unknown option, a second picture) prints
// what is wrong and the usage line on stderr and exits with status 2, before
// any window system is opened.
#include "app/CommandLine.h"
#include "app/CanvasView.h"
#include "app/DesignApp.h"
#include "app/MainFrame.h"
#include "app/StartupProbe.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

namespace {

void SetIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Veltra"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELTRA_VERSION));
}

void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

}  // namespace

int main(int argc, char** argv)
{
    SetIdentity();
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    CCommandLine commandLine;
    switch (commandLine.Parse(raw)) {
    case CCommandLine::Outcome::Error:
        Print(stderr, QStringLiteral("veltra: %1\n%2\n").arg(commandLine.ErrorText(), commandLine.UsageLine()));
        return CCommandLine::kUsageError;
    case CCommandLine::Outcome::ShowVersion:
        Print(stdout, CCommandLine::VersionText());
        return 0;
    case CCommandLine::Outcome::ShowHelp: {
        // The help names the program as it was started: it needs the
        // application object, but no window system.
        const QCoreApplication textApp(argc, argv);
        Print(stdout, commandLine.HelpText());
        return 0;
    }
    case CCommandLine::Outcome::Run:
        break;
    }

    QApplication app(argc, argv);
    CDesignApp theApp;
    if (!theApp.InitInstance())
        return theApp.ExitInstance();
    // A picture named on the command line opens as File > Open opens it: a
    // file that cannot be read shows nothing and no message.
    if (!commandLine.Picture().isEmpty())
        theApp.MainWindow()->OpenPicture(commandLine.Picture());
    InstallStartupProbe(theApp.MainWindow()->View());
    QApplication::exec();
    return theApp.ExitInstance();
}
