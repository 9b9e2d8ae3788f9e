// The text box state of the program: the active text box, the box count, and
// the current and entry text formats that follow the keyboard focus.
#pragma once

#include "platform/WinTypes.h"
#include "text/EditBox.h"

#include <QPointer>

// The box that formatting, Resize and Delete act on: the box made or focused
// last. A guarded pointer: it reads as null once that box's window is gone
// (after Delete), so nothing acts on a destroyed box.
extern QPointer<CEditBox> g_pActiveEdit;
// The control id of the active box. A deleted box stays the active one until
// another box is made or focused: the formatting commands then still change
// the current text format, which the next box takes. 0 = no active box.
extern int g_nActiveEditId;
inline bool HasActiveTextBox()
{
    return g_nActiveEditId != 0;
}
extern int g_nTextBoxCount;       // boxes made since start or New; also the newest id
extern int g_nActiveId;           // id recorded for the active box; 0 = none yet
extern LOGFONT g_logfont;         // current text format: font ...
extern COLORREF g_crText;         // ... and colour
extern LOGFONT g_logfontEntry;    // format the active box had when it became active
extern COLORREF g_crEntry;
extern int g_bEntryLoaded;        // 1 once any box became active through a focus change

// Resets the text state to its start values (a new main window).
void ResetTextState();
