// The program's command line: `veltra [PICTURE]`, with --help and --version.
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
        Error,        // print ErrorText() and HelpText() and end with status 2
    };

    CCommandLine();

    // Parses `arguments`, the program's name first (QCoreApplication::arguments()).
    Outcome Parse(const QStringList& arguments);

    // The picture named on the command line as an absolute path, or empty.
    QString Picture() const { return m_picture; }
    QString ErrorText() const { return m_error; }
    QString HelpText() const;
    static QString VersionText();

    // The exit status of an error on the command line.
    static constexpr int kUsageError = 2;

    // True when `arguments` ask for --help or --version: those are answered
    // before any window system is needed.
    static bool AsksForText(const QStringList& arguments);

private:
    QCommandLineParser m_parser;
    QString m_picture;
    QString m_error;
};
