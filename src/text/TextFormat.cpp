// Formatting the active text box: Format > Font, Format > Color and the
// toolbar's bold, italic and underline toggles. They change the current text
// format and apply it to the active box only.
#include "app/MainFrame.h"
#include "platform/WindowSystem.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

namespace {
BYTE Flag(BYTE value)
{
    return value != 0 ? 1 : 0;
}

// A new font from the current format for the active box, when its window
// is still there. The previous font lives on as long as a box still shows it
// (each box holds its own reference).
void ApplyCurrentFont(CMainFrame& frame)
{
    frame.m_pTextFont = std::make_shared<const CFont>(g_logfont);
    if (g_pActiveEdit)
        g_pActiveEdit->SetTextFont(frame.m_pTextFont);
}
}  // namespace

void CMainFrame::OnFormatFont()
{
    if (!HasActiveTextBox())
        return;
    LOGFONT chosen = g_logfont;
    if (!WindowSystem().ChooseFont(this, chosen))
        return;
    // The chooser's face, height, weight, effects and character set; its
    // colour is not used.
    SetFaceName(g_logfont, FaceName(chosen));
    g_logfont.lfHeight = chosen.lfHeight;
    g_logfont.lfWeight = chosen.lfWeight;
    g_logfont.lfItalic = Flag(chosen.lfItalic);
    g_logfont.lfUnderline = Flag(chosen.lfUnderline);
    g_logfont.lfStrikeOut = Flag(chosen.lfStrikeOut);
    g_logfont.lfCharSet = chosen.lfCharSet;
    // The chooser may have taken and given back the focus, which can change
    // the active box; the font goes to the active box as it is now.
    ApplyCurrentFont(*this);

    g_nActiveId = g_nActiveEditId;
    CTextBoxInfo record;
    record.SetFormat(g_logfont, g_crText, g_nActiveId);
    ReplaceTextBoxInfo(g_nActiveId, record);
}

void CMainFrame::OnFormatColor()
{
    // The chooser starts at black and is shown also without a box.
    const std::optional<COLORREF> color = WindowSystem().ChooseColor(this, RGB(0, 0, 0));
    if (!color)
        return;
    if (HasActiveTextBox()) {
        g_crText = *color;
        g_nActiveId = g_nActiveEditId;
        CTextBoxInfo record;
        record.SetFormat(g_logfont, g_crText, g_nActiveId);
        ReplaceTextBoxInfo(g_nActiveId, record);
    }
    Invalidate();
}

void CMainFrame::OnTextBold()
{
    if (!HasActiveTextBox())
        return;
    // From the start weight 0 the first press gives 400, the second 700.
    g_logfont.lfWeight = g_logfont.lfWeight == FW_NORMAL ? FW_BOLD : FW_NORMAL;
    ApplyCurrentFont(*this);
}

void CMainFrame::OnTextItalic()
{
    if (!HasActiveTextBox())
        return;
    g_logfont.lfItalic = g_logfont.lfItalic == 0 ? 1 : 0;
    ApplyCurrentFont(*this);
}

void CMainFrame::OnTextUnderline()
{
    if (!HasActiveTextBox())
        return;
    g_logfont.lfUnderline = g_logfont.lfUnderline == 0 ? 1 : 0;
    ApplyCurrentFont(*this);
}
