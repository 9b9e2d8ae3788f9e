#include "support/ScriptedWindowSystem.h"

#include "platform/WindowSystemUtil.h"

template <typename T>
std::optional<T> ScriptedWindowSystem::Take(std::deque<std::optional<T>>& queue)
{
    if (queue.empty())
        return std::nullopt;
    const std::optional<T> answer = queue.front();
    queue.pop_front();
    return answer;
}

void ScriptedWindowSystem::QueueMessageBoxAnswer(int answer)
{
    const std::scoped_lock lock(m_mutex);
    m_messageAnswers.emplace_back(answer);
}

void ScriptedWindowSystem::QueueOpenFiles(const QStringList& files)
{
    const std::scoped_lock lock(m_mutex);
    m_openAnswers.emplace_back(files.isEmpty() ? std::nullopt : std::optional<QStringList>(files));
}

void ScriptedWindowSystem::QueueSaveFile(const std::optional<QString>& path)
{
    const std::scoped_lock lock(m_mutex);
    m_saveAnswers.push_back(path);
}

void ScriptedWindowSystem::QueueColor(const std::optional<COLORREF>& color)
{
    const std::scoped_lock lock(m_mutex);
    m_colorAnswers.push_back(color);
}

void ScriptedWindowSystem::QueueFont(const std::optional<LOGFONT>& font)
{
    const std::scoped_lock lock(m_mutex);
    m_fontAnswers.push_back(font);
}

std::vector<ShownDialog> ScriptedWindowSystem::Shown() const
{
    const std::scoped_lock lock(m_mutex);
    return m_shown;
}

std::vector<ShownDialog> ScriptedWindowSystem::Shown(DialogKind kind) const
{
    const std::scoped_lock lock(m_mutex);
    std::vector<ShownDialog> result;
    for (const ShownDialog& d : m_shown)
        if (d.kind == kind)
            result.push_back(d);
    return result;
}

QStringList ScriptedWindowSystem::MessageTexts() const
{
    const std::scoped_lock lock(m_mutex);
    QStringList texts;
    for (const ShownDialog& d : m_shown)
        if (d.kind == DialogKind::MessageBox)
            texts.append(d.text);
    return texts;
}

std::size_t ScriptedWindowSystem::PendingAnswers(DialogKind kind) const
{
    const std::scoped_lock lock(m_mutex);
    switch (kind) {
    case DialogKind::MessageBox: return m_messageAnswers.size();
    case DialogKind::OpenFile: return m_openAnswers.size();
    case DialogKind::SaveFile: return m_saveAnswers.size();
    case DialogKind::Color: return m_colorAnswers.size();
    case DialogKind::Font: return m_fontAnswers.size();
    }
    return 0;
}

void ScriptedWindowSystem::Reset()
{
    const std::scoped_lock lock(m_mutex);
    m_messageAnswers.clear();
    m_openAnswers.clear();
    m_saveAnswers.clear();
    m_colorAnswers.clear();
    m_fontAnswers.clear();
    m_shown.clear();
}

// Every dialog is recorded the same way: under the lock, with its kind and
// owner; `answer` fills in the rest of the record and gives the call's result.
template <typename Answer>
auto ScriptedWindowSystem::Record(DialogKind kind, QWidget* owner, Answer answer)
{
    const std::scoped_lock lock(m_mutex);
    ShownDialog shown;
    shown.kind = kind;
    shown.owner = owner;
    auto result = answer(shown);
    m_shown.push_back(shown);
    return result;
}

int ScriptedWindowSystem::MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type)
{
    return Record(DialogKind::MessageBox, owner, [&](ShownDialog& shown) {
        shown.text = text;
        shown.caption = caption;
        shown.shownCaption = MessageBoxCaption(owner, caption);
        shown.type = type;
        if ((type & MB_TYPEMASK) == MB_OKCANCEL)
            shown.result = Take(m_messageAnswers).value_or(IDCANCEL) == IDOK ? IDOK : IDCANCEL;
        else if ((type & MB_TYPEMASK) == MB_YESNO)
            shown.result = Take(m_messageAnswers).value_or(IDNO) == IDYES ? IDYES : IDNO;
        else
            shown.result = IDOK;
        return shown.result;
    });
}

QStringList ScriptedWindowSystem::GetOpenFileNames(QWidget* owner, const QString& filter, bool multiSelect)
{
    return Record(DialogKind::OpenFile, owner, [&](ShownDialog& shown) {
        shown.filter = filter;
        shown.multiSelect = multiSelect;
        QStringList files = Take(m_openAnswers).value_or(QStringList{});
        // A single-selection chooser cannot report more than one file.
        if (!multiSelect && files.size() > 1)
            files = files.mid(0, 1);
        if (!FitsFileNameBuffer(files, multiSelect))
            files.clear();
        shown.result = files.isEmpty() ? IDCANCEL : IDOK;
        shown.files = files;
        return files;
    });
}

std::optional<QString> ScriptedWindowSystem::GetSaveFileName(QWidget* owner, const QString& filter,
                                                             const QString& defaultExt)
{
    return Record(DialogKind::SaveFile, owner, [&](ShownDialog& shown) {
        shown.filter = filter;
        shown.defaultExt = defaultExt;
        std::optional<QString> path = Take(m_saveAnswers);
        if (path && (path->isEmpty() || !FitsFileNameBuffer({*path}, false)))
            path.reset();
        shown.result = path ? IDOK : IDCANCEL;
        if (path)
            shown.files = QStringList{*path};
        return path;
    });
}

std::optional<COLORREF> ScriptedWindowSystem::ChooseColor(QWidget* owner, COLORREF initial)
{
    return Record(DialogKind::Color, owner, [&](ShownDialog& shown) {
        shown.initialColor = initial;
        std::optional<COLORREF> color = Take(m_colorAnswers);
        if (color)
            *color &= 0x00FFFFFFu;  // a chooser answers plain RGB colours
        shown.result = color ? IDOK : IDCANCEL;
        shown.color = color.value_or(initial);
        return color;
    });
}

bool ScriptedWindowSystem::ChooseFont(QWidget* owner, LOGFONT& lf)
{
    return Record(DialogKind::Font, owner, [&](ShownDialog& shown) {
        shown.initialFont = lf;
        const std::optional<LOGFONT> font = Take(m_fontAnswers);
        shown.result = font ? IDOK : IDCANCEL;
        shown.font = font.value_or(lf);
        if (font)
            lf = *font;
        return font.has_value();
    });
}
