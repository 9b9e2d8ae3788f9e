// The program's command line: `veltra [PICTURE]`, with --help and --version.
// It is checked before any window system is opened, so a mistake is reported
// the same way with a display or without one. The toolkit's own options
// (-platform, -display, -style, ...) are accepted and left to the toolkit.
// Parsing is kept apart from main() so it can be tested without starting the
// program; the application's name and version come from QCoreApplication.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

class CCommandLine {
public:
    enum class Outcome {
        Run,          // start, showing Picture() when one was named
        ShowHelp,     // print HelpText() and end with status 0
        ShowVersion,  // print VersionText() and end with status 0
        Error,        // print ErrorText() and UsageLine() and end with status 2
    };

    CCommandLine();

    // Parses `arguments`, the program's name first (QCoreApplication::arguments()).
    Outcome Parse(const QStringList& arguments);

    // The picture named on the command line as an absolute path, or empty.
    QString Picture() const { return m_picture; }
    QString ErrorText() const { return m_error; }
    // "Usage: <program> [options] [PICTURE]", the program as it was started;
    // the first line of HelpText().
    QString UsageLine() const { return m_usage; }
    // The whole help; needs a QCoreApplication.
    QString HelpText() const;
    static QString VersionText();

    // The exit status of an error on the command line.
    static constexpr int kUsageError = 2;

private:
    QCommandLineParser m_parser;
    QString m_picture;
    QString m_error;
    QString m_usage;
};
