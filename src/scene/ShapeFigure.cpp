#include "scene/ShapeFigure.h"

CFigureList* g_pFigures = nullptr;

FigureKind KindFromCreationCode(CreationCode code)
{
    switch (code) {
    case CC_LINE: return FK_LINE;
    case CC_RECTANGLE: return FK_RECTANGLE;
    case CC_ELLIPSE: return FK_ELLIPSE;
    case CC_TEXT: return FK_TEXT;
    case CC_BORDER: return FK_BORDER;
    default: return FK_NONE;
    }
}

CreationCode CreationCodeFromKind(FigureKind kind)
{
    switch (kind) {
    case FK_LINE: return CC_LINE;
    case FK_RECTANGLE: return CC_RECTANGLE;
    case FK_ELLIPSE: return CC_ELLIPSE;
    case FK_TEXT: return CC_TEXT;
    case FK_BORDER: return CC_BORDER;
    default: return CC_NONE;
    }
}

// The makers are the only callers of the private constructor, hence `new`
// straight into the owning pointer.
std::unique_ptr<CShapeFigure> CShapeFigure::Shape(FigureKind kind, const RECT& rect, COLORREF line, COLORREF fill)
{
    return std::unique_ptr<CShapeFigure>(new CShapeFigure(rect, CreationCodeFromKind(kind), CString(), 0, line, 0.0,
                                                          0.0, CString(), std::nullopt, fill));
}

std::unique_ptr<CShapeFigure> CShapeFigure::Text(const RECT& rect, const CString& text, int id,
                                                 std::optional<RECT> formatRect, COLORREF line, COLORREF fill)
{
    return std::unique_ptr<CShapeFigure>(
        new CShapeFigure(rect, CC_TEXT, text, id, line, 0.0, 0.0, CString(), formatRect, fill));
}

std::unique_ptr<CShapeFigure> CShapeFigure::Picture(FigureKind kind, const RECT& rect, COLORREF line,
                                                    const CString& picture, double tileWidth, double tileHeight)
{
    return std::unique_ptr<CShapeFigure>(new CShapeFigure(rect, CreationCodeFromKind(kind), CString(), 0, line,
                                                          tileWidth, tileHeight, picture, std::nullopt,
                                                          CR_FIGURE_WHITE));
}

std::unique_ptr<CShapeFigure> CShapeFigure::Border(const RECT& rect, COLORREF line, double tileWidth,
                                                   double tileHeight, const CString& picture)
{
    return std::unique_ptr<CShapeFigure>(new CShapeFigure(rect, CC_BORDER, CString(), 0, line, tileWidth,
                                                          tileHeight, picture, std::nullopt, CR_FIGURE_WHITE));
}

CShapeFigure::CShapeFigure(const RECT& rect, CreationCode creationCode, const CString& text, int textId,
                           COLORREF lineColor, double tileWidth, double tileHeight, const CString& picture,
                           std::optional<RECT> formatRect, COLORREF fillColor)
    : m_pFormatRect(formatRect),
      m_rect(rect),
      m_dTileWidth(tileWidth),
      m_dTileHeight(tileHeight),
      m_strPicture(picture),
      m_strText(text),
      m_nTextId(textId),
      m_nKind(KindFromCreationCode(creationCode))
{
    m_logpen.lopnStyle = PS_DASHDOT;
    m_logpen.lopnWidth = POINT{1, 0};
    m_logpen.lopnColor = lineColor;
    m_logbrush.lbStyle = BS_SOLID;
    m_logbrush.lbColor = fillColor;
}

void CShapeFigure::Draw(CDC& dc) const
{
    const CBrushSelection brush(dc, m_bBrush ? CBrush(m_logbrush) : CBrush::Null());
    const CPenSelection pen(dc, m_bPen ? CPen(m_logpen) : CPen::Null());
    switch (m_nKind) {
    case FK_LINE:
        dc.MoveTo(m_rect.left, m_rect.top);
        dc.LineTo(m_rect.right, m_rect.bottom);
        break;
    case FK_RECTANGLE:
        dc.Rectangle(m_rect);
        break;
    case FK_ELLIPSE:
        dc.Ellipse(m_rect);
        break;
    default:
        break;
    }
}
