// Picture loading: decoding guarded against bad files, and the cache of
// decoded pictures.
#include "platform/Picture.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>
#include <list>
#include <map>
#include <mutex>
#include <optional>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>
#endif

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

// The first bytes of a file, little-endian fields read from them, and the
// file's size; `complete` is false when the file cannot be read or is shorter.
struct Header {
    QByteArray bytes;
    long long fileSize = 0;
    bool complete = false;
    long long Byte(int at) const { return static_cast<uchar>(bytes[at]); }
    long long U16(int at) const { return Byte(at) | Byte(at + 1) << 8; }
};

Header ReadHeader(const QString& path, int size)
{
    Header h;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return h;
    h.bytes = file.read(size);
    h.fileSize = file.size();
    h.complete = h.bytes.size() == size;
    return h;
}

// A GIF whose screen is larger than its data could ever fill. An LZW code
// of 12 bits (the widest) stands for at most 4,096 pixels, so no byte of a
// GIF describes more than 4,096 pixels; the decoder would still allocate and
// fill the whole announced screen, which for a file of a few bytes announcing
// tens of millions of pixels takes seconds and most of a gigabyte.
bool GifCanFillItsScreen(const QString& path)
{
    constexpr long long kPixelsPerByte = 4096;
    const Header h = ReadHeader(path, 10);
    if (!h.complete)
        return false;
    return h.U16(6) * h.U16(8) <= kPixelsPerByte * h.fileSize;
}

// An uncompressed TGA (the only kind the decoder reads) shorter than its
// header says was cut short. The decoder would not fail: it reads such a file
// byte by byte up to the size it announces, which takes minutes for a file of
// a few bytes announcing a large picture, and shows the missing part black.
bool TgaIsComplete(const QString& path)
{
    const Header h = ReadHeader(path, 18);
    if (!h.complete)
        return false;
    if (h.Byte(2) != 2)
        return true;  // not uncompressed true colour: not ours to judge
    const long long pixelBytes = (h.Byte(16) + 7) / 8;
    // The header, the image id, the pixels and the 26-byte footer the decoder
    // insists on (a colour map, if any, would come before the pixels too;
    // leaving it out keeps this a lower bound).
    constexpr long long kFooter = 26;
    return h.fileSize >= 18 + h.Byte(0) + h.U16(12) * h.U16(14) * pixelBytes + kFooter;
}

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
    // Judged before decoding: decoding them is what takes the time.
    if (format == "tga" && !TgaIsComplete(path))
        return nullptr;
    if (format == "gif" && !GifCanFillItsScreen(path))
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


// What tells one version of a file from another: its size and modification
// time (in nanoseconds where the system keeps them).
struct FileStamp {
    qint64 size = 0;
    qint64 modified = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of a regular file this process may read; none for anything else.
// One system call each for the file's state and for the permission, as a
// redraw asks once for every picture it shows.
std::optional<FileStamp> StampOf(const QString& path)
{
#if defined(Q_OS_UNIX)
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode) || ::access(name.constData(), R_OK) != 0)
        return std::nullopt;
    return FileStamp{static_cast<qint64>(st.st_size),
                     static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + static_cast<qint64>(st.st_mtim.tv_nsec)};
#else
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || !info.isReadable())
        return std::nullopt;
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
#endif
}

struct CacheEntry {
    QString path;
    FileStamp stamp;
    std::shared_ptr<const CPicture> picture;
};

struct PictureCache {
    std::mutex mutex;
    std::list<CacheEntry> entries;  // most recently used first
    QHash<QString, std::list<CacheEntry>::iterator> byPath;
    long long bytes = 0;
};

PictureCache& Cache()
{
    static PictureCache cache;
    return cache;
}

long long PictureBytes(const CPicture& picture) { return picture.Image().sizeInBytes(); }

void Drop(PictureCache& cache, std::list<CacheEntry>::iterator it)
{
    cache.bytes -= PictureBytes(*it->picture);
    cache.byPath.remove(it->path);
    cache.entries.erase(it);
}

// The picture a path names now: from the cache while the file is the one
// decoded, decoded afresh otherwise.
std::shared_ptr<const CPicture> LoadFromFile(const QString& path)
{
    const QString key = QDir::isAbsolutePath(path) ? QDir::cleanPath(path) : QFileInfo(path).absoluteFilePath();
    const std::optional<FileStamp> stamp = StampOf(key);
    if (!stamp)
        return nullptr;
    PictureCache& cache = Cache();
    {
        const std::lock_guard lock(cache.mutex);
        if (const auto found = cache.byPath.constFind(key); found != cache.byPath.cend()) {
            const auto it = found.value();
            if (it->stamp == *stamp) {
                cache.entries.splice(cache.entries.begin(), cache.entries, it);
                return it->picture;
            }
            Drop(cache, it);  // the file changed
        }
    }
    std::shared_ptr<const CPicture> picture = Decode(key);
    if (!picture)
        return nullptr;
    const long long bytes = PictureBytes(*picture);
    if (bytes > kCacheBytes)
        return picture;  // too big to keep
    const std::lock_guard lock(cache.mutex);
    if (const auto found = cache.byPath.constFind(key); found != cache.byPath.cend())
        Drop(cache, found.value());  // another thread decoded it meanwhile
    cache.entries.push_front(CacheEntry{key, *stamp, picture});
    cache.byPath.insert(key, cache.entries.begin());
    cache.bytes += bytes;
    while (cache.entries.size() > kCacheEntries || cache.bytes > kCacheBytes)
        Drop(cache, std::prev(cache.entries.end()));
    return picture;
}

}  // namespace

struct CPicture::Batch::Answers {
    std::map<QString, std::shared_ptr<const CPicture>> byPath;
};

namespace {

// The answers of the batch open on this thread, if any.
thread_local CPicture::Batch::Answers* t_batch = nullptr;

}  // namespace

// ---- Loading ---------------------------------------------------------------

std::shared_ptr<const CPicture> CPicture::Load(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    Batch::Answers* const batch = t_batch;
    if (batch) {
        if (const auto it = batch->byPath.find(path); it != batch->byPath.end())
            return it->second;
    }
    std::shared_ptr<const CPicture> picture = LoadFromFile(path);
    if (batch)
        batch->byPath.emplace(path, picture);
    return picture;
}

CPicture::Batch::Batch()
{
    if (!t_batch) {
        m_answers = std::make_unique<Answers>();
        t_batch = m_answers.get();
    }
}

CPicture::Batch::~Batch()
{
    if (m_answers)
        t_batch = nullptr;
}

void CPicture::ClearCache()
{
    PictureCache& cache = Cache();
    const std::lock_guard lock(cache.mutex);
    cache.entries.clear();
    cache.byPath.clear();
    cache.bytes = 0;
}
