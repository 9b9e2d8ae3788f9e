// How a text box lays out and shows its text. The box window and Save, which
// burns the texts of the boxes into the canvas, use this one layout, so the
// saved text lies where the box showed it: the same origin (inside the border
// and the margin), line pitch, line breaks and tab stops, and paragraphs that
// run left to right whatever script they begin with, as an edit control's do.
#pragma once

#include "platform/Gdi.h"
#include "platform/WinTypes.h"

#include <QString>
#include <QTextOption>

class QFont;
class QTextDocument;

// Space between a box's border and its text on every side.
constexpr int kBoxTextMargin = 2;
// Lines wrap at the right edge, between words where possible, and a word
// longer than a line is broken, as a multi-line edit control breaks it.
constexpr QTextOption::WrapMode kBoxWrapMode = QTextOption::WrapAtWordBoundaryOrAnywhere;

// Sets `doc` up as a box lays out its text: the margin, the wrapping and the
// paragraph direction.
void ConfigureBoxDocument(QTextDocument& doc);

// Draws `text` as a box whose client area (the inside of its border) lies at
// `client` on the canvas shows it with `font` and text margin `margin`: in
// the DC's text colour, on a transparent background, cut at the client area
// as the box cuts it. Draws nothing when the area is empty.
void DrawBoxText(CDC& dc, const QString& text, const QFont& font, const RECT& client, int margin);
