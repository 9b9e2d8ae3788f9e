#include "slideshow/SettingCombo.h"

#include "platform/WindowSystem.h"
#include "resources/DialogTemplates.h"
#include "slideshow/SlideShow.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>

#include <climits>

int DelayFromText(const QString& text)
{
    long long value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = std::min<long long>(value * 10 + (c.unicode() - '0'), INT_MAX);
    }
    return static_cast<int>(value);
}

CSettingCombo::CSettingCombo(QWidget* parent) : CDialog(SettingComboTemplate(), parent) {}

BOOL CSettingCombo::OnInitDialog()
{
    m_pDelayEdit = GetDlgItemAs<QLineEdit>(IDC_SETTING_DELAY);
    m_pManualRadio = GetDlgItemAs<QAbstractButton>(IDC_SETTING_MANUAL);
    m_pAutoRadio = GetDlgItemAs<QAbstractButton>(IDC_SETTING_AUTO);
    m_pLoopCheck = GetDlgItemAs<QAbstractButton>(IDC_SETTING_LOOP);
    // Always "1", whatever the delay is.
    SetDlgItemText(IDC_SETTING_DELAY, QStringLiteral("1"));
    if (g_bSlideAuto.load() == 1)
        CheckDlgButton(IDC_SETTING_AUTO, BST_CHECKED);
    else
        CheckDlgButton(IDC_SETTING_MANUAL, BST_CHECKED);
    CheckDlgButton(IDC_SETTING_LOOP, g_bSlideLoop.load() == 1 ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CSettingCombo::OnOK()
{
    g_nSlideDelay.store(DelayFromText(GetDlgItemText(IDC_SETTING_DELAY)));
    g_bSlideAuto.store(IsDlgButtonChecked(IDC_SETTING_AUTO) == BST_CHECKED ? 1 : 0);
    g_bSlideLoop.store(IsDlgButtonChecked(IDC_SETTING_LOOP) == BST_CHECKED ? 1 : 0);
    if (g_nSlideDelay.load() != 0) {
        EndDialog(IDOK);
        return;
    }
    WindowSystem().MessageBox(Window(), QStringLiteral("Plz increase the delay"), QString(), MB_OK);
}
