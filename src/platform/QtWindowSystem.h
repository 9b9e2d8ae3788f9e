// The window system on the toolkit: message boxes and the toolkit's own
// widget-based file, colour and font dialogs (never the desktop's native
// ones, so they behave the same under a virtual display and in tests).
// Calls from a thread other than the user-interface thread are carried out
// on that thread, and the caller waits for the answer: the user-interface
// thread must therefore never wait for such a thread while it may ask.
#pragma once

#include "platform/WindowSystem.h"

#include <QFileDialog>

#include <memory>

class QColorDialog;
class QFontDialog;
class QMessageBox;

class QtWindowSystem final : public IWindowSystem {
public:
    int MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type) override;
    void ShowMessageWithoutOwner(const QString& text, UINT type) override;
    QStringList GetOpenFileNames(QWidget* owner, const QString& filter, bool multiSelect) override;
    std::optional<QString> GetSaveFileName(QWidget* owner, const QString& filter,
                                           const QString& defaultExt) override;
    std::optional<COLORREF> ChooseColor(QWidget* owner, COLORREF initial) override;
    bool ChooseFont(QWidget* owner, LOGFONT& lf) override;
};

// The Save As dialog: asks before replacing an existing file (the toolkit's
// question) and before creating a file that does not exist yet; answering No
// to either keeps the dialog open with the name typed.
class CSaveFileDialog : public QFileDialog {
    Q_OBJECT
public:
    CSaveFileDialog(QWidget* owner, const QString& filter, const QString& defaultExt);
    void accept() override;
};

// The dialogs as the toolkit implementation builds them, before they run.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const QString& text, const QString& caption,
                                            UINT type);
// IDOK or IDCANCEL for the button that closed `box` (its escape button when
// it was closed another way).
int MessageBoxResult(const QMessageBox& box);
std::unique_ptr<QFileDialog> MakeOpenFileDialog(QWidget* owner, const QString& filter, bool multiSelect);
std::unique_ptr<QColorDialog> MakeColorDialog(QWidget* owner, COLORREF initial);
std::unique_ptr<QFontDialog> MakeFontDialog(QWidget* owner, const LOGFONT& lf);
