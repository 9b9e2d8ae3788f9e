// LOGFONT <-> toolkit font, the one mapping the program uses wherever a
// logical font becomes a real one (device-context fonts, dialog fonts, the
// font chooser):
//  - lfHeight < 0: the character (em) height in pixels;
//  - lfHeight > 0: the cell height (ascent + descent) in pixels;
//  - lfHeight = 0: the default size, 12 points;
//  - lfWeight 0 means normal (400), other weights are taken as they are
//    (both scales run from 1 to 1000 with 400 normal and 700 bold);
//  - italic, underline and strike-out are on when non-zero;
//  - the face name is resolved by fontconfig ("Times New Roman" finds its
//    metric-compatible stand-in); an empty face keeps the toolkit's default.
// Character set, width, escapement, precision, quality and pitch have no
// toolkit counterpart: they stay in the LOGFONT.
#pragma once

#include "platform/WinTypes.h"

#include <QFont>

// Points <-> logical height, as the Windows font dialog converts them:
// -MulDiv(points, dpi, 72), rounded half away from zero.
int LogHeightFromPoints(double points, int dpiY);

// The pixel-sized toolkit font of `lf`.
QFont QFontFromLogFont(const LOGFONT& lf);
// The em height in pixels that `lf` asks for (see the height rules above).
int LogFontPixelSize(const LOGFONT& lf);

// `lf` as a point-sized font, as a font chooser shows it at `dpiY`.
QFont PointFontFromLogFont(const LOGFONT& lf, int dpiY);
// The LOGFONT of a chosen font: face, negative character height (from the
// pixel size, or from the point size at `dpiY`), width 0, weight, italic,
// underline and strike-out as 0/1. Every other field is kept from `base`.
LOGFONT LogFontFromQFont(const QFont& font, const LOGFONT& base, int dpiY);
