// CDialog: controls made from a template at their pixel places, the command
// routing, Enter and Escape, EndDialog's result, and scripted modal runs.
#include "platform/Dialog.h"
#include "platform/DialogControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

// A dialog laid out as the Border dialog is.
DialogTemplate BorderLikeTemplate()
{
    DialogTemplate t;
    t.name = QStringLiteral("RectDialog");
    t.caption = QStringLiteral("Border");
    t.fontFace = QStringLiteral("MS Sans Serif");
    t.pointSize = 8;
    t.cx = 280;
    t.cy = 151;
    t.controls = {
        {1012, ControlKind::PushButton, QStringLiteral("OK"), 217, 65, 50, 14, WS_GROUP},
        {IDCANCEL, ControlKind::PushButton, QStringLiteral("Cancel"), 216, 87, 50, 14},
        {IDC_STATIC, ControlKind::Static, QStringLiteral("Width"), 32, 15, 25, 16},
        {IDC_STATIC, ControlKind::Static, QStringLiteral("Height"), 127, 15, 25, 16},
        {1001, ControlKind::Edit, QString(), 66, 12, 48, 12, ES_NUMBER | ES_AUTOHSCROLL},
        {1005, ControlKind::Edit, QString(), 66, 31, 154, 12, ES_READONLY | ES_AUTOHSCROLL},
        {1011, ControlKind::CheckBox, QStringLiteral("All"), 159, 58, 23, 10},
        // The frame comes after the text inside it, yet must not cover it.
        {IDC_STATIC, ControlKind::Static, QStringLiteral("  Click on the radio button above"), 22, 108, 173, 19},
        {IDC_STATIC, ControlKind::GroupBox, QStringLiteral("Outer Border"), 18, 100, 178, 33},
        {1014, ControlKind::RadioButton, QStringLiteral("Outer Border"), 19, 86, 56, 10},
    };
    return t;
}

// Two radio groups, a sorted combo box, a multi-line edit and a default button.
DialogTemplate FormTemplate()
{
    DialogTemplate t;
    t.name = QStringLiteral("Form");
    t.caption = QStringLiteral("Form");
    t.fontFace = QStringLiteral("MS Sans Serif");
    t.cx = 200;
    t.cy = 120;
    t.controls = {
        {IDOK, ControlKind::DefPushButton, QStringLiteral("OK"), 10, 100, 50, 14},
        {IDCANCEL, ControlKind::PushButton, QStringLiteral("Cancel"), 70, 100, 50, 14},
        {40044, ControlKind::RadioButton, QStringLiteral("Manual"), 10, 10, 50, 10, WS_GROUP},
        {40045, ControlKind::RadioButton, QStringLiteral("Auto"), 10, 22, 50, 10},
        {50, ControlKind::RadioButton, QStringLiteral("Left"), 100, 10, 50, 10, WS_GROUP},
        {51, ControlKind::RadioButton, QStringLiteral("Right"), 100, 22, 50, 10},
        {1016, ControlKind::ComboBox, QString(), 10, 40, 80, 60, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL},
        {1022, ControlKind::Edit, QString(), 100, 40, 80, 40, ES_MULTILINE | ES_AUTOHSCROLL},
        {1017, ControlKind::ComboBox, QString(), 10, 60, 40, 50, CBS_DROPDOWN | WS_VSCROLL},
    };
    return t;
}

// A dialog whose handlers record what reached them.
class ProbeDialog : public CDialog {
public:
    using CDialog::CDialog;
    using CDialog::MapCommand;
    using CDialog::MapSelChange;
    using CDialog::MapEditChange;

