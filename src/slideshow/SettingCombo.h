// "SettingCombo", the slide-show settings: the delay in seconds (the field
// starts at "1" at every showing), Manual or Auto, and Loop. OK stores all
// three; a delay of 0 (or no digits) is refused with "Plz increase the
// delay" and the dialog stays open, the settings already stored.
#pragma once

#include "platform/Dialog.h"

class QAbstractButton;
class QLineEdit;

class CSettingCombo : public CDialog {
public:
    explicit CSettingCombo(QWidget* parent);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    QLineEdit* m_pDelayEdit = nullptr;
    QAbstractButton* m_pManualRadio = nullptr;
    QAbstractButton* m_pAutoRadio = nullptr;
    QAbstractButton* m_pLoopCheck = nullptr;
};

// The seconds a delay field's text gives: its leading decimal digits, 0
// without any, at most INT_MAX.
int DelayFromText(const QString& text);
