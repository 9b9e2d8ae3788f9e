// The bitmap file writer: layout arithmetic, one row encoder per depth, the
// fixed palettes with their nearest-colour mapping, and the all-or-nothing
// write to disk.
#include "files/BitmapFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;

// The row encoders only know these; the layout accepts any planes * bits.
bool IsWritableDepth(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

int ClassBitsFor(long long bits)
{
    if (bits <= 1)
        return 1;
    if (bits <= 4)
        return 4;
    if (bits <= 8)
        return 8;
    if (bits <= 16)
        return 16;
    if (bits <= 24)
        return 24;
    return 32;
}

int Red(QRgb p) { return static_cast<int>((p >> 16) & 0xFF); }
int Green(QRgb p) { return static_cast<int>((p >> 8) & 0xFF); }
int Blue(QRgb p) { return static_cast<int>(p & 0xFF); }

int DistanceSquared(QRgb a, QRgb b)
{
    const int dr = Red(a) - Red(b), dg = Green(a) - Green(b), db = Blue(a) - Blue(b);
    return dr * dr + dg * dg + db * db;
}

// --- Palettes --------------------------------------------------------------

constexpr std::array<QRgb, 2> kMonoPalette = {0x000000, 0xFFFFFF};

constexpr std::array<QRgb, 16> kVgaPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

constexpr int kCubeStep = 51;  // 255 / 5: six levels a channel
constexpr int kCubeEntries = 216;
constexpr int kGreys = 40;

// Grey i (1..kGreys): 255 i / 41 rounded. 41 is prime, so no grey falls on a
// cube level and all 256 entries differ.
constexpr int GreyLevel(int i) { return (255 * i + (kGreys + 1) / 2) / (kGreys + 1); }

constexpr std::array<QRgb, 256> MakeCubePalette()
{
    std::array<QRgb, 256> palette{};
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette[static_cast<std::size_t>(36 * r + 6 * g + b)] =
                    static_cast<QRgb>((r * kCubeStep) << 16 | (g * kCubeStep) << 8 | (b * kCubeStep));
    for (int i = 1; i <= kGreys; ++i) {
        const auto level = static_cast<QRgb>(GreyLevel(i));
        palette[static_cast<std::size_t>(kCubeEntries - 1 + i)] = level << 16 | level << 8 | level;
    }
    return palette;
}
constexpr std::array<QRgb, 256> kCubePalette = MakeCubePalette();

int NearestMono(QRgb p)
{
    // Nearer to white than black exactly when r + g + b > 382.5.
    return Red(p) + Green(p) + Blue(p) > 382 ? 1 : 0;
}

int NearestVga(QRgb p)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < static_cast<int>(kVgaPalette.size()); ++i) {
        const int d = DistanceSquared(p, kVgaPalette[static_cast<std::size_t>(i)]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

int NearestCube(QRgb p)
{
    // The cube's nearest entry is each channel rounded to its nearest level
    // (the distance is a sum over channels); 51 is odd, so no channel ties.
    auto level = [](int c) { return (c + kCubeStep / 2) / kCubeStep; };
    const int cube = 36 * level(Red(p)) + 6 * level(Green(p)) + level(Blue(p));
    // The nearest grey is the one nearest the channels' mean, so only the
    // two greys around the mean can win.
    const int sum = Red(p) + Green(p) + Blue(p);
    const int below = std::clamp(sum * (kGreys + 1) / (3 * 255), 1, kGreys);
    int grey = below;
    if (below < kGreys && DistanceSquared(p, kCubePalette[static_cast<std::size_t>(kCubeEntries + below)]) <
                              DistanceSquared(p, kCubePalette[static_cast<std::size_t>(kCubeEntries - 1 + below)]))
        grey = below + 1;
    const int greyIndex = kCubeEntries - 1 + grey;
    return DistanceSquared(p, kCubePalette[static_cast<std::size_t>(greyIndex)]) <
                   DistanceSquared(p, kCubePalette[static_cast<std::size_t>(cube)])
               ? greyIndex
               : cube;
}

// --- Row encoders ----------------------------------------------------------
// Each writes the (width * bits + 7) / 8 bytes of one row's `width` pixels
// from `src` to `dst`; the caller clears the padding after them.

void EncodeRow32(const QRgb* src, int width, uchar* dst)
{
    // The reserved byte is cleared; the rest is the surface's own
    // little-endian B, G, R.
    for (int x = 0; x < width; ++x)
        qToLittleEndian<quint32>(src[x] & 0x00FFFFFFu, dst + 4 * x);
}

void EncodeRow24(const QRgb* src, int width, uchar* dst)
{
    for (int x = 0; x < width; ++x) {
        dst[3 * x] = static_cast<uchar>(Blue(src[x]));
        dst[3 * x + 1] = static_cast<uchar>(Green(src[x]));
        dst[3 * x + 2] = static_cast<uchar>(Red(src[x]));
    }
}

void EncodeRow16(const QRgb* src, int width, uchar* dst)
{
    for (int x = 0; x < width; ++x) {
        const auto v = static_cast<quint16>((Red(src[x]) >> 3) << 10 | (Green(src[x]) >> 3) << 5 | (Blue(src[x]) >> 3));
        qToLittleEndian<quint16>(v, dst + 2 * x);
    }
}

// 8, 4 or 1 bits of palette index a pixel, the leftmost pixel in the most
// significant bits of its byte; the unused low bits of a last, partly filled
// byte are zero.
template <int Bits, int (*Nearest)(QRgb)>
void EncodeIndexedRow(const QRgb* src, int width, uchar* dst)
{
    constexpr int perByte = 8 / Bits;
    // Drawings are mostly long runs of one colour: remember the last answer
    // (the start value, with its top byte set, matches no masked colour).
    QRgb lastColour = 0xFF000000u;
    int lastIndex = 0;
    unsigned byte = 0;
    for (int x = 0; x < width; ++x) {
        const QRgb colour = src[x] & 0x00FFFFFFu;
        if (colour != lastColour) {
            lastColour = colour;
            lastIndex = Nearest(colour);
        }
        byte = byte << Bits | static_cast<unsigned>(lastIndex);
        if (x % perByte == perByte - 1) {
            dst[x / perByte] = static_cast<uchar>(byte);
            byte = 0;
        }
    }
    if (width % perByte != 0)
        dst[width / perByte] = static_cast<uchar>(byte << (Bits * (perByte - width % perByte)));
}

template <std::size_t N>
void WriteTable(const std::array<QRgb, N>& palette, uchar* table)
{
    for (std::size_t i = 0; i < N; ++i) {
        table[4 * i] = static_cast<uchar>(Blue(palette[i]));
        table[4 * i + 1] = static_cast<uchar>(Green(palette[i]));
        table[4 * i + 2] = static_cast<uchar>(Red(palette[i]));
        table[4 * i + 3] = 0;
    }
}

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

// The toolkit's reason for a failed write or, where it has only its
// placeholder ("Unknown error", as when the finished file cannot be given
// its name), the system's.
QString WriteProblem(const QFileDevice& file, int systemError)
{
    QString reason = file.errorString();
    if (reason.isEmpty() || reason == QFile().errorString())
        reason = systemError != 0 ? qt_error_string(systemError) : QStringLiteral("the reason is unknown");
    return QStringLiteral("The file could not be written (%1).").arg(reason);
}

// Why the folder meant to hold `path` cannot, or an empty string when it is a
// folder: the nearest part of the path that exists tells which.
QString FolderProblem(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir())
        return QString();
    QString existing = folder;
    while (!QFileInfo::exists(existing)) {
        const QString up = QFileInfo(existing).absolutePath();
        if (up == existing)
            break;
        existing = up;
    }
    if (QFileInfo::exists(existing) && !QFileInfo(existing).isDir())
        return QStringLiteral("\"%1\" is a file, not a folder.").arg(Native(existing));
    return QStringLiteral("The folder \"%1\" does not exist.").arg(Native(folder));
}

}  // namespace

