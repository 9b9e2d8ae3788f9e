#include "app/CommandLine.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
// The toolkit's own options: taken here so that they are not mistakes, and
// left in the arguments for the toolkit, which removes them itself.
const char* const kToolkitOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
    "qwindowtitle", "session", "display", "geometry", "style", "stylesheet", "qmljsdebugger",
    "dialogs", "fontengine",
};
const char* const kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
}  // namespace

CCommandLine::CCommandLine()
{
    // The toolkit's options are single-dash words ("-platform offscreen").
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : kToolkitOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    }
    for (const char* name : kToolkitFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    }
    m_parser.setApplicationDescription(
        QStringLiteral("Veltra Design & Pattern Creation Tool: draws designs and patterns on one large canvas."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addPositionalArgument(
        QStringLiteral("PICTURE"),
        QStringLiteral("A picture (BMP, PNG, JPEG or GIF) to show as the background, as File > Open shows it."),
        QStringLiteral("[PICTURE]"));
}

CCommandLine::Outcome CCommandLine::Parse(const QStringList& arguments)
{
    m_picture.clear();
    m_error.clear();
    m_usage = QStringLiteral("Usage: %1 [options] [PICTURE]").arg(arguments.value(0));
    if (!m_parser.parse(arguments)) {
        m_error = m_parser.errorText();
        return Outcome::Error;
    }
    if (m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all")))
        return Outcome::ShowHelp;
    if (m_parser.isSet(QStringLiteral("version")))
        return Outcome::ShowVersion;
    const QStringList positional = m_parser.positionalArguments();
    if (positional.size() > 1) {
        m_error = QStringLiteral("Only one picture can be opened; got %1.").arg(positional.size());
        return Outcome::Error;
    }
    // Absolute, so every later redraw finds the file whatever the working folder.
    if (!positional.isEmpty() && !positional.front().isEmpty())
        m_picture = QFileInfo(positional.front()).absoluteFilePath();
    return Outcome::Run;
}

QString CCommandLine::HelpText() const
{
    return m_parser.helpText();
}

QString CCommandLine::VersionText()
{
    return QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion() +
           QLatin1Char('\n');
}
