// "SlidesDialog": the pictures of a show (the list starts empty at every
// showing), "..." to add pictures, "Play" to start an automatic show and
// close, "Stop" to stop the running shows, "Advanced..." for the settings.
// In a manual show its own key presses (not Escape) and clicks outside its
// controls step past the next picture without showing it.
#pragma once

#include "platform/Dialog.h"

class CComboBox;

class CSlidesDialog : public CDialog {
public:
    explicit CSlidesDialog(QWidget* parent);

protected:
    BOOL OnInitDialog() override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnLButtonDown(UINT nFlags, POINT point) override;

    void OnBrowse();
    void OnPlay();
    void OnAdvanced();
    void OnStop();

private:
    CComboBox* m_pSlideCombo = nullptr;
};
