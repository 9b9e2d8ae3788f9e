// Helpers shared by the window-system implementations: the caption rule of
// message boxes, the file-filter conversion and colour conversion.
#pragma once

#include "platform/WindowSystem.h"

#include <QColor>
#include <QString>

// The caption a message box shows when its owner has none: the platform's.
inline const QString kDefaultMessageBoxCaption = QStringLiteral("Error");

// The caption a message box shows: its own, else the application's title when
// a window owns it, else the platform's default ("Error").
QString MessageBoxCaption(const QWidget* owner, const QString& caption);

// A Windows filter string ("Bitmap files (*.bmp)|*.bmp|All files(*.*)|*.*||":
// description and pattern list in pairs, patterns separated by ';', the end
// marked by an empty description) in the toolkit's form, one
// "description (patterns)" entry per pair, entries joined by ";;".
// "*.*" becomes "*", as it matches every file on Windows, names without a
// dot included. The description is kept whole, so a file dialog that hides
// the pattern details shows exactly the Windows descriptions.
// An empty or malformed string gives an empty filter (every file).
QString QtFileFilter(const QString& windowsFilter);

constexpr QRgb RgbFromColorRef(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline QColor QColorFromColorRef(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
// The colour's 8-bit red, green and blue; alpha is dropped.
COLORREF ColorRefFromQColor(const QColor& color);

// The file-name buffer of the program's file choosers, in UTF-16 units.
constexpr int kFileNameBufferChars = 260;
// Whether `paths`, as a file chooser reports them, fit the buffer in the
// Windows layout: a single choice is its path and a terminating zero; a
// multiple-selection chooser writes the folder, then each name, each followed
// by a zero, and a final zero (one file: its path and two zeros). A choice
// that does not fit makes the chooser fail as if cancelled.
bool FitsFileNameBuffer(const QStringList& paths, bool multiSelect);
