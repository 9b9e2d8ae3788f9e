// A window system for tests: it shows nothing, answers every dialog from a
// script, and records everything it was asked to show, so a test can say
// "this message was shown with this caption, owned by the main window" and
// "the user picked these files". Safe to use from several threads.
//
// Answers are queued per kind of dialog and used in order. When a kind's
// queue is empty the dialog is cancelled. Message boxes with OK and Cancel,
// or Yes and No, take the queued answers (none: Cancel, No); a box with only
// OK always answers IDOK and leaves the queue alone, so a script only has to
// answer the questions.
#pragma once

#include "platform/WindowSystem.h"

#include <QStringList>

#include <deque>
#include <mutex>
#include <optional>
#include <vector>

enum class DialogKind { MessageBox, OpenFile, SaveFile, Color, Font };

// One dialog as it was shown, and how it was answered.
struct ShownDialog {
    DialogKind kind = DialogKind::MessageBox;
    // Compared by identity only: the window may be gone when a test looks.
    QWidget* owner = nullptr;

    // Message boxes.
    QString text;
    QString caption;       // as the caller passed it
    QString shownCaption;  // as the box showed it (see MessageBoxCaption)
    UINT type = 0;         // MB_OK or MB_OKCANCEL with an icon
    // File choosers.
    QString filter;        // in the Windows form the caller passed
    bool multiSelect = false;
    QString defaultExt;
    // Colour and font choosers.
    COLORREF initialColor = 0;
    LOGFONT initialFont{};

    // The answer: IDOK or IDCANCEL for every kind, and what was chosen.
    int result = IDCANCEL;
    QStringList files;     // open: the files; save: the one name
    COLORREF color = 0;
    LOGFONT font{};
};

class ScriptedWindowSystem final : public IWindowSystem {
public:
    void QueueMessageBoxAnswer(int answer);             // IDOK, IDCANCEL, IDYES or IDNO
    void QueueOpenFiles(const QStringList& files);      // an empty list cancels
    void QueueSaveFile(const std::optional<QString>& path);  // nothing cancels
    void QueueColor(const std::optional<COLORREF>& color);   // nothing cancels
    void QueueFont(const std::optional<LOGFONT>& font);      // nothing cancels

    // Everything shown so far, in order; or only one kind.
    std::vector<ShownDialog> Shown() const;
    std::vector<ShownDialog> Shown(DialogKind kind) const;
    // The texts of the message boxes shown so far, in order.
    QStringList MessageTexts() const;
    // Queued answers of a kind not used yet.
    std::size_t PendingAnswers(DialogKind kind) const;
    // Forgets the record and every queued answer.
    void Reset();

    int MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type) override;
    QStringList GetOpenFileNames(QWidget* owner, const QString& filter, bool multiSelect) override;
    std::optional<QString> GetSaveFileName(QWidget* owner, const QString& filter,
                                           const QString& defaultExt) override;
    std::optional<COLORREF> ChooseColor(QWidget* owner, COLORREF initial) override;
    bool ChooseFont(QWidget* owner, LOGFONT& lf) override;

private:
    template <typename T>
    static std::optional<T> Take(std::deque<std::optional<T>>& queue);
    // Records one dialog of `kind`; `answer` fills in the rest of the record
    // under the lock and gives the call's result.
    template <typename Answer>
    auto Record(DialogKind kind, QWidget* owner, Answer answer);

    mutable std::mutex m_mutex;
    std::deque<std::optional<int>> m_messageAnswers;
    std::deque<std::optional<QStringList>> m_openAnswers;
    std::deque<std::optional<QString>> m_saveAnswers;
    std::deque<std::optional<COLORREF>> m_colorAnswers;
    std::deque<std::optional<LOGFONT>> m_fontAnswers;
    std::vector<ShownDialog> m_shown;
};
