// A figure of the drawing: one line, rectangle, ellipse, text box mirror or
// border. Figures are replaced, never edited: every change builds a new one.
#pragma once

#include "platform/Gdi.h"
#include "platform/WinTypes.h"
#include "scene/ObArray.h"

#include <memory>
#include <optional>

// Figure kinds.
constexpr int FK_LINE = 0;
constexpr int FK_RECTANGLE = 1;
constexpr int FK_ELLIPSE = 2;
constexpr int FK_TEXT = 3;
constexpr int FK_BORDER = 4;

// Creation codes: the tool values that the constructor turns into kinds.
constexpr int CC_LINE = 0;
constexpr int CC_RECTANGLE = 1;
constexpr int CC_ELLIPSE = 2;
constexpr int CC_TEXT = 4;
constexpr int CC_BORDER = 10;

// The kind a creation code makes (0, 1, 2, 4, 10 give 0, 1, 2, 3, 4), or -1
// for a code outside the table.
int KindFromCreationCode(int code);
// The creation code that re-makes a figure of `kind` (3 gives 4, 4 gives 10).
int CreationCodeFromKind(int kind);

class CShapeFigure {
public:
    CShapeFigure(const RECT& rect, int creationCode, const CString& text, int textId, COLORREF lineColor,
                 double tileWidth, double tileHeight, const CString& picture,
                 std::optional<RECT> formatRect, COLORREF fillColor);

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
    int m_nKind = -1;
};

using CFigureList = CObArray<CShapeFigure>;

// The figure list, in stacking order (index 0 at the bottom). Created by the
// main window and kept for the whole run.
extern CFigureList* g_pFigures;