    QStringList calls;
    bool controlsAtInit = false;
    std::function<void(ProbeDialog&)> onInit;
    int cancelResult = IDCANCEL;
    bool refuseCancel = false;
    std::vector<UINT> keys;
    std::vector<POINT> clicks;

protected:
    BOOL OnInitDialog() override
    {
        controlsAtInit = GetDlgItem(IDCANCEL) != nullptr || GetDlgItem(1012) != nullptr;
        calls.append(QStringLiteral("init"));
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    void OnOK() override
    {
        calls.append(QStringLiteral("OnOK"));
        EndDialog(IDOK);
    }
    void OnCancel() override
    {
        calls.append(QStringLiteral("OnCancel"));
        if (!refuseCancel)
            EndDialog(cancelResult);
    }
    void OnKeyDown(UINT nChar, UINT, UINT) override { keys.push_back(nChar); }
    void OnLButtonDown(UINT, POINT point) override { clicks.push_back(point); }
};

void SendKey(QWidget* target, int key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
}

bool DejaVuDialogFont()
{
    QFont probe(QStringLiteral("MS Sans Serif"));
    probe.setPixelSize(11);
    return QFontInfo(probe).family() == QStringLiteral("DejaVu Sans");
}

}  // namespace

TEST(DialogTemplateDialog, ControlsSitAtTheirConvertedPixelPlaces)
{
    if (!DejaVuDialogFont())
        GTEST_SKIP() << "DejaVu Sans is not installed";
    ProbeDialog dialog(BorderLikeTemplate(), nullptr);
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        EXPECT_EQ(d.BaseUnits(), (SIZE{7, 13}));
        EXPECT_EQ(d.Window()->size(), QSize(490, 245));
        EXPECT_EQ(d.Window()->windowTitle(), QStringLiteral("Border"));
        EXPECT_EQ(d.GetDlgItem(1012)->geometry(), QRect(380, 106, 88, 23));
        EXPECT_EQ(d.GetDlgItem(1001)->geometry(), QRect(116, 20, 84, 20));
        EXPECT_EQ(d.GetDlgItem(1011)->geometry(), QRect(278, 94, 40, 16));
        d.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(script.PendingSteps(), 0u);
}

TEST(DialogTemplateDialog, EachKindBecomesItsWidgetWithItsStyles)
{
    ProbeDialog dialog(BorderLikeTemplate(), nullptr);
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        EXPECT_EQ(d.GetDlgItemAs<QPushButton>(1012)->text(), QStringLiteral("OK"));
        EXPECT_NE(d.GetDlgItemAs<QCheckBox>(1011), nullptr);
        EXPECT_NE(d.GetDlgItemAs<QRadioButton>(1014), nullptr);
        EXPECT_TRUE(d.GetDlgItemAs<QLineEdit>(1005)->isReadOnly());
        EXPECT_FALSE(d.GetDlgItemAs<QLineEdit>(1001)->isReadOnly());
        // The first control of a shared id is the one found.
        EXPECT_EQ(d.GetDlgItemText(IDC_STATIC), QStringLiteral("Width"));
        EXPECT_EQ(GetDlgCtrlID(d.GetDlgItem(1001)), 1001);
        EXPECT_EQ(d.GetDlgItem(4242), nullptr);
        d.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
}

