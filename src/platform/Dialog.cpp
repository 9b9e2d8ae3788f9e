#include "platform/Dialog.h"

#include "platform/DialogControls.h"
#include "platform/InputMapping.h"
#include "platform/Screen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace {

ModalDialogScript* g_script = nullptr;

const char* const kStyleProperty = "veltraDlgStyle";

// Sets a button's check, also clearing the checked button of an exclusive
// group, which the toolkit otherwise refuses.
void SetChecked(QAbstractButton* button, bool checked)
{
    QButtonGroup* group = button->group();
    if (!checked && group && group->exclusive()) {
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
        return;
    }
    button->setChecked(checked);
}

}  // namespace

// The dialog's window: routes the keys, clicks and close requests that no
// control takes to the dialog, as the Windows dialog manager does.
class CDialog::DialogWindow : public QDialog {
public:
    DialogWindow(CDialog& dialog, QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint),
          m_dialog(dialog)
    {
    }

    // The close box and the toolkit's own Escape handling.
    void reject() override { m_dialog.SendCommand(IDCANCEL); }
    void accept() override { m_dialog.SendCommand(IDOK); }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && event->key() == Qt::Key_Escape) {
            m_dialog.SendCommand(IDCANCEL);
            return;
        }
        if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
            m_dialog.PressEnter();
            return;
        }
        m_dialog.OnKeyDown(VirtualKeyFromQt(event->key(), event->modifiers()), 1, 0);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton) {
            QDialog::mousePressEvent(event);
            return;
        }
        const QPoint p = event->position().toPoint();
        m_dialog.OnLButtonDown(MouseFlagsFromQt(event->buttons(), event->modifiers()), POINT{p.x(), p.y()});
    }

private:
    CDialog& m_dialog;
};

CDialog::CDialog(DialogTemplate tmpl, QWidget* parent) : m_template(std::move(tmpl)), m_parent(parent) {}

CDialog::~CDialog()
{
    delete m_window.data();
}

QDialog* CDialog::Window() const
{
    return m_window.data();
}

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second.data();
}

void CDialog::MapCommand(int id, Handler handler)
{
    m_commandHandlers[id] = std::move(handler);
}

void CDialog::MapSelChange(int id, Handler handler)
{
    m_selChangeHandlers[id] = std::move(handler);
}

void CDialog::MapEditChange(int id, Handler handler)
{
    m_editChangeHandlers[id] = std::move(handler);
}

void CDialog::SendCommand(int id)
{
    if (const auto it = m_commandHandlers.find(id); it != m_commandHandlers.end()) {
        const Handler handler = it->second;  // the handler may remap
        handler();
        return;
    }
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    m_ended = true;
    if (m_running && m_window)
        m_window->done(result);
}

int CDialog::DoModal()
{
    Build();
    const BOOL focusFirst = OnInitDialog();
    if (m_ended || !m_window)
        return m_result;
    if (focusFirst)
        FocusFirstTabStop();
    m_running = true;
    if (ModalDialogScript* script = g_script) {
        m_window->setWindowModality(Qt::ApplicationModal);
        m_window->show();
        script->Run(*this);
        if (m_window && m_window->isVisible())
            m_window->hide();
    } else {
        m_window->exec();
    }
    m_running = false;
    if (!m_ended) {  // the window went away with its parent
        m_ended = true;
        m_result = IDCANCEL;
    }
    return m_result;
}

