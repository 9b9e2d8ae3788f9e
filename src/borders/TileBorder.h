// Tile borders: a frame of equal tiles of one picture along the four sides
// of the whole window (an outer border, FK_BORDER) or of the selected white
// rectangle (a bordered rectangle). The tiles themselves are drawn by the
// full redraw; here are the settings of the Border dialog and the fitting of
// the tile size to a side.
#pragma once

#include "platform/Dialog.h"
#include "platform/WinTypes.h"

// The Border dialog's settings, kept between its showings.
extern double g_dTileWidth;     // the dialog's Width, then the fitted width
extern double g_dTileHeight;    // the dialog's Height, then the fitted height
extern CString g_strTilePicture;  // the tile picture chosen with "..."
extern int g_bOuterBorder;      // "Outer Border" was checked
extern int g_bLeftRight;        // "Left and Right" (kept; the tiles always go round all four sides)
extern int g_bAllSides;         // "All"

// The tile length that fills `length` exactly with whole tiles near `tile`:
// n = length / tile truncated, one tile more when the rest is over half a
// tile, and length / n. A side shorter than half a tile still gets one tile;
// a side or tile that is not positive gives 0 (nothing is drawn).
double FitTileSize(int length, double tile);

// "RectDialog": tile width and height (digits, "50" at every showing), the
// tile picture (chosen with "..." during this showing), "Left and Right",
// "All" and "Outer Border". OK (1012) stores the settings in the globals
// above; a missing file or a tile size of 0 is refused with a message and
// the dialog stays open.
class CRectDialog : public CDialog {
public:
    explicit CRectDialog(QWidget* parent);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnBrowseTile();
};
