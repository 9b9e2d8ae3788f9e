// A figure of the drawing: one line, rectangle, ellipse, text box mirror or
// border. Figures are replaced, never edited: every change builds a new one.
#pragma once

#include "platform/Gdi.h"
#include "platform/WinTypes.h"
#include "scene/ObArray.h"

#include <memory>
#include <optional>

// Figure kinds (m_nKind). The numbers are the design's and are compared with
// numbers; -1 means none (no selection, or a creation code outside the table).
enum FigureKind : int {
    FK_NONE = -1,
    FK_LINE = 0,
    FK_RECTANGLE = 1,
    FK_ELLIPSE = 2,
    FK_TEXT = 3,
    FK_BORDER = 4,
};

// Creation codes: the tool values the constructor turns into kinds. A code is
// not a kind (text is code 4 but kind 3, a border code 10 but kind 4): the two
// convert only through the functions below.
enum CreationCode : int {
    CC_NONE = -1,
    CC_LINE = 0,
    CC_RECTANGLE = 1,
    CC_ELLIPSE = 2,
    CC_TEXT = 4,
    CC_BORDER = 10,
};

// The kind a creation code makes (0, 1, 2, 4, 10 give 0, 1, 2, 3, 4), or
// FK_NONE for a code outside the table.
FigureKind KindFromCreationCode(CreationCode code);
// The creation code that re-makes a figure of `kind` (3 gives 4, 4 gives 10);
// CC_NONE for FK_NONE.
CreationCode CreationCodeFromKind(FigureKind kind);
// Line, rectangle and ellipse: the kinds a drag makes and Paste can hold.
constexpr bool IsShapeKind(int kind)
{
    return kind == FK_LINE || kind == FK_RECTANGLE || kind == FK_ELLIPSE;
}

// The grey of every figure a drag or a text box makes, and of the bands and
// outlines that drags draw; and the white fill of new figures.
constexpr COLORREF CR_FIGURE_GREY = RGB(192, 192, 192);
constexpr COLORREF CR_FIGURE_WHITE = RGB(255, 255, 255);
// A text figure reaches this far beyond its box window on every side.
constexpr int TEXT_FIGURE_MARGIN = 6;

class CShapeFigure {
public:
    // The ways the program makes figures. Each names what it makes and takes
    // only what that figure keeps; every maker goes through one of them.

    // A line, rectangle or ellipse without picture or tiles.
    static std::unique_ptr<CShapeFigure> Shape(FigureKind kind, const RECT& rect, COLORREF line, COLORREF fill);
    // The mirror of a text box: rectangle (the window grown by
    // TEXT_FIGURE_MARGIN), text, control id and formatting rectangle. A
    // placed or edited box's figure is grey on white; a moved one keeps the
    // colours the selection holds.
    static std::unique_ptr<CShapeFigure> Text(const RECT& rect, const CString& text, int id,
                                              std::optional<RECT> formatRect, COLORREF line = CR_FIGURE_GREY,
                                              COLORREF fill = CR_FIGURE_WHITE);
    // A figure of `kind` that shows a picture: with both tile sizes 0 the
    // picture fills the rectangle, with both above 0 its tiles frame it.
    // The fill is always white.
    static std::unique_ptr<CShapeFigure> Picture(FigureKind kind, const RECT& rect, COLORREF line,
                                                 const CString& picture, double tileWidth = 0,
                                                 double tileHeight = 0);
    // A border: tiles of `picture` along the four edges of `rect`.
    static std::unique_ptr<CShapeFigure> Border(const RECT& rect, COLORREF line, double tileWidth,
                                                double tileHeight, const CString& picture);

    // Draws the figure once with its own pen (dash-dot in the line colour) and
    // brush (solid in the fill colour), under the DC's current ROP2. Lines,
    // rectangles and ellipses only.
    void Draw(CDC& dc) const;

    COLORREF LineColor() const { return m_logpen.lopnColor; }
    COLORREF FillColor() const { return m_logbrush.lbColor; }
    bool HasPicture() const { return !m_strPicture.isEmpty(); }

    int m_bBrush = 1;
    int m_bPen = 1;
    LOGPEN m_logpen;
    LOGBRUSH m_logbrush;
    std::optional<RECT> m_pFormatRect;  // text figures: the box's formatting rectangle
    RECT m_rect;
    double m_dTileWidth = 0;
    double m_dTileHeight = 0;
    CString m_strPicture;
    CString m_strText;
    int m_nTextId = 0;
    FigureKind m_nKind = FK_NONE;

private:
    // The one constructor, in the design's parameter order: only the makers
    // above call it.
    CShapeFigure(const RECT& rect, CreationCode creationCode, const CString& text, int textId, COLORREF lineColor,
                 double tileWidth, double tileHeight, const CString& picture, std::optional<RECT> formatRect,
                 COLORREF fillColor);
};

using CFigureList = CObArray<CShapeFigure>;

// The figure list, in stacking order (index 0 at the bottom). Created by the
// main window and kept for the whole run.
extern CFigureList* g_pFigures;