TEST(DialogTemplateDialog, DigitsOnlyEditRefusesLettersTyped)
{
    ProbeDialog dialog(BorderLikeTemplate(), nullptr);
    ModalDialogScript script;
    QString typed;
    script.Then([&](CDialog& d) {
        QLineEdit* width = d.GetDlgItemAs<QLineEdit>(1001);
        SendKey(width, Qt::Key_5, QStringLiteral("5"));
        SendKey(width, Qt::Key_A, QStringLiteral("a"));
        SendKey(width, Qt::Key_0, QStringLiteral("0"));
        typed = d.GetDlgItemText(1001);
        d.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(typed, QStringLiteral("50"));
}

TEST(DialogTemplateDialog, GroupBoxLiesUnderTheControlsInsideIt)
{
    ProbeDialog dialog(BorderLikeTemplate(), nullptr);
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        QLabel* label = nullptr;
        for (QLabel* l : d.Window()->findChildren<QLabel*>())
            if (l->text().startsWith(QStringLiteral("  Click")))
                label = l;
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QStringLiteral("  Click on the radio button above"));
        EXPECT_EQ(d.Window()->childAt(label->geometry().center()), label);
        d.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
}

TEST(DialogTemplateDialog, ButtonCommandGoesToItsHandlerAndEndDialogSetsTheResult)
{
    ProbeDialog dialog(BorderLikeTemplate(), nullptr);
    dialog.MapCommand(1012, [&dialog] {
        dialog.calls.append(QStringLiteral("1012"));
        dialog.EndDialog(1012);
    });
    ModalDialogScript script;
    script.Then([](CDialog& d) { d.GetDlgItemAs<QPushButton>(1012)->click(); });
    EXPECT_EQ(dialog.DoModal(), 1012);
    EXPECT_EQ(dialog.calls, (QStringList{"init", "1012"}));
    EXPECT_TRUE(dialog.controlsAtInit);
}

TEST(DialogTemplateDialog, HandlerThatDoesNotEndKeepsTheDialogOpen)
{
    ProbeDialog dialog(BorderLikeTemplate(), nullptr);
    dialog.MapCommand(1012, [&dialog] { dialog.calls.append(QStringLiteral("refused")); });
    ModalDialogScript script;
    bool openAfterClick = false;
    script.Then([&](CDialog& d) {
        d.GetDlgItemAs<QPushButton>(1012)->click();
        openAfterClick = !d.IsEnded() && d.Window()->isVisible();
        d.GetDlgItemAs<QPushButton>(IDCANCEL)->click();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterClick);
    EXPECT_EQ(dialog.calls, (QStringList{"init", "refused", "OnCancel"}));
}

TEST(DialogTemplateDialog, EnterPressesTheDefaultButtonEscapeCancels)
{
    ProbeDialog dialog(FormTemplate(), nullptr);
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        d.GetDlgItem(1022)->setFocus();
        SendKey(d.GetDlgItem(1022), Qt::Key_Return);
    });
    script.Then([](CDialog& d) { SendKey(d.Window(), Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.calls, (QStringList{"init", "OnOK", "init", "OnCancel"}));
}

TEST(DialogTemplateDialog, EnterWithoutADefaultButtonSendsIdok)
{
    // The Border dialog has no default button: Enter reaches OnOK.
    ProbeDialog dialog(BorderLikeTemplate(), nullptr);
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        d.GetDlgItem(1001)->setFocus();
        SendKey(d.GetDlgItem(1001), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.calls.last(), QStringLiteral("OnOK"));
}

TEST(DialogTemplateDialog, EnterOnAFocusedPushButtonPressesThatButton)
{
    ProbeDialog dialog(FormTemplate(), nullptr);
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        d.GetDlgItem(IDCANCEL)->setFocus();
        SendKey(d.Window(), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(DialogTemplateDialog, CloseBoxSendsIdcancelAndARefusingDialogStaysOpen)
{
    ProbeDialog dialog(FormTemplate(), nullptr);
    dialog.refuseCancel = true;
    ModalDialogScript script;
    bool openAfterClose = false;
    script.Then([&](CDialog& d) {
        d.Window()->close();
        openAfterClose = d.Window()->isVisible() && !d.IsEnded();
        d.EndDialog(7);
    });
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_TRUE(openAfterClose);
    EXPECT_EQ(dialog.calls, (QStringList{"init", "OnCancel"}));
}

TEST(DialogTemplateDialog, EndDialogDuringInitialisationEndsBeforeShowing)
{
    ProbeDialog dialog(FormTemplate(), nullptr);
    dialog.onInit = [](ProbeDialog& d) { d.EndDialog(99); };
    ModalDialogScript script;
    script.Then([](CDialog& d) { d.EndDialog(1); });
    EXPECT_EQ(dialog.DoModal(), 99);
    EXPECT_EQ(script.PendingSteps(), 1u);
    EXPECT_TRUE(script.Shown().isEmpty());
}

TEST(DialogTemplateDialog, UnansweredDialogIsCancelledThroughOnCancel)
{
    ProbeDialog dialog(FormTemplate(), nullptr);
    dialog.cancelResult = 1021;
    ModalDialogScript script;
    script.Then([](CDialog&) {});
    EXPECT_EQ(dialog.DoModal(), 1021);  // the step left it open
    EXPECT_EQ(dialog.DoModal(), 1021);  // no step left
    dialog.refuseCancel = true;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // refusing to close does not hang the test
}

TEST(DialogTemplateDialog, NestedDialogsTakeTheFollowingSteps)
{
    ProbeDialog outer(FormTemplate(), nullptr);
    ProbeDialog inner(BorderLikeTemplate(), nullptr);
    int innerResult = 0;
    outer.MapCommand(50, [&] { innerResult = inner.DoModal(); });
    inner.MapCommand(1012, [&] { inner.EndDialog(1012); });
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        d.GetDlgItemAs<QRadioButton>(50)->click();
        d.EndDialog(IDOK);
    });
    script.Then([](CDialog& d) { d.GetDlgItemAs<QPushButton>(1012)->click(); });
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(innerResult, 1012);
    EXPECT_EQ(script.Shown(), (QStringList{"Form", "RectDialog"}));
}

TEST(DialogTemplateDialog, EveryRunStartsWithFreshControls)
{
    ProbeDialog dialog(BorderLikeTemplate(), nullptr);
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        d.SetDlgItemText(1001, QStringLiteral("75"));
        d.CheckDlgButton(1011, BST_CHECKED);
        d.EndDialog(IDOK);
    });
    QString textOnSecondRun;
    UINT checkOnSecondRun = BST_CHECKED;
    script.Then([&](CDialog& d) {
        textOnSecondRun = d.GetDlgItemText(1001);
        checkOnSecondRun = d.IsDlgButtonChecked(1011);
        d.EndDialog(IDOK);
    });
    dialog.DoModal();
    dialog.DoModal();
    EXPECT_EQ(textOnSecondRun, QString());
    EXPECT_EQ(checkOnSecondRun, BST_UNCHECKED);
}

