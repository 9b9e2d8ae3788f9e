// The bitmap file writer: the header and layout, row order and padding, the
// toolkit's own decoder reading our files back, sizes too big for the format,
// and writing to disk all or nothing.
#include "files/BitmapFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace {

// Little-endian fields read byte by byte, independently of the writer.
std::uint32_t Field(const QByteArray& b, int at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<uchar>(b[at + i]);
    return v;
}

// A deterministic, opaque, every-channel-busy surface.
QImage Noise(int w, int h, std::uint32_t seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | (seed >> 8));
        }
    return image;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

QStringList Listing(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

TEST(BitmapFileTest, TheHeaderAndTheRowsBottomFirstWithTheirPadding)
{
    // Worked out by hand for 13 x 5 pixels: S = 52, 54 + 5 S = 314 bytes.
    // Colours whose channels all differ, so a swapped red and blue shows; the
    // byte the format leaves unused holds 0x7F, which no file may show.
    constexpr int W = 13, H = 5, S = 52;
    QImage surface(W, H, QImage::Format_RGB32);
    surface.fill(0x7FFFFFFFu);
    for (int x = 0; x < W; ++x) {
        surface.setPixel(x, 0, 0x7FF88008u);
        surface.setPixel(x, H - 1, 0x7F172747u);
    }
    // The allocator usually hands a block just freed straight back for the
    // same size, so bytes the encoder forgot to write show these 0xAA bytes
    // instead of passing by luck on fresh zeroed memory.
    { const QByteArray dirty(314, '\xAA'); }
    const QByteArray file = EncodeBitmapFile(surface);
    ASSERT_EQ(file.size(), 314);
    EXPECT_EQ(file.left(2), QByteArray("BM"));
    // Each header field: its offset, its size in bytes and its value.
    const std::tuple<int, int, std::uint32_t> fields[] = {
        {2, 4, 314}, {6, 2, 0},  {8, 2, 0},  {10, 4, 54},    {14, 4, 40}, {18, 4, W}, {22, 4, H}, {26, 2, 1},
        {28, 2, 32}, {30, 4, 0}, {34, 4, 5 * S}, {38, 4, 0}, {42, 4, 0},  {46, 4, 0}, {50, 4, 0}};
    for (const auto& [at, bytes, value] : fields)
        EXPECT_EQ(Field(file, at, bytes), value) << "header field at " << at;
    // File rows: the surface's bottom row first, its top row last.
    const char* rows[H] = {"47271700", "ffffff00", "ffffff00", "ffffff00", "0880f800"};
    for (int row = 0; row < H; ++row)
        EXPECT_EQ(file.mid(54 + row * S, S).toHex(), QByteArray(rows[row]).repeated(W)) << "file row " << row;
}

TEST(BitmapFileTest, SizesAtTheEdgeOfTheFormat)
{
    const std::tuple<int, int, std::uint32_t> edges[] = {
        {65536, 16383, 4294705206u},  // 54 + 262144 * 16383
        {65536, 16384, 0},            // 54 + 2^32: no such file
        {600000000, 1, 0},            // a row of 2.4 GB does not fit an int
        {INT_MAX, INT_MAX, 0}, {0, 5, 0}, {5, 0, 0}, {-3, 5, 0},
    };
    for (const auto& [width, height, fileSize] : edges) {
        const BitmapLayout layout = BitmapLayoutFor(width, height, 32);
        EXPECT_EQ(layout.fileSize, fileSize) << width << " x " << height;
        EXPECT_EQ(layout.rowBytes == 0 && layout.imageSize == 0, fileSize == 0) << width << " x " << height;
    }
}

TEST(BitmapFileTest, TheToolkitReadsBackEveryPixelAndNothingToWriteGivesNoBytes)
{
    const QImage surfaces[] = {Noise(37, 23, 1), Noise(1, 1, 7), Noise(12, 12, 5).convertToFormat(QImage::Format_ARGB32),
                               Noise(11, 6, 6).convertToFormat(QImage::Format_RGB888)};
    for (const QImage& surface : surfaces) {
        QImage decoded;
        ASSERT_TRUE(decoded.loadFromData(EncodeBitmapFile(surface), "BMP"));
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), surface.convertToFormat(QImage::Format_RGB32))
            << surface.width() << " x " << surface.height() << ", format " << surface.format();
    }
    EXPECT_TRUE(EncodeBitmapFile(QImage()).isEmpty());
    EXPECT_TRUE(EncodeBitmapFile(QImage(0, 5, QImage::Format_RGB32)).isEmpty());
}

class BitmapWriteTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString Native(const QString& name) const { return QDir::toNativeSeparators(Path(name)); }
    QTemporaryDir m_dir;
};

TEST_F(BitmapWriteTest, AFailedWriteLeavesEverythingAsItWasAndSaysWhy)
{
    const QByteArray bitmap = EncodeBitmapFile(Noise(8, 8, 10));
    const QByteArray old("the old contents of a file that must survive");
    // Names stop at 255 bytes: this file's name fits, but not the temporary
    // file's beside it (the name and a suffix), so the new file can never be
    // put in place of the old one.
    const QString longName = QString(248, QLatin1Char('n')) + QStringLiteral(".bmp");
    const auto plainFile = [&] { WriteAll(Path("plain.bmp"), old); };
    struct Failure {
        const char* what;
        std::function<void()> arrange;
        QString target, mentioned, kept;  // the reason mentions `mentioned`; `kept` keeps `old`
    };
    const Failure failures[] = {
        {"missing folder", [] {}, Path("no-such-folder/drawing.bmp"), Native("no-such-folder"), {}},
        {"missing folders", [] {}, Path("a/b/drawing.bmp"), Native("a/b"), {}},
        {"parent is a file", plainFile, Path("plain.bmp/drawing.bmp"), Native("plain.bmp"), Path("plain.bmp")},
        {"ancestor is a file", plainFile, Path("plain.bmp/sub/drawing.bmp"), Native("plain.bmp"), Path("plain.bmp")},
        {"target is a folder",
         [&] {
             QDir(m_dir.path()).mkdir("folder.bmp");
             WriteAll(Path("folder.bmp/inside.txt"), old);
         },
         Path("folder.bmp"), Native("folder.bmp"), Path("folder.bmp/inside.txt")},
        {"no room for the temporary file", [&] { WriteAll(Path(longName), old); }, Path(longName), {}, Path(longName)},
        {"no name", [] {}, QString(), {}, {}},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        QDir(m_dir.path()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_dir.path()));
        f.arrange();
        const QStringList before = Listing(m_dir.path());
        QString error;
        EXPECT_FALSE(WriteBitmapFile(f.target, bitmap, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(error.contains(QFile().errorString())) << error.toStdString();  // the toolkit's placeholder
        EXPECT_TRUE(error.contains(f.mentioned)) << error.toStdString();
        EXPECT_FALSE(WriteBitmapFile(f.target, bitmap, nullptr));
        // Nothing created, nothing left behind, nothing overwritten.
        EXPECT_EQ(Listing(m_dir.path()), before);
        if (!f.kept.isEmpty()) {
            EXPECT_EQ(ReadAll(f.kept), old);
        }
    }
}

TEST_F(BitmapWriteTest, ASuccessfulWriteReplacesTheWholeFile)
{
    const QByteArray small = EncodeBitmapFile(Noise(3, 2, 11));
    const QByteArray large = EncodeBitmapFile(Noise(40, 30, 12));
    QString error = QStringLiteral("untouched");
    EXPECT_TRUE(WriteBitmapFile(Path("new.bmp"), large, &error));
    EXPECT_EQ(ReadAll(Path("new.bmp")), large);
    EXPECT_EQ(error, QStringLiteral("untouched"));
    // A shorter file over a longer one keeps none of the old tail.
    EXPECT_TRUE(WriteBitmapFile(Path("new.bmp"), small, &error));
    EXPECT_EQ(ReadAll(Path("new.bmp")), small);
    EXPECT_EQ(Listing(m_dir.path()), QStringList{QStringLiteral("new.bmp")});
}

}  // namespace
