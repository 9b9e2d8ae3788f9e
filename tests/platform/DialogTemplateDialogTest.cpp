// CDialog: controls made from a template at the pixel places the template
// font gives them, radio groups and combo boxes, the command routing, Enter
// and Escape, and EndDialog's result.
#include "platform/Dialog.h"
#include "platform/DialogControls.h"

#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// Laid out as the Border dialog is, with two radio groups and combo boxes.
DialogTemplate BorderLikeTemplate(bool defaultButton = true)
{
    return {.name = "RectDialog", .caption = "Border", .fontFace = "MS Sans Serif", .cx = 280, .cy = 151,
            .controls = {
                {IDOK, defaultButton ? ControlKind::DefPushButton : ControlKind::PushButton, "OK", 217, 65, 50, 14},
                {IDCANCEL, ControlKind::PushButton, "Cancel", 216, 87, 50, 14},
                {IDC_STATIC, ControlKind::Static, "&Width && height", 32, 15, 25, 16},
                {1001, ControlKind::Edit, QString(), 66, 12, 48, 12, ES_NUMBER | ES_AUTOHSCROLL},
                {1005, ControlKind::Edit, QString(), 66, 31, 154, 12, ES_READONLY | ES_AUTOHSCROLL},
                {1011, ControlKind::CheckBox, "All", 159, 58, 23, 10},
                // The frame comes after the text inside it, yet must not cover it.
                {IDC_STATIC, ControlKind::Static, "  Click on the radio button above", 22, 108, 173, 19},
                {IDC_STATIC, ControlKind::GroupBox, "Outer Border", 18, 100, 178, 33},
                {1022, ControlKind::Edit, QString(), 200, 110, 70, 30, ES_MULTILINE | ES_AUTOHSCROLL},
                {1016, ControlKind::ComboBox, QString(), 10, 50, 50, 60, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL},
                {1017, ControlKind::ComboBox, QString(), 70, 50, 50, 60, CBS_DROPDOWN | WS_VSCROLL},
                {40044, ControlKind::RadioButton, "Manual", 10, 70, 40, 10, WS_GROUP},
                {40045, ControlKind::RadioButton, "Auto", 10, 82, 40, 10},
                {50, ControlKind::RadioButton, "Left", 70, 70, 40, 10, WS_GROUP},
                {51, ControlKind::RadioButton, "Right", 70, 82, 40, 10},
            }};
}

// A dialog that records what reached its handlers.
class ProbeDialog : public CDialog {
public:
    explicit ProbeDialog(bool defaultButton = true) : CDialog(BorderLikeTemplate(defaultButton), nullptr) {}
    using CDialog::MapCommand, CDialog::MapEditChange, CDialog::MapSelChange;
    // Runs the dialog once with `step` as its user; gives DoModal's result.
    int RunWith(ModalDialogScript::Step step)
    {
        ModalDialogScript script;
        script.Then(std::move(step));
        return DoModal();
    }

    QStringList calls;
    bool refuseCancel = false;

protected:
    BOOL OnInitDialog() override
    {
        calls.append(GetDlgItem(IDCANCEL) ? "init" : "init without controls");
        return TRUE;
    }
    void OnOK() override { calls.append("OnOK"); EndDialog(IDOK); }
    void OnCancel() override { calls.append("OnCancel"); if (!refuseCancel) EndDialog(1021); }
};

void SendKey(QWidget* target, int key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
}

void Type(QWidget* target, const QString& text)
{
    for (const QChar c : text)
        SendKey(target, c.toUpper().unicode(), c);
}

}  // namespace

