// CDialog: a modal dialog made from a dialog template, with the Windows
// dialog behaviour the program relies on:
//  - DoModal builds the window and its controls (pixel places from the
//    template font's dialog base units), calls OnInitDialog, runs the dialog
//    until EndDialog and returns the value passed to EndDialog. Every DoModal
//    builds the controls afresh.
//  - A control's click (or a combo box choice, an edit change) goes to the
//    handler mapped for its id; unmapped IDOK and IDCANCEL go to OnOK and
//    OnCancel, which end the dialog with that id.
//  - Enter presses the default push button (the focused push button, else
//    the template's default one); with none, it sends IDOK. Escape and the
//    close box send IDCANCEL.
//  - Keys that no control takes go to OnKeyDown, left-button presses outside
//    the controls to OnLButtonDown.
// Tests run dialogs without a user through ModalDialogScript.
#pragma once

#include "platform/DialogTemplate.h"

#include <QPointer>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QDialog;
class QPushButton;

// Check states of buttons.
constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;

class CDialog {
public:
    CDialog(DialogTemplate tmpl, QWidget* parent);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    int DoModal();
    // Ends the dialog: DoModal returns `result`. Handlers may call it at any
    // time, also from OnInitDialog (the dialog then never shows).
    void EndDialog(int result);
    bool IsEnded() const { return m_ended; }

    // The control a template gave `id` (the first such), or null; controls
    // exist from the start of DoModal until the next DoModal or destruction.
    QWidget* GetDlgItem(int id) const;
    template <typename T>
    T* GetDlgItemAs(int id) const
    {
        return qobject_cast<T*>(GetDlgItem(id));
    }
    // The dialog window, or null before the first DoModal. Messages a dialog
    // shows name it as their owner.
    QDialog* Window() const;
    QWidget* Parent() const { return m_parent; }
    const DialogTemplate& Template() const { return m_template; }
    SIZE BaseUnits() const { return m_baseUnits; }

    // The text of a control: edit, combo box edit field or selection, button,
    // static text, group box title.
    QString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const QString& text);
    UINT IsDlgButtonChecked(int id) const;
    // Checks or clears a check box or radio button (also the checked radio
    // button of a group, which a user cannot clear).
    void CheckDlgButton(int id, UINT check);
    // Checks `checkId` and clears the other radio buttons with ids in
    // [firstId, lastId].
    void CheckRadioButton(int firstId, int lastId, int checkId);

    // Sends command `id` as a control or key would.
    void SendCommand(int id);

protected:
    // Called after the controls exist, before the dialog shows. TRUE puts the
    // focus on the first tab-stop control.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnKeyDown(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/) {}
    virtual void OnLButtonDown(UINT /*nFlags*/, POINT /*point*/) {}

    using Handler = std::function<void()>;
    // The message map: a button click, a selection change of a combo box or
    // list box made by the user, a change of an edit's text.
    void MapCommand(int id, Handler handler);
    void MapSelChange(int id, Handler handler);
    void MapEditChange(int id, Handler handler);

private:
    class DialogWindow;
    friend class DialogWindow;

    void Build();
    QWidget* CreateControl(const DialogControl& control, UINT style, QWidget* window);
    void ConnectNotifications(QWidget* widget, int id);
    void FocusFirstTabStop();
    void PressEnter();

    DialogTemplate m_template;
    QPointer<QWidget> m_parent;
    QPointer<QDialog> m_window;
    SIZE m_baseUnits{};
    std::map<int, QPointer<QWidget>> m_controls;     // first control of each id
    std::vector<QPointer<QWidget>> m_tabOrder;        // every control, in template order
    std::map<int, Handler> m_commandHandlers;
    std::map<int, Handler> m_selChangeHandlers;
    std::map<int, Handler> m_editChangeHandlers;
    QPointer<QPushButton> m_defaultButton;
    bool m_ended = false;
    bool m_running = false;
    int m_result = IDCANCEL;
};

// While one exists, DoModal does not wait for a user: it shows the dialog,
// calls the next queued step with it (the step sets fields, clicks buttons,
// sends keys and ends the dialog, as a user would) and returns. A dialog
// still open after its step, or run with no step left, is cancelled as the
// Escape key cancels it (and ended with IDCANCEL if it refuses). Steps may
// run nested dialogs, which take the following steps. User-interface thread
// only.
class ModalDialogScript {
public:
    using Step = std::function<void(CDialog&)>;
    ModalDialogScript();
    ~ModalDialogScript();
    ModalDialogScript(const ModalDialogScript&) = delete;
    ModalDialogScript& operator=(const ModalDialogScript&) = delete;

    void Then(Step step);
    // Template names of the dialogs run so far, in the order they started.
    QStringList Shown() const { return m_shown; }
    std::size_t PendingSteps() const { return m_steps.size(); }

private:
    friend class CDialog;
    void Run(CDialog& dialog);

    std::deque<Step> m_steps;
    QStringList m_shown;
    ModalDialogScript* m_previous;
};
