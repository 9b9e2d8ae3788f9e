// Controls whose Windows behaviour the toolkit's widgets lack: a combo box
// that can keep its entries sorted and starts with no selection, and a
// multi-line edit with a text limit that passes Enter on to its dialog.
#pragma once

#include "platform/WinTypes.h"

#include <QComboBox>
#include <QPlainTextEdit>

constexpr int CB_ERR = -1;

// A combo box with the operations of the Windows one. A sorted box files each
// added entry at its place (case-insensitive); an unsorted one appends it.
// Adding entries never changes the selection, so a new box has none. Only a
// choice by the user emits activated(), the selection-change notification.
class CComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CComboBox(QWidget* parent = nullptr, bool sorted = false);

    bool IsSorted() const { return m_sorted; }
    // With an edit field (a drop-down combo box) or without (a drop-down
    // list). Enter in the edit field neither chooses nor adds an entry: it
    // goes on to the dialog, which presses its default button.
    void SetEditable(bool editable);
    int AddString(const QString& text);              // the new entry's index
    int InsertString(int index, const QString& text);  // at index, -1 at the end
    int DeleteString(int index);                     // entries left, or CB_ERR
    void ResetContent();
    int GetCount() const { return count(); }
    int GetCurSel() const { return currentIndex(); }
    int SetCurSel(int index);  // -1 clears the selection; CB_ERR for a bad index
    QString GetLBText(int index) const;  // empty for a bad index
    // The first entry after `startAfter` (-1: from the top), wrapping round,
    // that begins with `prefix` / equals `text`, case-insensitive; or CB_ERR.
    int FindString(int startAfter, const QString& prefix) const;
    int FindStringExact(int startAfter, const QString& text) const;
    // Selects FindString's entry; CB_ERR leaves the selection as it was.
    int SelectString(int startAfter, const QString& prefix);
    // Longest text that can be typed into the edit field (0: no limit).
    void LimitText(int chars);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int Find(int startAfter, const QString& text, bool exact) const;
    bool m_sorted;
};

// A multi-line edit. Enter presses the dialog's default button unless the
// style has ES_WANTRETURN (Ctrl+Enter always breaks the line); Tab moves the
// focus on; ES_NUMBER lets only digits be typed; ES_READONLY; lines wrap at
// the edge unless ES_AUTOHSCROLL.
class CMultiLineEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CMultiLineEdit(UINT style, QWidget* parent = nullptr);
    // Longest text the user can enter (0: no limit). Text already there is
    // kept, as Windows keeps it.
    void LimitText(int chars) { m_limit = chars > 0 ? chars : 0; }
    int GetLimitText() const { return m_limit; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How much of `text` fits the limit and the style, replacing the selection.
    QString Admissible(const QString& text) const;
    UINT m_style;
    int m_limit = 0;
};
