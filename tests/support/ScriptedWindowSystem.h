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
#include "platform/WindowSystemUtil.h"

#include <QStringList>

#include <deque>
#include <mutex>
#include <optional>
#include <vector>

enum class DialogKind { MessageBox, OpenFile, SaveFile, Color, Font };

// One dialog as it was shown. The owner is compared by identity only: the
// window may be gone when a test looks.
struct ShownDialog {
    DialogKind kind = DialogKind::MessageBox;
    QWidget* owner = nullptr;
    QString text;          // message boxes
    QString shownCaption;  // as the box showed it (see MessageBoxCaption)
    UINT type = 0;
    QString filter;        // file choosers, in the Windows form the caller passed
    bool multiSelect = false;
    COLORREF initialColor = 0;
    LOGFONT initialFont{};
};

class ScriptedWindowSystem final : public IWindowSystem {
public:
    void QueueMessageBoxAnswer(int answer) { Push(m_answers.message, answer); }  // IDOK, IDCANCEL, IDYES or IDNO
    void QueueOpenFiles(const QStringList& files) { Push(m_answers.open, files); }  // an empty list cancels
    void QueueSaveFile(const std::optional<QString>& path)  // nothing cancels
    {
        Push(m_answers.save, path ? QStringList{*path} : QStringList{});
    }
    void QueueColor(const std::optional<COLORREF>& color) { Push(m_answers.color, color); }  // nothing cancels
    void QueueFont(const std::optional<LOGFONT>& font) { Push(m_answers.font, font); }       // nothing cancels

    // Everything shown so far, in order, or only one kind.
    std::vector<ShownDialog> Shown(std::optional<DialogKind> kind = std::nullopt) const
    {
        const std::scoped_lock lock(m_mutex);
        std::vector<ShownDialog> result;
        for (const ShownDialog& d : m_shown)
            if (!kind || d.kind == *kind)
                result.push_back(d);
        return result;
    }
    // The texts of the message boxes shown so far, in order.
    QStringList MessageTexts() const
    {
        QStringList texts;
        for (const ShownDialog& d : Shown(DialogKind::MessageBox))
            texts.append(d.text);
        return texts;
    }
    // Forgets the record and every queued answer.
    void Reset()
    {
        const std::scoped_lock lock(m_mutex);
        m_answers = {};
        m_shown = {};
    }

    int MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type) override
    {
        const std::scoped_lock lock(m_mutex);
        ShownDialog& shown = Record(DialogKind::MessageBox, owner);
        shown.text = text;
        shown.shownCaption = MessageBoxCaption(owner, caption);
        shown.type = type;
        if ((type & MB_TYPEMASK) == MB_OKCANCEL)
            return Take(m_answers.message, IDCANCEL) == IDOK ? IDOK : IDCANCEL;
        if ((type & MB_TYPEMASK) == MB_YESNO)
            return Take(m_answers.message, IDNO) == IDYES ? IDYES : IDNO;
        return IDOK;
    }
    QStringList GetOpenFileNames(QWidget* owner, const QString& filter, bool multiSelect) override
    {
        const std::scoped_lock lock(m_mutex);
        ShownDialog& shown = Record(DialogKind::OpenFile, owner);
        shown.filter = filter;
        shown.multiSelect = multiSelect;
        // A single-selection chooser cannot report more than one file.
        const QStringList files = Take(m_answers.open);
        return multiSelect ? files : files.mid(0, 1);
    }
    std::optional<QString> GetSaveFileName(QWidget* owner, const QString& filter, const QString&) override
    {
        const std::scoped_lock lock(m_mutex);
        Record(DialogKind::SaveFile, owner).filter = filter;
        const QStringList chosen = Take(m_answers.save);
        return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen.front());
    }
    std::optional<COLORREF> ChooseColor(QWidget* owner, COLORREF initial) override
    {
        const std::scoped_lock lock(m_mutex);
        Record(DialogKind::Color, owner).initialColor = initial;
        const std::optional<COLORREF> color = Take(m_answers.color);
        // A chooser answers plain RGB colours.
        return color ? std::optional<COLORREF>(*color & 0x00FFFFFFu) : std::nullopt;
    }
    bool ChooseFont(QWidget* owner, LOGFONT& lf) override
    {
        const std::scoped_lock lock(m_mutex);
        Record(DialogKind::Font, owner).initialFont = lf;
        const std::optional<LOGFONT> font = Take(m_answers.font);
        if (font)
            lf = *font;
        return font.has_value();
    }

private:
    template <typename T>
    void Push(std::deque<T>& queue, const T& answer)
    {
        const std::scoped_lock lock(m_mutex);
        queue.push_back(answer);
    }
    // The next queued answer, or `none` (a cancel) when none is left.
    template <typename T>
    static T Take(std::deque<T>& queue, T none = {})
    {
        if (queue.empty())
            return none;
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
    ShownDialog& Record(DialogKind kind, QWidget* owner)
    {
        ShownDialog& shown = m_shown.emplace_back();
        shown.kind = kind;
        shown.owner = owner;
        return shown;
    }

    mutable std::mutex m_mutex;
    struct {
        std::deque<int> message;
        std::deque<QStringList> open;
        std::deque<QStringList> save;  // the one name, or none
        std::deque<std::optional<COLORREF>> color;
        std::deque<std::optional<LOGFONT>> font;
    } m_answers;
    std::vector<ShownDialog> m_shown;
};
