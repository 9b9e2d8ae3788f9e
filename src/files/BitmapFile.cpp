// The bitmap file writer: layout arithmetic, the 32-bit rows, and the
// all-or-nothing write to disk.
#include "files/BitmapFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;

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

// One row of 32-bit pixels: the surface's own little-endian B, G, R, and a
// cleared reserved byte.
void EncodeRow32(const QRgb* src, int width, uchar* dst)
{
    for (int x = 0; x < width; ++x)
        qToLittleEndian<quint32>(src[x] & 0x00FFFFFFu, dst + 4 * x);
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

QByteArray EncodeBitmapFile(const QImage& surface)
{
    constexpr int bitsPerPixel = 32;
    if (surface.isNull())
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

    const int rowBytes = layout.rowBytes;
    const int pixelBytes = 4 * width;
    uchar* rows = out + layout.offBits;
    for (int row = 0; row < height; ++row) {
        const auto* src = reinterpret_cast<const QRgb*>(pixels->constScanLine(height - 1 - row));
        uchar* dst = rows + static_cast<std::size_t>(row) * static_cast<std::size_t>(rowBytes);
        EncodeRow32(src, width, dst);
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