BitmapLayout BitmapLayoutFor(int width, int height, int bitsPerPixel, int planes)
{
    const long long bits = static_cast<long long>(bitsPerPixel) * planes;
    if (width <= 0 || height <= 0 || bits < 1)
        return {};
    BitmapLayout layout;
    layout.classBits = ClassBitsFor(bits);
    layout.tableEntries = layout.classBits < 24 ? 1 << layout.classBits : 0;
    // In 64 bits: a row is at most ((2^31 - 1) * 32 + 31) / 32 * 4 < 2^34 bytes.
    const long long rowBytes = (static_cast<long long>(width) * layout.classBits + 31) / 32 * 4;
    const long long offBits = kFileHeaderBytes + kInfoHeaderBytes + 4LL * layout.tableEntries;
    constexpr long long kMaxFile = std::numeric_limits<std::uint32_t>::max();
    // Dividing first keeps rowBytes * height from overflowing in turn.
    if (rowBytes > std::numeric_limits<int>::max() || rowBytes > (kMaxFile - offBits) / height)
        return {};
    layout.rowBytes = static_cast<int>(rowBytes);
    layout.imageSize = static_cast<std::uint32_t>(rowBytes * height);
    layout.offBits = static_cast<std::uint32_t>(offBits);
    layout.fileSize = layout.offBits + layout.imageSize;
    return layout;
}

