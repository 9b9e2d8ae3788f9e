// Picture loading (guarded against bad files, cached) and the GDI+ stand-ins
// that draw pictures and fill ellipses.
#include "platform/Picture.h"

#include "platform/GdiBltArea.h"
#include "platform/GdiRaster.h"

#include <QColorSpace>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <list>
#include <mutex>

namespace {

// Pictures larger than this are refused before they are decoded.
constexpr int kMaxSide = 16384;
constexpr long long kMaxPixels = 100LL * 1000 * 1000;
// What a decoder may allocate at most (the largest accepted picture at 4
// bytes a pixel, with room for the decoder's own buffers).
constexpr int kAllocationLimitMb = 512;
// The cache keeps at most this many pictures and this many pixel bytes.
constexpr std::size_t kCacheEntries = 256;
constexpr long long kCacheBytes = 256LL * 1024 * 1024;

bool AbsurdSize(long long w, long long h)
{
    return w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || w * h > kMaxPixels;
}

// A JPEG whose end-of-image marker is missing was cut short; the decoder
// would fill the missing part with grey rather than fail.
bool JpegIsComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kTail = 4096;
    const qint64 size = file.size();
    file.seek(std::max<qint64>(0, size - kTail));
    const QByteArray tail = file.read(kTail);
    return tail.contains(QByteArray("\xFF\xD9", 2));
}

// An uncompressed BMP shorter than its header says was cut short; the
// decoder would leave the missing rows blank rather than fail.
bool BmpIsComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray h = file.read(34);
    if (h.size() < 26 || !h.startsWith("BM"))
        return true;  // not ours to judge
    auto u16 = [&](int at) { return static_cast<long long>(static_cast<uchar>(h[at]) | static_cast<uchar>(h[at + 1]) << 8); };
    auto u32 = [&](int at) { return u16(at) | u16(at + 2) << 16; };
    const long long offset = u32(10), infoSize = u32(14);
    long long width, height, bits, compression = 0;
    if (infoSize == 12) {  // the old core header
        width = u16(18);
        height = u16(20);
        bits = u16(24);
    } else {
        if (h.size() < 34)
            return false;
        width = static_cast<std::int32_t>(u32(18));
        height = static_cast<std::int32_t>(u32(22));
        bits = u16(28);
        compression = u32(30);
    }
    if (compression != 0 && compression != 3 && compression != 6)
        return true;  // run-length data has no fixed size
    const long long stride = (std::llabs(width) * bits + 31) / 32 * 4;
    return file.size() >= offset + stride * std::llabs(height);
}

// A GIF whose blocks stop before the trailer was cut short; the decoder
// would show the part it got.
bool GifIsComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    const auto byte = [&](qsizetype at) { return at < data.size() ? static_cast<uchar>(data[at]) : -1; };
    qsizetype pos = 13;  // signature and logical screen descriptor
    if (data.size() < pos)
        return false;
    if (byte(10) & 0x80)
        pos += 3 * (2 << (byte(10) & 7));  // the global colour table
    auto skipSubBlocks = [&] {
        for (int n; (n = byte(pos)) > 0;)
            pos += n + 1;
        if (byte(pos) < 0)
            return false;
        ++pos;  // the terminating empty block
        return true;
    };
    for (;;) {
        switch (byte(pos)) {
        case 0x3B:  // trailer
            return true;
        case 0x21:  // extension: label, then data blocks
            pos += 2;
            if (!skipSubBlocks())
                return false;
            break;
        case 0x2C:  // image: descriptor, local colour table, code size, data blocks
            if (byte(pos + 9) < 0)
                return false;
            if (byte(pos + 9) & 0x80)
                pos += 3 * (2 << (byte(pos + 9) & 7));
            pos += 11;
            if (!skipSubBlocks())
                return false;
            break;
        default:
            return false;
        }
    }
}

