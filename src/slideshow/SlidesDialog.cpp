#include "slideshow/SlidesDialog.h"

#include "app/MainFrame.h"
#include "platform/DialogControls.h"
#include "platform/WindowSystem.h"
#include "resources/DialogTemplates.h"
#include "slideshow/SettingCombo.h"
#include "slideshow/SlideShow.h"

#include <QDialog>
#include <QFileInfo>

void CMainFrame::OnSlideShow()
{
    CSlidesDialog dialog(this);
    dialog.DoModal();
}

CSlidesDialog::CSlidesDialog(QWidget* parent) : CDialog(SlidesDialogTemplate(), parent)
{
    MapCommand(IDC_SLIDES_BROWSE, [this] { OnBrowse(); });
    MapCommand(IDC_SLIDES_PLAY, [this] { OnPlay(); });
    MapCommand(IDC_SLIDES_ADVANCED, [this] { OnAdvanced(); });
    MapCommand(IDC_SLIDES_STOP, [this] { OnStop(); });
}

BOOL CSlidesDialog::OnInitDialog()
{
    m_pSlideCombo = GetDlgItemAs<CComboBox>(IDC_SLIDES_LIST);
    // Every showing starts a new list; the manual position stays.
    g_astrSlides.clear();
    return TRUE;
}

void CSlidesDialog::OnBrowse()
{
    const QStringList chosen = WindowSystem().GetOpenFileNames(nullptr, kBitmapFilter, true);
    for (const QString& file : chosen) {
        // The list shows them sorted; the show runs in the order of adding.
        const QString path = QFileInfo(file).absoluteFilePath();
        if (m_pSlideCombo)
            m_pSlideCombo->AddString(path);
        g_astrSlides.append(path);
    }
}

void CSlidesDialog::OnPlay()
{
    StartSlideShow();
    EndDialog(IDOK);
}

void CSlidesDialog::OnAdvanced()
{
    CSettingCombo settings(Window());
    settings.DoModal();
}

void CSlidesDialog::OnStop()
{
    g_bSlideStop.Set();
}

void CSlidesDialog::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (nChar != VK_ESCAPE && g_bSlideAuto.load() == 0)
        StepManualSlideShow(Window(), false);
}

void CSlidesDialog::OnLButtonDown(UINT, POINT)
{
    if (g_bSlideAuto.load() == 0)
        StepManualSlideShow(Window(), false);
}