TEST(DialogTemplateDialog, RadioButtonsExcludeEachOtherOnlyWithinTheirGroup)
{
    ProbeDialog dialog(FormTemplate(), nullptr);
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        d.GetDlgItemAs<QRadioButton>(40044)->click();
        d.GetDlgItemAs<QRadioButton>(50)->click();
        EXPECT_EQ(d.IsDlgButtonChecked(40044), BST_CHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(50), BST_CHECKED);
        d.GetDlgItemAs<QRadioButton>(40045)->click();
        EXPECT_EQ(d.IsDlgButtonChecked(40044), BST_UNCHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(40045), BST_CHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(50), BST_CHECKED);
        // Clicking the checked one keeps it checked.
        d.GetDlgItemAs<QRadioButton>(40045)->click();
        EXPECT_EQ(d.IsDlgButtonChecked(40045), BST_CHECKED);
        // The program can clear it, which a user cannot.
        d.CheckDlgButton(40045, BST_UNCHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(40045), BST_UNCHECKED);
        d.CheckRadioButton(50, 51, 51);
        EXPECT_EQ(d.IsDlgButtonChecked(50), BST_UNCHECKED);
        EXPECT_EQ(d.IsDlgButtonChecked(51), BST_CHECKED);
        d.EndDialog(IDOK);
    });
    dialog.DoModal();
}

TEST(DialogTemplateDialog, SortedComboFilesEntriesAndOnlyAUserChoiceNotifies)
{
    ProbeDialog dialog(FormTemplate(), nullptr);
    int notified = 0;
    dialog.MapSelChange(1016, [&] { ++notified; });
    ModalDialogScript script;
    script.Then([&](CDialog& d) {
        auto* combo = d.GetDlgItemAs<CComboBox>(1016);
        ASSERT_NE(combo, nullptr);
        EXPECT_FALSE(combo->isEditable());
        combo->AddString(QStringLiteral("c.bmp"));
        combo->AddString(QStringLiteral("A.bmp"));
        combo->AddString(QStringLiteral("b.bmp"));
        EXPECT_EQ(combo->GetLBText(0), QStringLiteral("A.bmp"));
        EXPECT_EQ(combo->GetLBText(1), QStringLiteral("b.bmp"));
        EXPECT_EQ(combo->GetLBText(2), QStringLiteral("c.bmp"));
        EXPECT_EQ(combo->GetCurSel(), -1);
        combo->SetCurSel(1);
        EXPECT_EQ(notified, 0);
        combo->setFocus();
        SendKey(combo, Qt::Key_Down);
        EXPECT_EQ(combo->GetCurSel(), 2);
        EXPECT_EQ(notified, 1);
        d.EndDialog(IDOK);
    });
    dialog.DoModal();
}