// An uncompressed TGA (the only kind the decoder reads) shorter than its
// header says was cut short. The decoder would not fail: it reads such a file
// byte by byte up to the size it announces, which takes minutes for a file of
// a few bytes announcing a large picture, and shows the missing part black.
bool TgaIsComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray h = file.read(18);
    if (h.size() < 18)
        return false;
    auto byte = [&](int at) { return static_cast<long long>(static_cast<uchar>(h[at])); };
    if (byte(2) != 2)
        return true;  // not uncompressed true colour: not ours to judge
    const long long width = byte(12) | byte(13) << 8, height = byte(14) | byte(15) << 8;
    const long long pixelBytes = (byte(16) + 7) / 8;
    // The header, the image id, the pixels and the 26-byte footer the decoder
    // insists on (a colour map, if any, would come before the pixels too;
    // leaving it out keeps this a lower bound).
    constexpr long long kFooter = 26;
    return file.size() >= 18 + byte(0) + width * height * pixelBytes + kFooter;
}

struct CacheEntry {
    QString path;
    qint64 size = 0;
    qint64 modified = 0;
    std::shared_ptr<const CPicture> picture;
};

struct PictureCache {
    std::mutex mutex;
    std::list<CacheEntry> entries;  // most recently used first
    long long bytes = 0;
};

PictureCache& Cache()
{
    static PictureCache cache;
    return cache;
}

long long PictureBytes(const CPicture& picture) { return picture.Image().sizeInBytes(); }

std::shared_ptr<const CPicture> Decode(const QString& path)
{
    static std::once_flag limitOnce;
    std::call_once(limitOnce, [] { QImageReader::setAllocationLimit(kAllocationLimitMb); });

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);  // GDI+ shows the pixels as stored
    if (!reader.canRead())
        return nullptr;
    const QSize announced = reader.size();
    if (announced.isValid() && AbsurdSize(announced.width(), announced.height()))
        return nullptr;
    const QByteArray format = reader.format();
    // Judged before decoding: decoding a short TGA is what takes the time.
    if (format == "tga" && !TgaIsComplete(path))
        return nullptr;
    QImage image;
    if (!reader.read(&image) || image.isNull() || AbsurdSize(image.width(), image.height()))
        return nullptr;
    if ((format == "jpeg" || format == "jpg") && !JpegIsComplete(path))
        return nullptr;
    if (format == "bmp" && !BmpIsComplete(path))
        return nullptr;
    if (format == "gif" && !GifIsComplete(path))
        return nullptr;
    // No colour management: the stored values are taken as they are.
    image.setColorSpace(QColorSpace());
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return nullptr;
    return std::make_shared<const CPicture>(std::move(image));
}

