#include "resources/DialogTemplates.h"

const DialogTemplate& RectDialogTemplate()
{
    static const DialogTemplate tmpl{
        .name = "RectDialog",
        .caption = "Border",
        .fontFace = "MS Sans Serif",
        .pointSize = 8,
        .cx = 280,
        .cy = 151,
        .controls = {
            {IDC_BORDER_OK, ControlKind::PushButton, "OK", 217, 65, 50, 14, WS_GROUP | WS_TABSTOP},
            {IDCANCEL, ControlKind::PushButton, "Cancel", 216, 87, 50, 14},
            {IDC_STATIC, ControlKind::Static, "Width", 32, 15, 25, 16},
            {IDC_STATIC, ControlKind::Static, "Height", 127, 15, 25, 16},
            {IDC_BORDER_WIDTH, ControlKind::Edit, QString(), 66, 12, 48, 12, ES_NUMBER | WS_BORDER | ES_AUTOHSCROLL},
            {IDC_BORDER_HEIGHT, ControlKind::Edit, QString(), 171, 12, 48, 12, ES_NUMBER | WS_BORDER | ES_AUTOHSCROLL},
            {IDC_BORDER_LEFTRIGHT, ControlKind::CheckBox, "Left and Right", 56, 58, 61, 10},
            {IDC_BORDER_ALL, ControlKind::CheckBox, "All", 159, 58, 23, 10},
            {IDC_STATIC, ControlKind::Static, "File", 32, 33, 24, 16},
            {IDC_BORDER_FILE, ControlKind::Edit, QString(), 66, 31, 154, 12, ES_READONLY | WS_BORDER | ES_AUTOHSCROLL},
            {IDC_BORDER_BROWSE, ControlKind::PushButton, "...", 226, 28, 12, 16},
            {IDC_STATIC, ControlKind::GroupBox, "Outer Border", 18, 100, 178, 33},
            {IDC_STATIC, ControlKind::Static,
             "  Click on the radio button above to Apply Border to the    Whole Window.", 22, 108, 173, 19},
            {IDC_BORDER_OUTER, ControlKind::RadioButton, "Outer Border", 19, 86, 56, 10},
        },
    };
    return tmpl;
}

const DialogTemplate& SampleDialogTemplate()
{
    static const DialogTemplate tmpl{
        .name = "SampleDialog",
        .caption = "FontBorder",
        .fontFace = "MS Sans Serif",
        .pointSize = 8,
        .cx = 322,
        .cy = 188,
        .controls = {
            {IDC_GLYPH_TEXT, ControlKind::Edit, QString(), 60, 47, 157, 69,
             ES_MULTILINE | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
            {IDC_GLYPH_FACE, ControlKind::ComboBox, QString(), 23, 19, 117, 78, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL},
            {IDC_GLYPH_SIZE, ControlKind::ComboBox, QString(), 259, 19, 49, 62, CBS_DROPDOWN | WS_VSCROLL},
            {IDC_GLYPH_STYLE, ControlKind::ComboBox, QString(), 155, 19, 86, 60, CBS_DROPDOWN | WS_VSCROLL},
            {IDOK, ControlKind::PushButton, "Ok", 66, 124, 60, 18},
            {IDC_GLYPH_CANCEL, ControlKind::PushButton, "Cancel", 147, 124, 60, 18},
            {IDC_GLYPH_BOUNDING, ControlKind::RadioButton, "Bounding Border", 249, 66, 69, 10},
            {IDC_GLYPH_OUTER, ControlKind::RadioButton, "Outer Border", 249, 91, 69, 10},
        },
    };
    return tmpl;
}

const DialogTemplate& SettingComboTemplate()
{
    // OK comes first: it takes the focus when the dialog opens. The label
    // wraps under itself, beside the delay field.
    static const DialogTemplate tmpl{
        .name = "SettingCombo",
        .caption = "Dialog",
        .fontFace = "MS Sans Serif",
        .pointSize = 8,
        .cx = 214,
        .cy = 137,
        .controls = {
            {IDOK, ControlKind::DefPushButton, "OK", 40, 108, 50, 14},
            {IDCANCEL, ControlKind::PushButton, "Cancel", 124, 108, 50, 14},
            {IDC_STATIC, ControlKind::Static, "   Delay Time b/w Pictures                     (in  Sec)", 14, 20, 100, 20},
            {IDC_SETTING_DELAY, ControlKind::Edit, QString(), 122, 22, 56, 13, ES_NUMBER | ES_AUTOHSCROLL},
            {IDC_SETTING_MANUAL, ControlKind::RadioButton, "Manual", 30, 54, 50, 10, WS_GROUP},
            {IDC_SETTING_AUTO, ControlKind::RadioButton, "Auto", 122, 54, 50, 10},
            {IDC_SETTING_LOOP, ControlKind::CheckBox, "Loop", 30, 78, 50, 10, WS_GROUP},
        },
    };
    return tmpl;
}

const DialogTemplate& SlidesDialogTemplate()
{
    static const DialogTemplate tmpl{
        .name = "SlidesDialog",
        .caption = "Dialog",
        .fontFace = "MS Sans Serif",
        .pointSize = 8,
        .cx = 198,
        .cy = 111,
        .controls = {
            {IDC_SLIDES_LIST, ControlKind::ComboBox, QString(), 6, 25, 108, 61, CBS_DROPDOWN | CBS_SORT | WS_VSCROLL},
            {IDC_SLIDES_BROWSE, ControlKind::PushButton, "...", 116, 25, 10, 12},
            {IDC_SLIDES_PLAY, ControlKind::PushButton, "Play", 137, 25, 21, 12},
            {IDC_SLIDES_STOP, ControlKind::PushButton, "Stop", 167, 25, 21, 12},
            {IDC_SLIDES_ADVANCED, ControlKind::PushButton, "Advanced...", 143, 52, 48, 12},
            {IDOK, ControlKind::DefPushButton, "OK", 29, 82, 50, 14},
            {IDCANCEL, ControlKind::PushButton, "Cancel", 94, 82, 50, 14},
        },
    };
    return tmpl;
}
