#include "platform/DialogControls.h"

#include "platform/DialogTemplate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

#include <algorithm>

CComboBox::CComboBox(QWidget* parent, bool sorted) : QComboBox(parent), m_sorted(sorted)
{
    setInsertPolicy(QComboBox::NoInsert);  // typing never adds entries
}

void CComboBox::SetEditable(bool editable)
{
    setEditable(editable);
    if (QLineEdit* edit = lineEdit())
        edit->installEventFilter(this);
}

bool CComboBox::eventFilter(QObject* watched, QEvent* event)
{
    // The toolkit would take Enter in the edit field as choosing the entry
    // typed; hand it to the parent instead, so it reaches the dialog.
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && parentWidget()) {
            QKeyEvent forwarded(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
            QApplication::sendEvent(parentWidget(), &forwarded);
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

int CComboBox::AddString(const QString& text)
{
    if (!m_sorted)
        return InsertString(-1, text);
    int index = 0;
    while (index < count() && itemText(index).compare(text, Qt::CaseInsensitive) <= 0)
        ++index;
    return InsertString(index, text);
}

int CComboBox::InsertString(int index, const QString& text)
{
    if (index < 0 || index > count())
        index = count();
    // The toolkit selects the first entry put into an empty box; Windows
    // leaves a box without selection until something selects one.
    const bool hadSelection = currentIndex() >= 0;
    const QString typed = isEditable() ? currentText() : QString();
    const QSignalBlocker quiet(this);
    insertItem(index, text);
    if (!hadSelection) {
        setCurrentIndex(-1);
        if (isEditable())
            setEditText(typed);
    }
    return index;
}

int CComboBox::DeleteString(int index)
{
    if (index < 0 || index >= count())
        return CB_ERR;
    const QSignalBlocker quiet(this);
    removeItem(index);
    return count();
}

void CComboBox::ResetContent()
{
    const QSignalBlocker quiet(this);
    clear();
}

int CComboBox::SetCurSel(int index)
{
    const QSignalBlocker quiet(this);
    if (index < 0 || index >= count()) {
        setCurrentIndex(-1);
        return index == -1 ? -1 : CB_ERR;
    }
    setCurrentIndex(index);
    return index;
}

QString CComboBox::GetLBText(int index) const
{
    return index >= 0 && index < count() ? itemText(index) : QString();
}

int CComboBox::Find(int startAfter, const QString& text, bool exact) const
{
    const int n = count();
    if (n == 0)
        return CB_ERR;
    const int first = (startAfter < -1 || startAfter >= n) ? 0 : startAfter + 1;
    for (int k = 0; k < n; ++k) {
        const int i = (first + k) % n;
        const QString item = itemText(i);
        const bool hit = exact ? item.compare(text, Qt::CaseInsensitive) == 0
                               : item.startsWith(text, Qt::CaseInsensitive);
        if (hit)
            return i;
    }
    return CB_ERR;
}

int CComboBox::FindString(int startAfter, const QString& prefix) const
{
    return Find(startAfter, prefix, false);
}

int CComboBox::FindStringExact(int startAfter, const QString& text) const
{
    return Find(startAfter, text, true);
}

int CComboBox::SelectString(int startAfter, const QString& prefix)
{
    const int index = FindString(startAfter, prefix);
    if (index != CB_ERR)
        SetCurSel(index);
    return index;
}

void CComboBox::LimitText(int chars)
{
    if (QLineEdit* edit = lineEdit())
        edit->setMaxLength(chars > 0 ? chars : 32767);
}

CMultiLineEdit::CMultiLineEdit(UINT style, QWidget* parent) : QPlainTextEdit(parent), m_style(style)
{
    setTabChangesFocus(true);
    setReadOnly((style & ES_READONLY) != 0);
    setLineWrapMode((style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (!(style & WS_BORDER))
        setFrameShape(QFrame::NoFrame);
}

QString CMultiLineEdit::Admissible(const QString& text) const
{
    QString accepted = text;
    if (m_style & ES_NUMBER)
        accepted.removeIf([](QChar c) { return !c.isDigit() && c != QLatin1Char('\n'); });
    if (m_limit > 0) {
        const qsizetype kept = toPlainText().size() - textCursor().selectedText().size();
        accepted.truncate(std::max<qsizetype>(0, m_limit - kept));
    }
    return accepted;
}

void CMultiLineEdit::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(m_style & ES_WANTRETURN) && !(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();  // the dialog presses its default button
        return;
    }
    const QString typed = enter ? QStringLiteral("\n") : event->text();
    const bool printable = !typed.isEmpty() && (enter || typed.at(0).isPrint());
    if (printable && !isReadOnly() && Admissible(typed) != typed) {
        QApplication::beep();
        return;
    }
    if (enter) {
        insertPlainText(typed);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CMultiLineEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText() || isReadOnly())
        return;
    insertPlainText(Admissible(source->text()));
}