// Source over destination with a premultiplied source pixel.
inline std::uint32_t Over(std::uint32_t s, std::uint32_t d)
{
    const std::uint32_t a = s >> 24;
    if (a == 255)
        return s | 0xFF000000u;
    if (a == 0)
        return d;
    const std::uint32_t inv = 255 - a;
    auto channel = [&](int shift) {
        const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        return std::min<std::uint32_t>(255, sc + (dc * inv + 127) / 255) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

}  // namespace

CPicture::CPicture(QImage image) : m_image(std::move(image))
{
    // The drawing code reads premultiplied pixels.
    if (!m_image.isNull() && m_image.format() != QImage::Format_ARGB32_Premultiplied)
        m_image.convertTo(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < m_image.height() && m_opaque; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(m_image.constScanLine(y));
        std::uint32_t alpha = 0xFF000000u;
        for (int x = 0; x < m_image.width(); ++x)
            alpha &= row[x];
        m_opaque = alpha == 0xFF000000u;
    }
}

const QImage& CPicture::OnWhite() const
{
    std::call_once(m_onWhiteOnce, [this] {
        const int w = GetWidth(), h = GetHeight();
        if (w <= 0 || h <= 0)
            return;
        CMemoryDC surface(w, h);
        surface.DC().FillRect(RECT{0, 0, w, h}, CBrush::White());
        DrawPicture(surface.DC(), *this, 0, 0);
        m_onWhite = surface.Image();
    });
    return m_onWhite;
}

QImage CPicture::StretchedOnWhite(int w, int h, int stretchMode) const
{
    constexpr std::size_t kKept = 8;
    constexpr long long kKeptBytes = 64LL * 1024 * 1024;
    if (w == 0 || h == 0)
        return QImage();
    const long long aw = std::llabs(static_cast<long long>(w)), ah = std::llabs(static_cast<long long>(h));
    const long long bytes = aw * ah * 4;
    const std::lock_guard<std::mutex> lock(m_stretchMutex);
    for (const Stretch& s : m_stretches)
        if (s.w == w && s.h == h && s.mode == stretchMode)
            return s.image;
    QImage source = OnWhite();
    if (source.isNull() || aw > std::numeric_limits<int>::max() || ah > std::numeric_limits<int>::max())
        return QImage();
    const CDC from(source);
    CMemoryDC to(static_cast<int>(aw), static_cast<int>(ah));
    to.DC().SetStretchBltMode(stretchMode);
    // A mirrored stretch starts at the far edge and runs back, as on the canvas.
    to.DC().StretchBlt(w < 0 ? static_cast<int>(aw - 1) : 0, h < 0 ? static_cast<int>(ah - 1) : 0, w, h, from, 0, 0,
                       GetWidth(), GetHeight(), SRCCOPY);
    if (bytes > kKeptBytes)
        return to.Image();
    long long kept = bytes;
    for (const Stretch& s : m_stretches)
        kept += s.image.sizeInBytes();
    while (!m_stretches.empty() && (m_stretches.size() == kKept || kept > kKeptBytes)) {
        kept -= m_stretches.front().image.sizeInBytes();
        m_stretches.erase(m_stretches.begin());
    }
    m_stretches.push_back(Stretch{w, h, stretchMode, to.Image()});
    return m_stretches.back().image;
}

std::shared_ptr<const CPicture> CPicture::Load(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || !info.isReadable())
        return nullptr;
    const QString key = info.absoluteFilePath();
    const qint64 size = info.size();
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    PictureCache& cache = Cache();
    {
        const std::lock_guard lock(cache.mutex);
        for (auto it = cache.entries.begin(); it != cache.entries.end(); ++it) {
            if (it->path != key)
                continue;
            if (it->size == size && it->modified == modified) {
                cache.entries.splice(cache.entries.begin(), cache.entries, it);
                return it->picture;
            }
            cache.bytes -= PictureBytes(*it->picture);  // the file changed
            cache.entries.erase(it);
            break;
        }
    }
    std::shared_ptr<const CPicture> picture = Decode(key);
    if (!picture)
        return nullptr;
    const long long bytes = PictureBytes(*picture);
    if (bytes > kCacheBytes)
        return picture;  // too big to keep
    const std::lock_guard lock(cache.mutex);
    cache.entries.push_front(CacheEntry{key, size, modified, picture});
    cache.bytes += bytes;
    while (cache.entries.size() > kCacheEntries || cache.bytes > kCacheBytes) {
        cache.bytes -= PictureBytes(*cache.entries.back().picture);
        cache.entries.pop_back();
    }
    return picture;
}

void CPicture::ClearCache()
{
    PictureCache& cache = Cache();
    const std::lock_guard lock(cache.mutex);
    cache.entries.clear();
    cache.bytes = 0;
}

void DrawPicture(CDC& dc, const CPicture& picture, int x, int y)
{
    const QImage& image = picture.Image();
    const gdi::Raster raster(dc);
    dc.NoteDrawn(x, y, static_cast<long long>(x) + image.width(), static_cast<long long>(y) + image.height());
    long long l = x, r = static_cast<long long>(x) + image.width();
    long long t = y, b = static_cast<long long>(y) + image.height();
    raster.ClipColumns(l, r);
    raster.ClipRows(t, b);
    for (long long row = t; row < b; ++row) {
        const auto* s = reinterpret_cast<const std::uint32_t*>(image.constScanLine(static_cast<int>(row - y)));
        std::uint32_t* d = raster.Row(static_cast<int>(row));
        if (picture.IsOpaque() && l < r) {  // over anything, an opaque pixel is itself
            std::copy(s + (l - x), s + (r - x), d + l);
            continue;
        }
        for (long long col = l; col < r; ++col)
            d[col] = Over(s[col - x], d[col]);
    }
}

