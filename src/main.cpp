// Veltra Design & Pattern Creation Tool.
//   veltra [PICTURE]     start, showing PICTURE as the background
//   veltra --help        the options, then exit 0
//   veltra --version     the name and version, then exit 0
// An unknown option or a second picture prints the error and the help and
// exits with status 2.
#include "app/CommandLine.h"
#include "app/CanvasView.h"
#include "app/DesignApp.h"
#include "app/MainFrame.h"
#include "app/StartupProbe.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <optional>

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

// The answer to a command line that only asks for text, when it is one, with
// its exit status. No window system is needed for it.
std::optional<int> AnswerText(CCommandLine& commandLine, CCommandLine::Outcome outcome)
{
    switch (outcome) {
    case CCommandLine::Outcome::ShowHelp:
        Print(stdout, commandLine.HelpText());
        return 0;
    case CCommandLine::Outcome::ShowVersion:
        Print(stdout, CCommandLine::VersionText());
        return 0;
    case CCommandLine::Outcome::Error:
        Print(stderr, commandLine.ErrorText() + QLatin1Char('\n') + commandLine.HelpText());
        return CCommandLine::kUsageError;
    case CCommandLine::Outcome::Run:
        break;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv)
{
    // --help and --version are answered without a display. A line the plain
    // parse refuses goes on to the full parse below, after the toolkit has
    // taken its own options (-platform, -display, ...) out of it.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (CCommandLine::AsksForText(raw)) {
        QCoreApplication textApp(argc, argv);
        SetIdentity();
        CCommandLine commandLine;
        const CCommandLine::Outcome outcome = commandLine.Parse(QCoreApplication::arguments());
        if (outcome != CCommandLine::Outcome::Error)
            if (const std::optional<int> status = AnswerText(commandLine, outcome))
                return *status;
    }

    QApplication app(argc, argv);
    SetIdentity();
    CCommandLine commandLine;
    const CCommandLine::Outcome outcome = commandLine.Parse(QCoreApplication::arguments());
    if (const std::optional<int> status = AnswerText(commandLine, outcome))
        return *status;

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
