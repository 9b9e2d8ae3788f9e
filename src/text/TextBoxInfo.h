// The record of one text box: its font, text colour and control id. The text
// box list holds one record per box, in creation order.
#pragma once

#include "platform/WinTypes.h"
#include "scene/ObArray.h"

class CTextBoxInfo {
public:
    // Sets all three fields at once.
    void SetFormat(const LOGFONT& logfont, COLORREF crText, int nId)
    {
        m_logfont = logfont;
        m_crText = crText;
        m_nId = nId;
    }

    LOGFONT m_logfont{};
    COLORREF m_crText = 0;
    int m_nId = 0;
};

using CTextBoxList = CObArray<CTextBoxInfo>;

// The text box records, created by the main window and kept for the whole run.
extern CTextBoxList* g_pTextBoxes;