void DrawPictureStretched(CDC& dc, const CPicture& picture, int x, int y, int w, int h)
{
    const QImage& image = picture.Image();
    if (w == 0 || h == 0 || image.isNull())
        return;
    const gdi::Raster raster(dc);
    const long long dw = std::llabs(static_cast<long long>(w)), dh = std::llabs(static_cast<long long>(h));
    // Mirrored, the steps run leftwards (upwards) from x (y) itself.
    dc.NoteDrawn(w > 0 ? x : x - dw + 1, h > 0 ? y : y - dh + 1, w > 0 ? x + dw : x + 1LL, h > 0 ? y + dh : y + 1LL);
    const long long sw = image.width(), sh = image.height();
    // Destination step k sits at x + k (or x - k when mirrored) and samples the
    // source pixel under its centre.
    // The steps that land in [first, limit).
    auto range = [](long long start, long long len, int dir, long long first, long long limit, long long& lo,
                    long long& hi) {
        lo = 0;
        hi = len;
        if (dir > 0) {
            lo = std::max(lo, first - start);
            hi = std::min(hi, limit - start);
        } else {
            lo = std::max(lo, start - limit + 1);
            hi = std::min(hi, start - first + 1);
        }
    };
    const int dx = w > 0 ? 1 : -1, dy = h > 0 ? 1 : -1;
    long long kx0, kx1, ky0, ky1;
    range(x, dw, dx, raster.ClipLeft(), raster.ClipRight(), kx0, kx1);
    range(y, dh, dy, raster.ClipTop(), raster.ClipBottom(), ky0, ky1);
    if (kx0 >= kx1 || ky0 >= ky1)
        return;
    if (dw < sw || dh < sh) {
        // Shrinking, each pixel takes the mean of the picture area it covers
        // (premultiplied, so transparency averages too); a side that grows
        // still takes the pixel under each centre.
        constexpr int kUnderTheCentre = 0;
        const gdi::AreaStretch area(image, gdi::StretchSide{0, sw, 1, dw, kUnderTheCentre},
                                    gdi::StretchSide{0, sh, 1, dh, kUnderTheCentre}, kx0, kx1);
        std::vector<std::uint32_t> values(static_cast<std::size_t>(kx1 - kx0));
        for (long long ky = ky0; ky < ky1; ++ky) {
            if (!area.Row(ky, values.data()))
                continue;
            std::uint32_t* d = raster.Row(static_cast<int>(y + dy * ky));
            for (std::size_t i = 0; i < values.size(); ++i) {
                std::uint32_t& p = d[x + dx * (kx0 + static_cast<long long>(i))];
                p = Over(values[i], p);
            }
        }
        return;
    }
    for (long long ky = ky0; ky < ky1; ++ky) {
        const long long sy = ((2 * ky + 1) * sh) / (2 * dh);
        const auto* s = reinterpret_cast<const std::uint32_t*>(image.constScanLine(static_cast<int>(sy)));
        std::uint32_t* d = raster.Row(static_cast<int>(y + dy * ky));
        for (long long kx = kx0; kx < kx1; ++kx) {
            const long long sx = ((2 * kx + 1) * sw) / (2 * dw);
            std::uint32_t& p = d[x + dx * kx];
            p = Over(s[sx], p);
        }
    }
}

void FillEllipseOpaque(CDC& dc, COLORREF color, int x, int y, int w, int h)
{
    FillEllipseArgb(dc, ColorToArgb(color), x, y, w, h);
}

