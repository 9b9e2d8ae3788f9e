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

constexpr UINT kVCenter = 0x0004;     // DT_VCENTER
constexpr UINT kBottom = 0x0008;      // DT_BOTTOM
constexpr UINT kExpandTabs = 0x0040;  // DT_EXPANDTABS
constexpr UINT kNoPrefix = 0x0800;    // DT_NOPREFIX
constexpr BYTE kNonAntialiasedQuality = 3;

// One laid-out line: its text and, for mnemonic prefixes, the positions of
// the characters to underline.
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

QStringList Paragraphs(const QString& text, bool singleLine)
{
    if (singleLine) {
        QString flat = text;
        flat.replace(u'\r', u' ').replace(u'\n', u' ');
        return {flat};
    }
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return unified.split(u'\n');
}

// Breaks one paragraph into lines of at most `width` pixels. A word wider than
// a line stays whole unless `breakWords`, as an edit control breaks it.
QStringList BreakParagraph(const QString& paragraph, const QFont& font, qreal tabStop, int width, bool breakWords)
{
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(breakWords ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::WordWrap);
    if (tabStop > 0)
        option.setTabStopDistance(tabStop);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(width, 0));
        lines.push_back(paragraph.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines.push_back(QString());
    return lines;
}

QString TrimTrailingSpace(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1].isSpace())
        --n;
    return s.left(n);
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
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    const bool wrap = (format & DT_WORDBREAK) && !singleLine;
    const qreal tabStop = (format & kExpandTabs) ? 8.0 * fm.averageCharWidth() : 0.0;
    const int width = static_cast<int>(std::clamp<long long>(static_cast<long long>(rc.right) - rc.left, 0, 1 << 24));

    std::vector<TextLine> lines;
    for (const QString& paragraph : Paragraphs(text, singleLine)) {
        const QStringList pieces = wrap ? BreakParagraph(paragraph, font, tabStop, width, format & DT_EDITCONTROL)
                                        : QStringList{paragraph};
        for (const QString& piece : pieces) {
            const QString trimmed = wrap ? TrimTrailingSpace(piece) : piece;
            lines.push_back((format & kNoPrefix) ? TextLine{trimmed, {}} : StripPrefixes(trimmed));
        }
    }
    if (text.isEmpty())
        lines.clear();

    auto advance = [&](const QString& s) {
        if (tabStop <= 0 || !s.contains(u'\t'))
            return fm.horizontalAdvance(s);
        const QStringList parts = s.split(u'\t');
        qreal x = 0;  // tab stops every `tabStop` pixels
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                x = (std::floor(x / tabStop) + 1) * tabStop;
            x += fm.horizontalAdvance(parts[i]);
        }
        return static_cast<int>(std::ceil(x));
    };
    int widest = 0;
    for (const TextLine& line : lines)
        widest = std::max(widest, advance(line.text));
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

    long long y = rc.top;
    if (singleLine && (format & kVCenter))
        y = rc.top + (static_cast<long long>(rc.bottom) - rc.top - lineHeight) / 2;
    else if (singleLine && (format & kBottom))
        y = static_cast<long long>(rc.bottom) - lineHeight;

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
    if (tabStop > 0)
        option.setTabStopDistance(tabStop);
    for (const TextLine& line : lines) {
        const int lineWidth = advance(line.text);
        long long x = rc.left;
        if (format & DT_CENTER)
            x = rc.left + (static_cast<long long>(rc.right) - rc.left - lineWidth) / 2;
        else if (format & DT_RIGHT)
            x = static_cast<long long>(rc.right) - lineWidth;
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
