// A raster device context over a 32-bit surface that draws exactly as classic
// GDI does for the operations the program uses. The program depends on the
// exact pixels: drawing an outline twice in not-XOR mode restores every pixel,
// handles erase exactly and fills cover exactly the documented pixels.
//
// Coverage rules (all coordinates in surface pixels):
//  - Rectangle(l,t,r,b) and Ellipse(l,t,r,b) order their coordinates first;
//    the outline covers columns l..r-1 and rows t..b-1; the brush fills the
//    inside of the outline. A box with l == r or t == b draws nothing. The
//    same shape drawn twice in not-XOR mode restores every pixel.
//  - LineTo draws from the current position up to, not including, its end.
//  - FillRect and PatBlt are half-open, [l, r) x [t, b), and do not reorder.
//  - Styled pens restart their pattern at every call: PS_DASH 18 on 6 off,
//    PS_DOT 3/3, PS_DASHDOT 9 on 6 off 3 on 6 off, PS_DASHDOTDOT 9 3 3 3 3 3;
//    a Rectangle or Ellipse runs one pattern round its whole outline. In
//    OPAQUE background mode the gaps are drawn in the background colour
//    through the ROP2. Pens wider than 1 draw solid, with round caps and joins.
//  - The ROP2 applies per pixel to pen and brush output and to SetPixel
//    (copy: P, not-XOR: ~(P ^ D)); block copies, PatBlt and FillRect take
//    their raster operation as an argument instead.
//  - Ellipse fills GDI's elliptic region first, then draws the outline over
//    it; the outline and the region are GDI's own incremental ellipse. A box
//    less than 3 pixels wide or high draws a rectangle instead.
//  - StretchBlt samples as GDI does: each destination pixel takes the source
//    pixel whose centre it covers; when shrinking in the default BLACKONWHITE
//    mode, the source pixels that fall on one destination pixel are ANDed.
//    In HALFTONE mode (the one pictures are drawn in) a shrinking stretch
//    makes each destination pixel the mean of the source area it covers.
//  - Every primitive clips at the surface edges; any coordinates are safe.
//  - A clip rectangle (SetClipRect) limits the pixels drawing changes; inside
//    it every pixel comes out exactly as it would without the clip, so a part
//    of the surface can be redrawn alone. (The surface edges decide, as
//    without a clip, which source pixels a stretch reads.)
//
// Surface pixels are 0xFFRRGGBB (QImage::Format_RGB32); colours are COLORREFs.
#pragma once

#include "platform/WinTypes.h"

#include <QFont>
#include <QImage>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class CDamageRegion;
class QPainter;

// A pen: style, width (only 1 is drawn styled; wider pens draw solid) and colour.
class CPen {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) : m_style(style), m_width(width), m_color(color) {}
    explicit CPen(const LOGPEN& lp)
        : m_style(static_cast<int>(lp.lopnStyle)), m_width(lp.lopnWidth.x), m_color(lp.lopnColor) {}
    static CPen Null() { return CPen(PS_NULL, 1, 0); }
    static CPen Black() { return CPen(PS_SOLID, 1, 0); }  // the stock black pen

    int Style() const { return m_style; }
    int Width() const { return m_width; }
    COLORREF Color() const { return m_color; }
    friend bool operator==(const CPen&, const CPen&) = default;

private:
    int m_style = PS_SOLID;
    int m_width = 1;
    COLORREF m_color = 0;
};

// A brush: solid in a colour, or null (paints nothing).
class CBrush {
public:
    CBrush() = default;
    static CBrush Solid(COLORREF color) { return CBrush(false, color); }
    static CBrush White() { return CBrush(false, RGB(255, 255, 255)); }  // the stock white brush
    static CBrush Null() { return CBrush(true, 0); }                      // the stock null brush
    explicit CBrush(const LOGBRUSH& lb) : m_null(lb.lbStyle == BS_NULL), m_color(lb.lbColor) {}