void FillEllipseArgb(CDC& dc, std::uint32_t argb, int x, int y, int w, int h)
{
    const std::uint32_t alpha = argb >> 24;
    if (w <= 0 || h <= 0 || alpha == 0)
        return;
    __extension__ using Wide = unsigned __int128;
    const gdi::Raster raster(dc);
    dc.NoteDrawn(x, y, static_cast<long long>(x) + w, static_cast<long long>(y) + h);
    const long long W = w, H = h;
    // In doubled coordinates from the centre, pixel (px, py) has its centre at
    // u = 2 px + 1 - 2 x - w, v = 2 py + 1 - 2 y - h, and lies inside when
    // u^2 h^2 + v^2 w^2 <= w^2 h^2.
    const Wide ww = static_cast<Wide>(W * W), hh = static_cast<Wide>(H * H);
    const Wide whole = ww * hh;
    long long row0 = y, row1 = static_cast<long long>(y) + h;
    raster.ClipRows(row0, row1);
    const std::uint32_t premul = ((((argb >> 16) & 0xFF) * alpha + 127) / 255) << 16 |
                                 ((((argb >> 8) & 0xFF) * alpha + 127) / 255) << 8 | (((argb & 0xFF) * alpha + 127) / 255);
    const std::uint32_t source = (alpha << 24) | premul;
    if (row0 >= row1)
        return;
    // Rows with the same distance |v| from the centre cover the same columns,
    // and the half-width u shrinks as |v| grows. The visible rows are taken
    // by growing |v| (each |v| is one row or a pair mirrored about the
    // centre), so u is found once by a square root and then only stepped down.
    const long long c = 2 * static_cast<long long>(y) + H;  // v = 2 py + 1 - c
    const long long vFirst = 2 * row0 + 1 - c, vLast = 2 * (row1 - 1) + 1 - c;
    const long long vMin = (vFirst <= 0 && vLast >= 0) ? ((c + 1) % 2 == 0 ? 0 : 1) : std::min(std::llabs(vFirst), std::llabs(vLast));
    const long long vMax = std::max(std::llabs(vFirst), std::llabs(vLast));
    long long u = -1;
    bool first = true;
    for (long long av = vMin; av <= vMax; av += 2) {
        const Wide vv = static_cast<Wide>(av) * static_cast<Wide>(av);
        if (vv * ww > whole)
            break;  // beyond the ellipse's top and bottom: so is every row further out
        const Wide room = whole - vv * ww;  // u^2 h^2 may not exceed this
        auto fits = [&](long long t) { return static_cast<Wide>(t) * static_cast<Wide>(t) * hh <= room; };
        // A few steps down from the last row's half-width; where the edge
        // falls steeply (near the top and bottom), a fresh square root.
        int steps = 0;
        while (!first && u >= 0 && !fits(u) && steps < 8) {
            --u;
            ++steps;
        }
        if (first || (u >= 0 && !fits(u))) {
            u = static_cast<long long>(std::floor(W * std::sqrt(std::max(0.0, 1.0 - static_cast<double>(av) * av / (static_cast<double>(H) * H)))));
            while (fits(u + 1))
                ++u;
            while (u >= 0 && !fits(u))
                --u;
            first = false;
        }
        long long half = u;
        if (((half - (1 - W)) % 2 + 2) % 2 != 0)  // the half-width has the parity of 1 - w
            --half;
        if (half < 0)
            break;
        const long long left = (-half - 1 + 2 * static_cast<long long>(x) + W) / 2;
        const long long right = (half - 1 + 2 * static_cast<long long>(x) + W) / 2 + 1;
        long long l = left, r = right;
        raster.ClipColumns(l, r);
        if (l >= r)
            continue;
        const long long below = (av + c - 1) / 2, above = (c - 1 - av) / 2;  // v = +av and -av
        const long long rows[2] = {above, below};
        for (int i = 0; i < (below == above ? 1 : 2); ++i) {
            const long long row = rows[i];
            if (row < row0 || row >= row1)
                continue;
            std::uint32_t* d = raster.Row(static_cast<int>(row));
            if (alpha == 255) {
                // An opaque row is a plain fill: the wide stores of the raster code.
                gdi::ApplyRop(d + l, static_cast<std::size_t>(r - l), gdi::RopMask{0xFF000000u, argb & 0x00FFFFFFu});
                continue;
            }
            for (long long px = l; px < r; ++px)
                d[px] = Over(source, d[px]);
        }
    }
}
