// The window-system services the program asks of its platform: message boxes
// and the common dialogs (file open and save, colour, font), behind one small
// interface. The program talks to the current implementation through
// WindowSystem(); the toolkit implementation shows real dialogs, the scripted
// one (tests) answers from a script and records everything it was shown.
#pragma once

#include "platform/WinTypes.h"

#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

// The filter every file chooser of the program uses, in the Windows form.
inline const QString kBitmapFilter = QStringLiteral("Bitmap files (*.bmp)|*.bmp|All files(*.*)|*.*||");
// The caption of message boxes owned by the main window.
inline const QString kAppTitle = QStringLiteral("Veltra Design & Pattern Creation Tool");

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;

    // A modal message box. `type` combines MB_OK, MB_OKCANCEL or MB_YESNO
    // with an icon (MB_ICONQUESTION, MB_ICONEXCLAMATION, ...) and
    // MB_DEFBUTTON2 when the second button is the default. Returns IDOK,
    // IDCANCEL, IDYES or IDNO.
    // With an owner and no caption the caption is the application's title;
    // without an owner and caption it is the platform's default ("Error").
    virtual int MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type) = 0;
    // A message box without owner that leaves every window usable while it
    // is up: shown, not waited for, and its answer not used.
    virtual void ShowMessageWithoutOwner(const QString& text, UINT type) { MessageBox(nullptr, text, QString(), type); }

    // File open: the chosen file (one entry), the chosen files (multi), or an
    // empty list on Cancel.
    virtual QStringList GetOpenFileNames(QWidget* owner, const QString& filter, bool multiSelect) = 0;
    // File save: asks before overwriting an existing file and before creating
    // a new one; nothing on Cancel.
    virtual std::optional<QString> GetSaveFileName(QWidget* owner, const QString& filter,
                                                   const QString& defaultExt) = 0;
    // Colour chooser started at `initial`; nothing on Cancel.
    virtual std::optional<COLORREF> ChooseColor(QWidget* owner, COLORREF initial) = 0;
    // Font chooser for screen fonts with effects, started from `lf`; on OK it
    // writes the choice into `lf` and returns true.
    virtual bool ChooseFont(QWidget* owner, LOGFONT& lf) = 0;
};

// The implementation in force (the toolkit's unless a test installed another).
IWindowSystem& WindowSystem();
// Installs `ws` (not owned) for the program; null restores the toolkit's.
void SetWindowSystem(IWindowSystem* ws);

// The top-level window whose title is exactly `title` (and that `accept`
// takes, when given), a shown one before a hidden one; or null.
QWidget* FindWindowByTitle(const QString& title, const std::function<bool(const QWidget*)>& accept = {});