QByteArray EncodeBitmapFile(const QImage& surface, int bitsPerPixel)
{
    if (surface.isNull() || !IsWritableDepth(bitsPerPixel))
        return {};
    const int width = surface.width();
    const int height = surface.height();
    // Sized before any conversion, so an absurd surface costs nothing.
    const BitmapLayout layout = BitmapLayoutFor(width, height, bitsPerPixel);
    if (layout.fileSize == 0)
        return {};

    QImage converted;
    const QImage* pixels = &surface;
    if (surface.format() != QImage::Format_RGB32 && surface.format() != QImage::Format_ARGB32) {
        converted = surface.convertToFormat(QImage::Format_RGB32);
        if (converted.isNull())
            return {};
        pixels = &converted;
    }

    QByteArray file(static_cast<qsizetype>(layout.fileSize), Qt::Uninitialized);
    auto* out = reinterpret_cast<uchar*>(file.data());

    // BITMAPFILEHEADER
    qToLittleEndian<quint16>(0x4D42, out);  // "BM"
    qToLittleEndian<quint32>(layout.fileSize, out + 2);
    qToLittleEndian<quint16>(0, out + 6);
    qToLittleEndian<quint16>(0, out + 8);
    qToLittleEndian<quint32>(layout.offBits, out + 10);
    // BITMAPINFOHEADER
    uchar* info = out + kFileHeaderBytes;
    qToLittleEndian<quint32>(kInfoHeaderBytes, info);
    qToLittleEndian<qint32>(width, info + 4);
    qToLittleEndian<qint32>(height, info + 8);  // positive: bottom row first
    qToLittleEndian<quint16>(1, info + 12);
    qToLittleEndian<quint16>(static_cast<quint16>(bitsPerPixel), info + 14);
    qToLittleEndian<quint32>(0, info + 16);  // BI_RGB
    qToLittleEndian<quint32>(layout.imageSize, info + 20);
    qToLittleEndian<qint32>(0, info + 24);
    qToLittleEndian<qint32>(0, info + 28);
    qToLittleEndian<quint32>(static_cast<quint32>(layout.tableEntries), info + 32);
    qToLittleEndian<quint32>(0, info + 36);

    uchar* table = info + kInfoHeaderBytes;
    std::memset(table, 0, 4 * static_cast<std::size_t>(layout.tableEntries));
    if (bitsPerPixel == 1)
        WriteTable(kMonoPalette, table);
    else if (bitsPerPixel == 4)
        WriteTable(kVgaPalette, table);
    else if (bitsPerPixel == 8)
        WriteTable(kCubePalette, table);

    const int rowBytes = layout.rowBytes;
    const auto pixelBytes = static_cast<int>((static_cast<long long>(width) * bitsPerPixel + 7) / 8);
    uchar* rows = out + layout.offBits;
    for (int row = 0; row < height; ++row) {
        const auto* src = reinterpret_cast<const QRgb*>(pixels->constScanLine(height - 1 - row));
        uchar* dst = rows + static_cast<std::size_t>(row) * static_cast<std::size_t>(rowBytes);
        switch (bitsPerPixel) {
        case 32:
            EncodeRow32(src, width, dst);
            break;
        case 24:
            EncodeRow24(src, width, dst);
            break;
        case 16:
            EncodeRow16(src, width, dst);
            break;
        case 8:
            EncodeIndexedRow<8, NearestCube>(src, width, dst);
            break;
        case 4:
            EncodeIndexedRow<4, NearestVga>(src, width, dst);
            break;
        default:
            EncodeIndexedRow<1, NearestMono>(src, width, dst);
            break;
        }
        // Only the padding is cleared: the buffer starts uninitialised, which
        // spares a canvas-sized clear of bytes that are all overwritten.
        std::memset(dst + pixelBytes, 0, static_cast<std::size_t>(rowBytes - pixelBytes));
    }
    return file;
}

bool WriteBitmapFile(const QString& path, const QByteArray& bytes, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name was given."));
    // The toolkit's own messages for these are terse ("No such file or
    // directory"); say which part of the path is wrong instead.
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("\"%1\" is a folder.").arg(Native(path)));
    const QString folderProblem = FolderProblem(path);
    if (!folderProblem.isEmpty())
        return fail(folderProblem);

    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return fail(WriteProblem(file, errno));
    if (file.write(bytes) != bytes.size()) {
        const QString reason = WriteProblem(file, errno);
        file.cancelWriting();
        return fail(reason);
    }
    // The data may only reach the disk here, so a full disk can show up now,
    // and so can a failure to put the new file in place of the old.
    errno = 0;
    if (!file.commit())
        return fail(WriteProblem(file, errno));
    return true;
}
