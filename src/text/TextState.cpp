#include "text/TextState.h"

QPointer<CEditBox> g_pActiveEdit;
int g_nActiveEditId = 0;
int g_nTextBoxCount = 0;
int g_nActiveId = 0;
LOGFONT g_logfont{};
COLORREF g_crText = 0;
LOGFONT g_logfontEntry{};
COLORREF g_crEntry = 0;
int g_bEntryLoaded = 0;

void ResetTextState()
{
    g_pActiveEdit = nullptr;
    g_nActiveEditId = 0;
    g_nTextBoxCount = 0;
    g_nActiveId = 0;
    g_logfont = LOGFONT{};
    g_crText = 0;
    g_logfontEntry = LOGFONT{};
    g_crEntry = 0;
    g_bEntryLoaded = 0;
}