TEST(DialogTemplateDialog, EnterInAComboEditFieldPressesTheDefaultButtonWithoutChoosing)
{
    ProbeDialog dialog(FormTemplate(), nullptr);
    int notified = 0;
    dialog.MapSelChange(1017, [&] { ++notified; });
    ModalDialogScript script;
    int selection = 0;
    script.Then([&](CDialog& d) {
        auto* combo = d.GetDlgItemAs<CComboBox>(1017);
        ASSERT_NE(combo, nullptr);
        ASSERT_TRUE(combo->isEditable());
        combo->AddString(QStringLiteral("10"));
        combo->AddString(QStringLiteral("12"));
        combo->lineEdit()->setFocus();
        combo->lineEdit()->setText(QStringLiteral("12"));
        SendKey(combo->lineEdit(), Qt::Key_Return);
        selection = combo->GetCurSel();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(selection, -1);
    EXPECT_EQ(dialog.calls.last(), QStringLiteral("OnOK"));
}

TEST(DialogTemplateDialog, EditChangeReachesItsHandler)
{
    ProbeDialog dialog(BorderLikeTemplate(), nullptr);
    QStringList seen;
    dialog.MapEditChange(1001, [&] { seen.append(dialog.GetDlgItemText(1001)); });
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        SendKey(d.GetDlgItem(1001), Qt::Key_4, QStringLiteral("4"));
        d.SetDlgItemText(1001, QStringLiteral("50"));
        d.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(seen, (QStringList{"4", "50"}));
}

TEST(DialogTemplateDialog, MultiLineEditLimitHoldsForTypingAndPasting)
{
    ProbeDialog dialog(FormTemplate(), nullptr);
    ModalDialogScript script;
    QString afterTyping;
    QString afterPaste;
    script.Then([&](CDialog& d) {
        auto* edit = d.GetDlgItemAs<CMultiLineEdit>(1022);
        ASSERT_NE(edit, nullptr);
        edit->LimitText(4);
        for (const char* c : {"a", "b", "c", "d", "e"})
            SendKey(edit, Qt::Key_A, QString::fromLatin1(c));
        afterTyping = edit->toPlainText();
        edit->clear();
        edit->insertPlainText(QStringLiteral("x"));
        QGuiApplication::clipboard()->setText(QStringLiteral("123456"));
        edit->paste();
        afterPaste = edit->toPlainText();
        d.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(afterTyping, QStringLiteral("abcd"));
    EXPECT_EQ(afterPaste, QStringLiteral("x123"));
}

TEST(DialogTemplateDialog, KeysAndClicksNoControlTakesReachTheDialog)
{
    ProbeDialog dialog(FormTemplate(), nullptr);
    ModalDialogScript script;
    script.Then([](CDialog& d) {
        SendKey(d.Window(), Qt::Key_Right);
        SendKey(d.Window(), Qt::Key_K, QStringLiteral("k"));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(300, 5), QPointF(300, 5), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(d.Window(), &press);
        d.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.keys, (std::vector<UINT>{VK_RIGHT, 0x4B}));
    ASSERT_EQ(dialog.clicks.size(), 1u);
    EXPECT_EQ(dialog.clicks[0], (POINT{300, 5}));
}

TEST(DialogTemplateDialog, InitialFocusIsTheFirstTabStop)
{
    ProbeDialog dialog(BorderLikeTemplate(), nullptr);
    ModalDialogScript script;
    QWidget* focused = nullptr;
    script.Then([&](CDialog& d) {
        focused = d.Window()->focusWidget();
        d.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_NE(focused, nullptr);
    EXPECT_EQ(GetDlgCtrlID(focused), 1012);
}