    bool IsNull() const { return m_null; }
    COLORREF Color() const { return m_color; }
    friend bool operator==(const CBrush&, const CBrush&) = default;

private:
    CBrush(bool isNull, COLORREF color) : m_null(isNull), m_color(color) {}
    bool m_null = false;
    COLORREF m_color = RGB(255, 255, 255);
};

// A font made from a LOGFONT. The mapping to the toolkit's font: a negative
// lfHeight is the character height in pixels (the em size), a positive one the
// cell height (ascent + descent), 0 a default 12-point size; weight 0 means
// normal (400); italic, underline and strike-out are on when non-zero; the
// face name is resolved by fontconfig, so "Times New Roman" and "Arial" find
// their metric-compatible stand-ins; NONANTIALIASED_QUALITY turns text
// smoothing off. Width, escapement and character set are kept in the LOGFONT
// only.
class CFont {
public:
    CFont();
    explicit CFont(const LOGFONT& lf);
    const LOGFONT& GetLogFont() const { return m_logfont; }
    const QFont& GetQFont() const { return m_font; }

private:
    LOGFONT m_logfont{};
    QFont m_font;
};

// Stretch modes (SetStretchBltMode).
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

class CDC {
public:
    // Draws into `surface`, which must be QImage::Format_RGB32 and outlive the DC.
    explicit CDC(QImage& surface);
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    QImage& Surface() { return *m_surface; }
    const QImage& Surface() const { return *m_surface; }
    int Width() const;
    int Height() const;

    // State. Each setter returns the previous value.
    int SetROP2(int rop2);
    int GetROP2() const { return m_rop2; }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }
    // BLACKONWHITE (the default), WHITEONBLACK, COLORONCOLOR, HALFTONE (the
    // area average of platform/GdiBltArea.h where a side shrinks). Returns the
    // previous mode, or 0 for an unknown mode.
    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const { return m_stretchMode; }
    CPen SelectPen(const CPen& pen);
    CBrush SelectBrush(const CBrush& brush);
    CFont SelectFont(const CFont& font);
    const CPen& GetPen() const { return m_pen; }
    const CBrush& GetBrush() const { return m_brush; }
    const CFont& GetFont() const { return m_font; }
    POINT GetCurrentPosition() const { return m_pos; }

    // Clipping: only the pixels of [l, r) x [t, b) change while a clip
    // rectangle is set; null removes it.
    void SetClipRect(const RECT* rc);
    const std::optional<RECT>& GetClipRect() const { return m_clip; }

    // Damage recording: while a region is attached, every drawing call adds
    // to it a rectangle holding every pixel it may change (cut to the surface
    // and the clip). Returns the region attached before; null detaches.
    CDamageRegion* RecordDamage(CDamageRegion* region) { return std::exchange(m_damage, region); }
    // Adds [l, r) x [t, b) to the attached region, if any: for drawing that
    // writes the surface's pixels itself (pictures, ellipse fills).
    void NoteDrawn(long long l, long long t, long long r, long long b);

    // Lines and shapes: current pen, current brush, current ROP2.
    POINT MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int l, int t, int r, int b);
    void Rectangle(const RECT& rc) { Rectangle(rc.left, rc.top, rc.right, rc.bottom); }
    void Ellipse(int l, int t, int r, int b);
    void Ellipse(const RECT& rc) { Ellipse(rc.left, rc.top, rc.right, rc.bottom); }

    // Fills and copies (ROP2 not applied).
    void FillRect(const RECT& rc, const CBrush& brush);
    // PatBlt fills [x, x + w) x [y, y + h) with the current brush; a negative
    // size covers [x + w + 1, x + 1) instead, as GDI does. Raster operations
    // that read a source do nothing here.
    void PatBlt(int x, int y, int w, int h, DWORD rop = PATCOPY);
    void BitBlt(int x, int y, int w, int h, const CDC& src, int sx, int sy, DWORD rop = SRCCOPY);
    // Stretch of src's (sx, sy, sw, sh) onto (x, y, w, h), as a SRCCOPY
    // StretchBlt does in the stretch mode; negative sizes mirror (equal sizes copy). The
    // raster operations that combine source and destination without a pattern
    // (SRCCOPY, SRCAND, SRCPAINT, SRCINVERT, NOTSRCCOPY, ...) are supported;
    // the others do nothing. `src` may be this DC.
    void StretchBlt(int x, int y, int w, int h, const CDC& src, int sx, int sy, int sw, int sh,
                    DWORD rop = SRCCOPY);
    COLORREF SetPixel(int x, int y, COLORREF color);  // returns the colour set, or -1 off the surface
    COLORREF GetPixel(int x, int y) const;            // CLR_INVALID (0xFFFFFFFF) off the surface

    // Text in the selected font and text colour, drawn by the toolkit, a line
    // for each line of the text (ended at CR LF, LF or CR) from rc's top-left
    // corner. In OPAQUE background mode each line's box is first filled with
    // the background colour; in TRANSPARENT mode only the glyphs are drawn.
    // '&' marks the next character's underline unless DT_NOPREFIX. The text
    // is clipped to rc unless DT_NOCLIP; DT_CALCRECT only measures, setting
    // rc's right and bottom. Returns the height of the text drawn.
    int DrawText(const QString& text, RECT& rc, UINT format);
    SIZE GetTextExtent(const QString& text) const;
    // Text the caller lays out with the toolkit's own text layout: `paint`
    // draws through a painter on the surface, with the text colour as its
    // pen, and changes only [l, r) x [t, b) of `bounds` within the clip.
    // The ROP2 does not apply.
    void DrawTextLayout(const RECT& bounds, const std::function<void(QPainter&)>& paint);

