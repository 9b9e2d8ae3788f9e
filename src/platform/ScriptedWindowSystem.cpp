#include "platform/ScriptedWindowSystem.h"

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

int ScriptedWindowSystem::MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type)
{
    const std::scoped_lock lock(m_mutex);
    ShownDialog shown;
    shown.kind = DialogKind::MessageBox;
    shown.owner = owner;
    shown.text = text;
    shown.caption = caption;
    shown.shownCaption = MessageBoxCaption(owner, caption);
    shown.type = type;
    if ((type & MB_TYPEMASK) == MB_OKCANCEL)
        shown.result = Take(m_messageAnswers).value_or(IDCANCEL) == IDOK ? IDOK : IDCANCEL;
    else
        shown.result = IDOK;
    m_shown.push_back(shown);
    return shown.result;
}

QStringList ScriptedWindowSystem::GetOpenFileNames(QWidget* owner, const QString& filter, bool multiSelect)
{
    const std::scoped_lock lock(m_mutex);
    ShownDialog shown;
    shown.kind = DialogKind::OpenFile;
    shown.owner = owner;
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
    m_shown.push_back(shown);
    return files;
}

std::optional<QString> ScriptedWindowSystem::GetSaveFileName(QWidget* owner, const QString& filter,
                                                             const QString& defaultExt)
{
    const std::scoped_lock lock(m_mutex);
    ShownDialog shown;
    shown.kind = DialogKind::SaveFile;
    shown.owner = owner;
    shown.filter = filter;
    shown.defaultExt = defaultExt;
    std::optional<QString> path = Take(m_saveAnswers);
    if (path && (path->isEmpty() || !FitsFileNameBuffer({*path}, false)))
        path.reset();
    shown.result = path ? IDOK : IDCANCEL;
    if (path)
        shown.files = QStringList{*path};
    m_shown.push_back(shown);
    return path;
}

std::optional<COLORREF> ScriptedWindowSystem::ChooseColor(QWidget* owner, COLORREF initial)
{
    const std::scoped_lock lock(m_mutex);
    ShownDialog shown;
    shown.kind = DialogKind::Color;
    shown.owner = owner;
    shown.initialColor = initial;
    std::optional<COLORREF> color = Take(m_colorAnswers);
    if (color)
        *color &= 0x00FFFFFFu;  // a chooser answers plain RGB colours
    shown.result = color ? IDOK : IDCANCEL;
    shown.color = color.value_or(initial);
    m_shown.push_back(shown);
    return color;
}

bool ScriptedWindowSystem::ChooseFont(QWidget* owner, LOGFONT& lf)
{
    const std::scoped_lock lock(m_mutex);
    ShownDialog shown;
    shown.kind = DialogKind::Font;
    shown.owner = owner;
    shown.initialFont = lf;
    const std::optional<LOGFONT> font = Take(m_fontAnswers);
    shown.result = font ? IDOK : IDCANCEL;
    shown.font = font.value_or(lf);
    m_shown.push_back(shown);
    if (!font)
        return false;
    lf = *font;
    return true;
}