TEST(DialogTemplateDialog, ControlsFromTheTemplate)
{
    EXPECT_EQ(DialogLogFont(BorderLikeTemplate(), 120).lfHeight, -13);  // 8 points
    const bool dejaVu = QFontInfo(DialogFont(BorderLikeTemplate(), 96)).family() == QStringLiteral("DejaVu Sans");
    ProbeDialog dialog;
    QStringList seen;
    int choices = 0;
    dialog.MapEditChange(1001, [&] { seen.append(dialog.GetDlgItemText(1001)); });
    dialog.MapSelChange(1016, [&] { ++choices; });
    dialog.RunWith([&](CDialog& d) {
        // The places Windows gives them with its dialog font: DejaVu Sans at
        // 11 pixels, whose 52 letters measure 353 pixels, has base units of
        // (353 + 26) / 52 = 7 by 13; each value is converted on its own and
        // rounded half away (the OK button's width 87.5 is 88, its right edge
        // is not 467).
        if (dejaVu) {
            EXPECT_EQ(d.BaseUnits(), (SIZE{7, 13}));
            EXPECT_EQ(d.Window()->size(), QSize(490, 245));
            EXPECT_EQ(d.GetDlgItem(IDOK)->geometry(), QRect(380, 106, 88, 23));
            EXPECT_EQ(d.GetDlgItem(1001)->geometry(), QRect(116, 20, 84, 20));
            EXPECT_EQ(d.GetDlgItem(1011)->geometry(), QRect(278, 94, 40, 16));
        }
        EXPECT_EQ(d.Window()->windowTitle(), QStringLiteral("Border"));
        EXPECT_EQ(GetDlgCtrlID(d.Window()->focusWidget()), IDOK);  // the first tab stop
        EXPECT_EQ(d.GetDlgItemAs<QPushButton>(IDOK)->text(), QStringLiteral("OK"));
        EXPECT_TRUE(d.GetDlgItem(1011)->inherits("QCheckBox"));
        // A read-only field looks it: the dialog's background, not a field's.
        QWidget* readOnly = d.GetDlgItem(1005);
        EXPECT_TRUE(readOnly->property("readOnly").toBool());
        const QImage field = readOnly->grab().toImage();
        EXPECT_EQ(field.pixelColor(field.width() / 2, field.height() / 2), d.Window()->palette().color(QPalette::Window));
        EXPECT_EQ(d.GetDlgItemText(IDC_STATIC), QStringLiteral("Width & height"));  // the first of a shared id
        const QRect inside = DialogUnitsToPixels(22, 108, 173, 19, d.BaseUnits());
        const auto* label = qobject_cast<QLabel*>(d.Window()->childAt(inside.center()));
        ASSERT_NE(label, nullptr);  // not the group box over it
        EXPECT_EQ(label->text(), QStringLiteral("  Click on the radio button above"));
        Type(d.GetDlgItem(1001), QStringLiteral("5a0"));  // digits only
        d.SetDlgItemText(1001, QStringLiteral("75"));
        d.CheckDlgButton(1011, BST_CHECKED);

        // Radio groups, and a sorted combo box that only a user's choice notifies.
        const auto checked = [&d] {
            QString states;
            for (const int id : {40044, 40045, 50, 51})
                states += QString::number(d.IsDlgButtonChecked(id));
            return states;
        };
        for (const int id : {40044, 50, 40045, 40045})  // a click on the checked one keeps it
            d.GetDlgItemAs<QAbstractButton>(id)->click();
        EXPECT_EQ(checked(), QStringLiteral("0110"));
        d.CheckDlgButton(40045, BST_UNCHECKED);  // which a user cannot do
        d.CheckRadioButton(50, 51, 51);
        EXPECT_EQ(checked(), QStringLiteral("0001"));

        auto* list = d.GetDlgItemAs<CComboBox>(1016);
        ASSERT_TRUE(list && !list->isEditable());
        for (const char* entry : {"c.bmp", "A.bmp", "b.bmp"})
            list->AddString(entry);
        EXPECT_EQ(list->GetLBText(0) + list->GetLBText(1) + list->GetLBText(2), QStringLiteral("A.bmpb.bmpc.bmp"));
        EXPECT_EQ(list->GetCurSel(), -1);
        list->SetCurSel(1);
        list->setFocus();
        SendKey(list, Qt::Key_Down);
        EXPECT_EQ(list->GetCurSel(), 2);
    });
    EXPECT_EQ(seen, (QStringList{"5", "50", "75"}));
    EXPECT_EQ(choices, 1);
    QString text = QStringLiteral("stale");  // every run starts with fresh controls
    dialog.RunWith([&](CDialog& d) { text = d.GetDlgItemText(1001) + QString::number(d.IsDlgButtonChecked(1011)); });
    EXPECT_EQ(text, QStringLiteral("0"));
}

TEST(DialogTemplateDialog, EnterPressesTheDefaultButtonEscapeAndCancelCancel)
{
    // The key goes to the focused control, or to the dialog; no key: a click.
    const struct { bool defaultButton; int focus; int key; bool toDialog; QString call; } cases[] = {
        {true, 1022, Qt::Key_Return, false, "OnOK"},         // the default button
        {true, 1017, Qt::Key_Return, false, "OnOK"},         // from a combo box's edit field
        {false, 1001, Qt::Key_Return, false, "OnOK"},        // no default button: IDOK
        {true, IDCANCEL, Qt::Key_Return, true, "OnCancel"},  // the focused push button
        {true, 1022, Qt::Key_Escape, true, "OnCancel"},
        {true, IDCANCEL, 0, false, "OnCancel"},
    };
    for (const auto& c : cases) {
        ProbeDialog dialog(c.defaultButton);
        dialog.MapSelChange(1017, [&] { dialog.calls.append("choice"); });
        bool ended = false;
        const int result = dialog.RunWith([&](CDialog& d) {
            d.GetDlgItem(c.focus)->setFocus();
            if (c.focus == 1017)
                Type(d.Window()->focusWidget(), QStringLiteral("12"));
            if (c.key)
                SendKey(c.toDialog ? d.Window() : d.Window()->focusWidget(), c.key);
            else
                d.GetDlgItemAs<QPushButton>(c.focus)->click();
            ended = d.IsEnded();
        });
        EXPECT_TRUE(ended) << "case " << &c - cases;
        EXPECT_EQ(result, c.call == "OnOK" ? IDOK : 1021) << "case " << &c - cases;
        EXPECT_EQ(dialog.calls, (QStringList{"init", c.call})) << "case " << &c - cases;
    }
}

TEST(DialogTemplateDialog, HandlersAndARefusedCloseBoxKeepTheDialogOpen)
{
    ProbeDialog dialog;
    dialog.refuseCancel = true;
    int presses = 0;
    dialog.MapCommand(IDOK, [&] {
        if (++presses == 2)
            dialog.EndDialog(1012);
    });
    std::vector<bool> open;
    EXPECT_EQ(dialog.RunWith([&](CDialog& d) {
        for (const auto& press : {std::function<void()>([&] { d.GetDlgItemAs<QPushButton>(IDOK)->click(); }),
                                  std::function<void()>([&] { d.Window()->close(); })}) {
            press();  // a mapped button goes to its handler; the close box sends IDCANCEL
            open.push_back(d.Window()->isVisible() && !d.IsEnded());
        }
        d.GetDlgItemAs<QPushButton>(IDOK)->click();
    }), 1012);
    EXPECT_EQ(open, (std::vector<bool>{true, true}));
    EXPECT_EQ(dialog.calls, (QStringList{"init", "OnCancel"}));

}
