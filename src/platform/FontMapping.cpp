#include "platform/FontMapping.h"

#include "platform/Screen.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kDefaultPoints = 12;
constexpr int kDefaultDpi = 96;
// Sizes beyond this are not fonts a user asked for; they would only make the
// toolkit allocate huge glyph caches.
constexpr int kMaxPixelSize = 4000;
// The size at which the cell height of a face is measured to convert a cell
// height into an em height.
constexpr int kReferencePixelSize = 256;

int ClampedPixelSize(long long px)
{
    return static_cast<int>(std::clamp<long long>(px, 1, kMaxPixelSize));
}

QFont UnsizedFont(const LOGFONT& lf)
{
    QFont font;
    const QString face = FaceName(lf);
    if (!face.isEmpty())
        font.setFamily(face);
    const int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::min<int>(lf.lfWeight, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    return font;
}
}  // namespace

int LogHeightFromPoints(double points, int dpiY)
{
    if (!std::isfinite(points))
        return 0;
    return -static_cast<int>(std::lround(points * (dpiY > 0 ? dpiY : kDefaultDpi) / 72.0));
}

int LogFontPixelSize(const LOGFONT& lf)
{
    if (lf.lfHeight < 0)
        return ClampedPixelSize(-static_cast<long long>(lf.lfHeight));
    if (lf.lfHeight == 0)
        return MulDiv(kDefaultPoints, GetScreenDpiY(), 72);
    // A cell height: scale the face's cell-to-em ratio measured at a
    // reference size.
    QFont probe = UnsizedFont(lf);
    probe.setPixelSize(kReferencePixelSize);
    const qreal cell = QFontMetricsF(probe).height();
    if (cell <= 0)
        return ClampedPixelSize(lf.lfHeight);
    return ClampedPixelSize(std::llround(static_cast<double>(lf.lfHeight) * kReferencePixelSize / cell));
}

QFont QFontFromLogFont(const LOGFONT& lf)
{
    QFont font = UnsizedFont(lf);
    font.setPixelSize(LogFontPixelSize(lf));
    return font;
}

QFont PointFontFromLogFont(const LOGFONT& lf, int dpiY)
{
    QFont font = UnsizedFont(lf);
    const int dpi = dpiY > 0 ? dpiY : kDefaultDpi;
    font.setPointSizeF(LogFontPixelSize(lf) * 72.0 / dpi);
    return font;
}

LOGFONT LogFontFromQFont(const QFont& font, const LOGFONT& base, int dpiY)
{
    LOGFONT lf = base;
    SetFaceName(lf, font.family());
    if (font.pixelSize() > 0)
        lf.lfHeight = -font.pixelSize();
    else
        lf.lfHeight = LogHeightFromPoints(font.pointSizeF(), dpiY);
    lf.lfWidth = 0;
    lf.lfWeight = static_cast<int>(font.weight());
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    return lf;
}