void CDialog::Build()
{
    delete m_window.data();
    m_controls.clear();
    m_tabOrder.clear();
    m_defaultButton = nullptr;
    m_ended = false;
    m_running = false;
    m_result = IDCANCEL;

    auto* window = new DialogWindow(*this, m_parent.data());
    m_window = window;
    window->setWindowTitle(m_template.caption);
    const QFont font = DialogFont(m_template, GetScreenDpiY());
    window->setFont(font);
    m_baseUnits = DialogBaseUnits(font);
    window->setFixedSize(DialogUnitsToPixelsX(m_template.cx, m_baseUnits),
                         DialogUnitsToPixelsY(m_template.cy, m_baseUnits));

    // Radio buttons exclude each other within a group; WS_GROUP starts one.
    int group = 0;
    std::map<int, QButtonGroup*> radioGroups;
    std::vector<QWidget*> groupBoxes;
    for (const DialogControl& control : m_template.controls) {
        const UINT style = DefaultControlStyle(control.kind) | control.style;
        if (style & WS_GROUP)
            ++group;
        QWidget* widget = CreateControl(control, style, window);
        SetDlgCtrlID(widget, control.id);
        widget->setProperty(kStyleProperty, style);
        widget->setEnabled(!(style & WS_DISABLED));
        if (control.kind == ControlKind::Static || control.kind == ControlKind::GroupBox)
            widget->setFocusPolicy(Qt::NoFocus);
        else
            widget->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
        if (control.kind == ControlKind::GroupBox)
            groupBoxes.push_back(widget);
        if (control.kind == ControlKind::RadioButton) {
            QButtonGroup*& buttons = radioGroups[group];
            if (!buttons)
                buttons = new QButtonGroup(window);
            buttons->addButton(static_cast<QRadioButton*>(widget));
        }
        m_controls.emplace(control.id, widget);
        m_tabOrder.emplace_back(widget);
        ConnectNotifications(widget, control.id);
    }
    for (QWidget* box : groupBoxes)
        box->lower();  // a frame round controls, never over them
}

QWidget* CDialog::CreateControl(const DialogControl& control, UINT style, QWidget* window)
{
    const QRect place = DialogUnitsToPixels(control.x, control.y, control.cx, control.cy, m_baseUnits);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Static: {
        auto* label = new QLabel(window);
        label->setTextFormat(Qt::PlainText);
        label->setText((style & SS_NOPREFIX) ? control.text : TextWithoutMnemonic(control.text));
        label->setWordWrap(true);
        const Qt::Alignment horizontal =
            (style & SS_RIGHT) ? Qt::AlignRight : (style & SS_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
        label->setAlignment(horizontal | Qt::AlignTop);
        widget = label;
        break;
    }
    case ControlKind::Edit:
        if (style & ES_MULTILINE) {
            auto* edit = new CMultiLineEdit(style, window);
            edit->setPlainText(control.text);
            widget = edit;
        } else {
            auto* edit = new QLineEdit(control.text, window);
            edit->setFrame((style & WS_BORDER) != 0);
            if (style & ES_READONLY) {
                // A read-only edit shows the dialog's own background, as a
                // Windows one does, so it does not look like a field to type in.
                edit->setReadOnly(true);
                QPalette palette = edit->palette();
                palette.setColor(QPalette::Base, palette.color(QPalette::Window));
                edit->setPalette(palette);
            }
            if (style & ES_NUMBER)
                edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
            if (style & ES_RIGHT)
                edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            else if (style & ES_CENTER)
                edit->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
            widget = edit;
        }
        break;
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(control.text, window);
        button->setAutoDefault(true);  // a focused push button takes Enter
        if (control.kind == ControlKind::DefPushButton) {
            button->setDefault(true);
            if (!m_defaultButton)
                m_defaultButton = button;
        }
        widget = button;
        break;
    }
    case ControlKind::CheckBox:
        widget = new QCheckBox(control.text, window);
        break;
    case ControlKind::RadioButton:
        widget = new QRadioButton(control.text, window);
        break;
    case ControlKind::ComboBox: {
        auto* combo = new CComboBox(window, (style & CBS_SORT) != 0);
        const UINT type = style & CBS_TYPEMASK;
        combo->SetEditable(type == CBS_DROPDOWN || type == CBS_SIMPLE);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // The template height covers the dropped list; the closed box is as
        // high as its font needs.
        const int boxHeight = combo->sizeHint().height();
        const int itemHeight = std::max(1, QFontMetrics(window->font()).height() + 2);
        combo->setMaxVisibleItems(std::max(1, (place.height() - boxHeight) / itemHeight));
        combo->setGeometry(place.x(), place.y(), place.width(), boxHeight);
        return combo;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(window);
        list->setSortingEnabled((style & LBS_SORT) != 0);
        if (!(style & WS_BORDER))
            list->setFrameShape(QFrame::NoFrame);
        widget = list;
        break;
    }
    case ControlKind::GroupBox:
        widget = new QGroupBox(control.text, window);
        break;
    }
    widget->setGeometry(place);
    return widget;
}