private:
    QImage* m_surface;
    int m_rop2 = R2_COPYPEN;
    int m_bkMode = OPAQUE;
    COLORREF m_bkColor = RGB(255, 255, 255);
    COLORREF m_textColor = RGB(0, 0, 0);
    int m_stretchMode = BLACKONWHITE;
    CPen m_pen = CPen::Black();
    CBrush m_brush = CBrush::White();
    CFont m_font;
    POINT m_pos{};
    std::optional<RECT> m_clip;
    CDamageRegion* m_damage = nullptr;
};

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// A rectangle inside the region Ellipse(rc) fills with a brush when drawn
// with a 1-pixel pen: every pixel of it is painted by the brush or by the
// outline. Empty when the ellipse is too small or too large to bother.
RECT EllipseInteriorBox(const RECT& rc);

// A memory DC with a bitmap of its own: black until drawn on, as a fresh
// compatible bitmap is.
class CMemoryDC {
public:
    CMemoryDC(int width, int height);
    CDC& DC() { return *m_dc; }
    QImage& Image() { return m_image; }

private:
    QImage m_image;
    std::unique_ptr<CDC> m_dc;
};

// Scoped selections: select into a DC for one drawing step, restore the
// previous object when the scope ends.
class CPenSelection {
public:
    CPenSelection(CDC& dc, const CPen& pen) : m_dc(dc), m_old(dc.SelectPen(pen)) {}
    ~CPenSelection() { m_dc.SelectPen(m_old); }
    CPenSelection(const CPenSelection&) = delete;
    CPenSelection& operator=(const CPenSelection&) = delete;

private:
    CDC& m_dc;
    CPen m_old;
};

class CBrushSelection {
public:
    CBrushSelection(CDC& dc, const CBrush& brush) : m_dc(dc), m_old(dc.SelectBrush(brush)) {}
    ~CBrushSelection() { m_dc.SelectBrush(m_old); }
    CBrushSelection(const CBrushSelection&) = delete;
    CBrushSelection& operator=(const CBrushSelection&) = delete;

private:
    CDC& m_dc;
    CBrush m_old;
};

class CFontSelection {
public:
    CFontSelection(CDC& dc, const CFont& font) : m_dc(dc), m_old(dc.SelectFont(font)) {}
    ~CFontSelection() { m_dc.SelectFont(m_old); }
    CFontSelection(const CFontSelection&) = delete;
    CFontSelection& operator=(const CFontSelection&) = delete;

private:
    CDC& m_dc;
    CFont m_old;
};
