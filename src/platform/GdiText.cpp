// Fonts and text: CFont made from a LOGFONT through the program's one font
// mapping, DrawText laid out by the toolkit's text layout, GetTextExtent.
#include "platform/Gdi.h"

#include "platform/FontMapping.h"
#include "platform/GdiRaster.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

constexpr BYTE kNonAntialiasedQuality = 3;

// One line of text and, for mnemonic prefixes, the positions of the
// characters to underline.
struct TextLine {
    QString text;
    std::vector<int> underlined;
};

// Removes the '&' prefixes: "&x" underlines x, "&&" is a plain '&'.
TextLine StripPrefixes(const QString& text)
{
    TextLine line;
    line.text.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&')
                line.underlined.push_back(static_cast<int>(line.text.size()));
        }
        line.text += text[i];
    }
    return line;
}

}  // namespace

CFont::CFont() : CFont(LOGFONT{}) {}

CFont::CFont(const LOGFONT& lf) : m_logfont(lf), m_font(QFontFromLogFont(lf))
{
    if (lf.lfQuality == kNonAntialiasedQuality)
        m_font.setStyleStrategy(QFont::NoAntialias);
}

SIZE CDC::GetTextExtent(const QString& text) const
{
    const QFontMetrics fm(m_font.GetQFont());
    return SIZE{fm.horizontalAdvance(text), fm.height()};
}

int CDC::DrawText(const QString& text, RECT& rc, UINT format)
{
    const QFont& font = m_font.GetQFont();
    const QFontMetrics fm(font);
    const int lineHeight = fm.height();

    // One line of the text a line, ended at CR LF, LF or CR.
    std::vector<TextLine> lines;
    if (!text.isEmpty()) {
        QString unified = text;
        unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        for (const QString& line : unified.split(u'\n'))
            lines.push_back((format & DT_NOPREFIX) ? TextLine{line, {}} : StripPrefixes(line));
    }
    int widest = 0;
    for (const TextLine& line : lines)
        widest = std::max(widest, fm.horizontalAdvance(line.text));
    const int height = static_cast<int>(lines.size()) * lineHeight;

    if (format & DT_CALCRECT) {
        rc.right = static_cast<int>(std::min<long long>(static_cast<long long>(rc.left) + widest, INT_MAX));
        rc.bottom = static_cast<int>(std::min<long long>(static_cast<long long>(rc.top) + height, INT_MAX));
        return height;
    }
    if (lines.empty() || m_surface->isNull())
        return height;
    if (m_clip && (m_clip->left >= m_clip->right || m_clip->top >= m_clip->bottom))
        return height;  // clipped away

    const bool clip = !(format & DT_NOCLIP);
    const QRect clipRect(QPoint(rc.left, rc.top), QPoint(rc.right - 1, rc.bottom - 1));
    const gdi::Raster raster(*this);
    const gdi::RopMask background = gdi::MakeRop(R2_COPYPEN, gdi::ColorBits(m_bkColor));
    if (clip)
        NoteDrawn(rc.left, rc.top, rc.right, rc.bottom);
    else
        NoteDrawn(0, 0, m_surface->width(), m_surface->height());  // glyphs may reach anywhere
    QPainter painter(m_surface);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(gdi::ColorBits(m_textColor)));
    if (clip)
        painter.setClipRect(clipRect);
    if (m_clip) {
        const QRect dcClip(QPoint(m_clip->left, m_clip->top), QPoint(m_clip->right - 1, m_clip->bottom - 1));
        painter.setClipRect(dcClip, clip ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    const long long x = rc.left;
    long long y = rc.top;
    for (const TextLine& line : lines) {
        const int lineWidth = fm.horizontalAdvance(line.text);
        if (m_bkMode == OPAQUE) {
            long long l = x, t = y, r = x + lineWidth, b = y + lineHeight;
            if (clip) {
                l = std::max<long long>(l, rc.left);
                t = std::max<long long>(t, rc.top);
                r = std::min<long long>(r, rc.right);
                b = std::min<long long>(b, rc.bottom);
            }
            raster.FillRect(l, t, r, b, background);
        }
        const QRectF box(static_cast<qreal>(x), static_cast<qreal>(y), lineWidth + 1.0, lineHeight);
        painter.drawText(box, line.text, option);
        for (int index : line.underlined) {
            const int from = fm.horizontalAdvance(line.text.left(index));
            const int to = fm.horizontalAdvance(line.text.left(index + 1));
            const int underlineY = static_cast<int>(y) + fm.ascent() + 1;
            painter.fillRect(QRect(static_cast<int>(x) + from, underlineY, std::max(to - from, 1), 1), painter.pen().color());
        }
        y += lineHeight;
    }
    return height;
}

void CDC::DrawTextLayout(const RECT& bounds, const std::function<void(QPainter&)>& paint)
{
    long long l = bounds.left, t = bounds.top, r = bounds.right, b = bounds.bottom;
    if (m_clip) {
        l = std::max<long long>(l, m_clip->left);
        t = std::max<long long>(t, m_clip->top);
        r = std::min<long long>(r, m_clip->right);
        b = std::min<long long>(b, m_clip->bottom);
    }
    l = std::max<long long>(l, 0);
    t = std::max<long long>(t, 0);
    r = std::min<long long>(r, m_surface->width());
    b = std::min<long long>(b, m_surface->height());
    if (l >= r || t >= b)
        return;
    NoteDrawn(l, t, r, b);
    QPainter painter(m_surface);
    painter.setClipRect(QRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l), static_cast<int>(b - t)));
    painter.setPen(QColor::fromRgb(gdi::ColorBits(m_textColor)));
    paint(painter);
}