void CDialog::ConnectNotifications(QWidget* widget, int id)
{
    const auto notify = [this, id](const std::map<int, Handler>& handlers) {
        if (const auto it = handlers.find(id); it != handlers.end()) {
            const Handler handler = it->second;
            handler();
        }
    };
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QObject::connect(button, &QAbstractButton::clicked, button, [this, id] { SendCommand(id); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QObject::connect(combo, &QComboBox::activated, combo, [notify, this] { notify(m_selChangeHandlers); });
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        QObject::connect(list, &QListWidget::currentRowChanged, list, [notify, this] { notify(m_selChangeHandlers); });
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        QObject::connect(line, &QLineEdit::textChanged, line, [notify, this] { notify(m_editChangeHandlers); });
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
        QObject::connect(text, &QPlainTextEdit::textChanged, text, [notify, this] { notify(m_editChangeHandlers); });
    }
}

void CDialog::FocusFirstTabStop()
{
    for (const QPointer<QWidget>& widget : m_tabOrder) {
        if (widget && widget->isEnabled() && (widget->property(kStyleProperty).toUInt() & WS_TABSTOP) &&
            widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void CDialog::PressEnter()
{
    // A focused push button is the default one while it has the focus.
    if (m_window) {
        if (auto* focused = qobject_cast<QPushButton*>(m_window->focusWidget()); focused && focused->isEnabled()) {
            focused->click();
            return;
        }
    }
    if (m_defaultButton) {
        if (m_defaultButton->isEnabled())
            m_defaultButton->click();
        return;
    }
    SendCommand(IDOK);
}

QString CDialog::GetDlgItemText(int id) const
{
    QWidget* widget = GetDlgItem(id);
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
        return text->toPlainText();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->title();
    return {};
}

void CDialog::SetDlgItemText(int id, const QString& text)
{
    QWidget* widget = GetDlgItem(id);
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(text);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        edit->setPlainText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText((label->property(kStyleProperty).toUInt() & SS_NOPREFIX) ? text : TextWithoutMnemonic(text));
    else if (auto* box = qobject_cast<QGroupBox*>(widget))
        box->setTitle(text);
}

UINT CDialog::IsDlgButtonChecked(int id) const
{
    const auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return button && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::CheckDlgButton(int id, UINT check)
{
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)); button && button->isCheckable())
        SetChecked(button, check != BST_UNCHECKED);
}

void CDialog::CheckRadioButton(int firstId, int lastId, int checkId)
{
    for (const QPointer<QWidget>& widget : m_tabOrder) {
        auto* button = qobject_cast<QAbstractButton*>(widget.data());
        const int id = GetDlgCtrlID(button);
        if (button && button->isCheckable() && id >= firstId && id <= lastId)
            SetChecked(button, id == checkId);
    }
}

ModalDialogScript::ModalDialogScript() : m_previous(g_script)
{
    g_script = this;
}

ModalDialogScript::~ModalDialogScript()
{
    g_script = m_previous;
}

void ModalDialogScript::Then(Step step)
{
    m_steps.push_back(std::move(step));
}

void ModalDialogScript::Run(CDialog& dialog)
{
    m_shown.append(dialog.Template().name);
    if (!m_steps.empty()) {
        const Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(dialog);
    }
    if (!dialog.IsEnded())
        dialog.SendCommand(IDCANCEL);
    if (!dialog.IsEnded())
        dialog.EndDialog(IDCANCEL);
}
