// The dialog templates, as data the dialogs are built from (control ids,
// kinds, texts, places and sizes in dialog units, styles).
#pragma once

#include "platform/DialogTemplate.h"

// Control ids of "RectDialog", the Border dialog.
constexpr int IDC_BORDER_OK = 1012;
constexpr int IDC_BORDER_WIDTH = 1001;
constexpr int IDC_BORDER_HEIGHT = 1004;
constexpr int IDC_BORDER_LEFTRIGHT = 1010;
constexpr int IDC_BORDER_ALL = 1011;
constexpr int IDC_BORDER_FILE = 1005;
constexpr int IDC_BORDER_BROWSE = 1013;
constexpr int IDC_BORDER_OUTER = 1014;

// "RectDialog": caption "Border", 8 point "MS Sans Serif", 280 x 151.
const DialogTemplate& RectDialogTemplate();

// Control ids of "SampleDialog", the glyph border dialog.
constexpr int IDC_GLYPH_TEXT = 1022;
constexpr int IDC_GLYPH_FACE = 1016;
constexpr int IDC_GLYPH_SIZE = 1017;
constexpr int IDC_GLYPH_STYLE = 1018;
constexpr int IDC_GLYPH_CANCEL = 1021;
constexpr int IDC_GLYPH_BOUNDING = 1023;
constexpr int IDC_GLYPH_OUTER = 1024;

// "SampleDialog": caption "FontBorder", 8 point "MS Sans Serif", 322 x 188.
const DialogTemplate& SampleDialogTemplate();

// Control ids of "SettingCombo", the slide-show settings.
constexpr int IDC_SETTING_DELAY = 40043;
constexpr int IDC_SETTING_MANUAL = 40044;
constexpr int IDC_SETTING_AUTO = 40045;
constexpr int IDC_SETTING_LOOP = 40046;

// "SettingCombo": caption "Dialog", 8 point "MS Sans Serif", 214 x 137.
const DialogTemplate& SettingComboTemplate();

// Control ids of "SlidesDialog", the slides of a show.
constexpr int IDC_SLIDES_LIST = 1017;
constexpr int IDC_SLIDES_BROWSE = 1013;
constexpr int IDC_SLIDES_PLAY = 1027;
constexpr int IDC_SLIDES_STOP = 1000;
constexpr int IDC_SLIDES_ADVANCED = 1028;

// "SlidesDialog": caption "Dialog", 8 point "MS Sans Serif", 198 x 111.
const DialogTemplate& SlidesDialogTemplate();
