// The glyph border: a few characters typed in a border font, rendered into a
// bitmap that is written as a numbered tile file, then laid round the whole
// window or the selected figure as the tiles of a border.
#pragma once

#include "platform/Dialog.h"
#include "platform/Gdi.h"
#include "platform/WinTypes.h"

#include <memory>

extern CString g_strGlyphText;   // the characters typed (at most 4)
extern LOGFONT g_logfontGlyph;   // the font chosen in the dialog
extern int g_bGlyphBounding;     // "Bounding Border" was checked
extern int g_bGlyphOuter;        // "Outer Border" was checked
extern int g_nGlyphFileCount;    // tile files written since start

// The folder the numbered tile files go to: the program's data folder
// ("tiles" in the user's data location) unless a test set another. A folder
// that does not exist yet is made when the first file is written.
QString GlyphTileFolder();
void SetGlyphTileFolder(const QString& folder);

// The tile length of a glyph tile `extent` pixels long along a side of
// `area` pixels: n = area / extent (whole numbers), one more when the rest
// is over half the extent (halved as a whole number), and area / n. A side
// or extent that is not positive gives 0 (nothing is drawn).
double FitGlyphTile(int area, int extent);

// "SampleDialog": face, style and size of the border font, up to four
// characters shown in it, and "Bounding Border" or "Outer Border". OK stores
// the choice in the globals above; empty text is refused with a message and
// the dialog stays open.
class CSampleDialog : public CDialog {
public:
    explicit CSampleDialog(QWidget* parent);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnFaceChange();
    void OnStyleChange();
    void OnSizeChange();

private:
    // A new sample font from g_logfontGlyph, shown in the text field.
    void ShowSample();
    std::unique_ptr<CFont> m_pSampleFont;
};
