// Dialog templates: a dialog described as Windows resource scripts describe
// it (caption, font, size and a control table in dialog units), and the
// conversion of dialog units to pixels from the template font as Windows
// does it. CDialog (Dialog.h) turns a template into a running dialog.
#pragma once

#include "platform/WinTypes.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <vector>

class QWidget;

enum class ControlKind {
    Static,         // static text (LTEXT)
    Edit,           // edit field, single- or multi-line (EDITTEXT)
    PushButton,     // PUSHBUTTON
    DefPushButton,  // DEFPUSHBUTTON: the Enter key presses it
    CheckBox,       // AUTOCHECKBOX: toggles itself
    RadioButton,    // AUTORADIOBUTTON: checks itself, clears the others of its group
    ComboBox,       // COMBOBOX
    ListBox,        // LISTBOX
    GroupBox,       // GROUPBOX: a labelled frame, drawn under the other controls
};

// Window and control styles (the Windows values). Each kind already has the
// styles a resource script gives it by default (see DefaultControlStyle);
// a control's own styles are added to them.
constexpr UINT WS_TABSTOP = 0x00010000;
constexpr UINT WS_GROUP = 0x00020000;    // starts a group of radio buttons
constexpr UINT WS_HSCROLL = 0x00100000;
constexpr UINT WS_VSCROLL = 0x00200000;
constexpr UINT WS_BORDER = 0x00800000;
constexpr UINT WS_DISABLED = 0x08000000;
constexpr UINT ES_CENTER = 0x0001;
constexpr UINT ES_RIGHT = 0x0002;
constexpr UINT ES_MULTILINE = 0x0004;
constexpr UINT ES_AUTOVSCROLL = 0x0040;
constexpr UINT ES_AUTOHSCROLL = 0x0080;  // multi-line: lines do not wrap
constexpr UINT ES_READONLY = 0x0800;
constexpr UINT ES_WANTRETURN = 0x1000;   // multi-line: Enter breaks the line instead of pressing the default button
constexpr UINT ES_NUMBER = 0x2000;       // only digits can be typed
constexpr UINT SS_CENTER = 0x0001;
constexpr UINT SS_RIGHT = 0x0002;
constexpr UINT SS_NOPREFIX = 0x0080;     // '&' is shown, not taken as a mnemonic
constexpr UINT CBS_SIMPLE = 0x0001;
constexpr UINT CBS_DROPDOWN = 0x0002;      // with an edit field
constexpr UINT CBS_DROPDOWNLIST = 0x0003;  // choice from the list only
constexpr UINT CBS_TYPEMASK = 0x0003;
constexpr UINT CBS_SORT = 0x0100;
constexpr UINT LBS_SORT = 0x0002;

// The id of controls nobody looks up (static texts, group boxes).
constexpr int IDC_STATIC = -1;

struct DialogControl {
    int id = IDC_STATIC;
    ControlKind kind = ControlKind::Static;
    QString text;
    int x = 0;  // position and size in dialog units
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT style = 0;
};

struct DialogTemplate {
    QString name;       // the resource name, "RectDialog"
    QString caption;
    QString fontFace;   // the dialog font: face and size in points
    int pointSize = 8;
    int cx = 0;         // client size in dialog units
    int cy = 0;
    std::vector<DialogControl> controls;  // in template order: tab order, first on top
};

// The styles a resource script gives a control of `kind` by default.
UINT DefaultControlStyle(ControlKind kind);

// The dialog font: -MulDiv(points, dpiY, 72) pixels of the template's face.
LOGFONT DialogLogFont(const DialogTemplate& tmpl, int dpiY);
QFont DialogFont(const DialogTemplate& tmpl, int dpiY);

// The dialog base units of a font, as Windows measures them: x is the
// average width of the 52 Latin letters, (extent + 26) / 52; y is the
// character cell height (tmHeight).
SIZE DialogBaseUnits(const QFont& font);

// Dialog units to pixels: x and widths MulDiv(v, baseX, 4), y and heights
// MulDiv(v, baseY, 8), each value converted on its own.
int DialogUnitsToPixelsX(int x, SIZE base);
int DialogUnitsToPixelsY(int y, SIZE base);
QRect DialogUnitsToPixels(int x, int y, int cx, int cy, SIZE base);

// The control id a template gave `widget`, or 0 when it has none.
int GetDlgCtrlID(const QWidget* widget);
void SetDlgCtrlID(QWidget* widget, int id);

// A static text or button text as shown: "&&" becomes "&", a single '&'
// (the mnemonic mark) is dropped.
QString TextWithoutMnemonic(const QString& text);
