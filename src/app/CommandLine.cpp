#include "app/CommandLine.h"

#include <QCoreApplication>
#include <QFileInfo>

CCommandLine::CCommandLine()
{
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

bool CCommandLine::AsksForText(const QStringList& arguments)
{
    static const QStringList kTextOptions = {QStringLiteral("-h"), QStringLiteral("--help"),
                                             QStringLiteral("-?"), QStringLiteral("--help-all"),
                                             QStringLiteral("-v"), QStringLiteral("--version")};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            return false;
        if (kTextOptions.contains(arguments[i]))
            return true;
    }
    return false;
}
