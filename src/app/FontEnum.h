// Enumerating the installed font families, as the font box and the glyph
// border dialog list them.
#pragma once

#include <QStringList>

// Font-type bit of a TrueType font, as the enumeration callback receives it.
constexpr int TRUETYPE_FONTTYPE = 4;

struct FontFamilyInfo {
    QString family;    // family name
    QString fullName;  // full name of the family's regular face
    int fontType = 0;  // TRUETYPE_FONTTYPE for TrueType fonts
};

// The callback for every family: adds the full name of a TrueType font to
// `names` and always asks for more (returns 1).
int EnumFaceProc(const FontFamilyInfo& font, int fontType, QStringList* names);

// Every installed font family, one entry each, in no particular order.
// An empty list when fontconfig cannot be read.
std::vector<FontFamilyInfo> EnumFontFamilies();

// The full names of the installed TrueType font families (what the font box lists).
QStringList EnumTrueTypeFullNames();
