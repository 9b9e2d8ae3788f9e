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
#include <vector>

namespace {

// Little-endian fields read byte by byte, independently of the writer.
unsigned U16(const QByteArray& b, int at)
{
    return static_cast<unsigned>(static_cast<uchar>(b[at])) | static_cast<unsigned>(static_cast<uchar>(b[at + 1])) << 8;
}
std::uint32_t U32(const QByteArray& b, int at)
{
    return static_cast<std::uint32_t>(U16(b, at)) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

std::string Times(const std::string& hex, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += hex;
    return s;
}


// A surface whose top row, middle rows and bottom row are each one colour;
// the byte the format leaves unused holds 0x7F, which no file may show.
QImage ThreeBands(int w, int h, QRgb top, QRgb middle, QRgb bottom)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const QRgb colour = y == 0 ? top : y == h - 1 ? bottom : middle;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = 0x7F000000u | colour;
    }
    return image;
}

// A deterministic, opaque, every-channel-busy surface.
QImage Noise(int w, int h, std::uint32_t seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    std::uint32_t state = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | (state >> 8));
        }
    return image;
}

QImage Decoded(const QByteArray& bytes)
{
    QImage image;
    EXPECT_TRUE(image.loadFromData(bytes, "BMP"));
    return image.convertToFormat(QImage::Format_RGB32);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList Listing(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// Colours whose channels all differ, so a swapped red and blue shows.
constexpr QRgb kOrange = 0xF88008, kDark = 0x172747, kWhite = 0xFFFFFF;

}  // namespace

TEST(BitmapFileTest, TheHeaderAndTheRowsBottomFirstWithTheirPadding)
{
    // Worked out by hand for 13 x 5 pixels: S = 52, 54 + 5 S = 314 bytes.
    constexpr int W = 13, H = 5, S = 52;
    const BitmapLayout layout = BitmapLayoutFor(W, H, 32);
    EXPECT_EQ(layout.classBits, 32);
    EXPECT_EQ(layout.tableEntries, 0);
    EXPECT_EQ(layout.rowBytes, S);
    EXPECT_EQ(layout.offBits, 54u);
    EXPECT_EQ(layout.fileSize, 314u);
    // The allocator usually hands a block just freed straight back for the
    // same size, so bytes the encoder forgot to write show these 0xAA bytes
    // instead of passing by luck on fresh zeroed memory.
    { const QByteArray dirty(314, '\xAA'); }
    const QByteArray file = EncodeBitmapFile(ThreeBands(W, H, kOrange, kWhite, kDark));
    ASSERT_EQ(file.size(), 314);
    EXPECT_EQ(file.left(2), QByteArray("BM"));
    const std::uint32_t fields[] = {U32(file, 2), U16(file, 6), U16(file, 8), U32(file, 10), U32(file, 14),
                                    U32(file, 18), U32(file, 22), U16(file, 26), U16(file, 28), U32(file, 30),
                                    U32(file, 34), U32(file, 38), U32(file, 42), U32(file, 46), U32(file, 50)};
    const std::uint32_t expected[] = {314, 0, 0, 54, 40, W, H, 1, 32, 0, 5 * S, 0, 0, 0, 0};
    for (std::size_t i = 0; i < std::size(fields); ++i)
        EXPECT_EQ(fields[i], expected[i]) << "header field " << i;
    // File rows: the surface's bottom row first, its top row last.
    const std::string rows[H] = {Times("47271700", 13), Times("ffffff00", 13), Times("ffffff00", 13),
                                 Times("ffffff00", 13), Times("0880f800", 13)};
    for (int row = 0; row < H; ++row)
        EXPECT_EQ(file.mid(54 + row * S, S).toHex().toStdString(), rows[row]) << "file row " << row;
}

TEST(BitmapFileTest, SizesAtTheEdgeOfTheFormat)
{
    struct Edge {
        int width, height, bits;
        std::uint32_t fileSize;  // 0: no such file
    };
    const Edge edges[] = {
        {65536, 16383, 32, 4294705206u},  // 54 + 262144 * 16383
        {65536, 16384, 32, 0},            // 54 + 2^32
        {65536, 65535, 8, 4294902838u},   // 1078 + 65536 * 65535
        {65536, 65536, 8, 0},
        {2, 1073741823, 16, 0},  // the pixels alone fit (2^32 - 4), not with the table
        {600000000, 1, 32, 0},   // a row of 2.4 GB does not fit an int
        {INT_MAX, INT_MAX, 32, 0},
        {0, 5, 32, 0},
        {5, 0, 32, 0},
        {-3, 5, 32, 0},
        {5, 5, 0, 0},
        {5, 5, -8, 0},
    };
    for (const Edge& e : edges) {
        SCOPED_TRACE(testing::Message() << e.width << " x " << e.height << " at " << e.bits);
        const BitmapLayout layout = BitmapLayoutFor(e.width, e.height, e.bits);
        EXPECT_EQ(layout.fileSize, e.fileSize);
        if (e.fileSize == 0) {
            EXPECT_EQ(layout.classBits, 0);
            EXPECT_EQ(layout.rowBytes, 0);
            EXPECT_EQ(layout.imageSize, 0u);
            EXPECT_EQ(layout.offBits, 0u);
        }
    }
}

TEST(BitmapFileTest, TheToolkitReadsBackEveryPixel)
{
    const QImage surfaces[] = {Noise(37, 23, 1), Noise(1, 1, 7), Noise(12, 12, 5).convertToFormat(QImage::Format_ARGB32),
                               Noise(11, 6, 6).convertToFormat(QImage::Format_RGB888)};
    for (const QImage& surface : surfaces) {
        SCOPED_TRACE(testing::Message() << surface.width() << " x " << surface.height() << ", format "
                                        << surface.format());
        EXPECT_EQ(Decoded(EncodeBitmapFile(surface)), surface.convertToFormat(QImage::Format_RGB32));
    }
}

TEST(BitmapFileTest, NothingToWriteGivesNoBytes)
{
    EXPECT_TRUE(EncodeBitmapFile(QImage()).isEmpty());
    EXPECT_TRUE(EncodeBitmapFile(QImage(0, 5, QImage::Format_RGB32)).isEmpty());
    EXPECT_TRUE(EncodeBitmapFile(QImage(5, 0, QImage::Format_RGB32)).isEmpty());
}

namespace {

class BitmapWriteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    static QString Native(const QString& path) { return QDir::toNativeSeparators(path); }
    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(BitmapWriteTest, AFailedWriteLeavesEverythingAsItWasAndSaysWhy)
{
    const QByteArray bitmap = EncodeBitmapFile(Noise(8, 8, 10));
    const QByteArray old("the old contents of a file that must survive");
    // Names stop at 255 bytes: this file's name fits, but not the temporary
    // file's beside it (the name and a suffix), so the new file can never be
    // put in place of the old one.
    const QString longName = QString(248, QLatin1Char('n')) + QStringLiteral(".bmp");

    struct Failure {
        const char* what;
        std::function<void()> arrange;
        QString target;
        QString mentioned;  // in the reason given
        QString kept;       // a file that must keep `old`, if any
    };
    const Failure failures[] = {
        {"missing folder", [] {}, Path("no-such-folder/drawing.bmp"), Native(Path("no-such-folder")), QString()},
        {"missing folders", [] {}, Path("a/b/drawing.bmp"), Native(Path("a/b")), QString()},
        {"parent is a file", [&] { WriteAll(Path("plain.bmp"), old); }, Path("plain.bmp/drawing.bmp"),
         Native(Path("plain.bmp")), Path("plain.bmp")},
        {"ancestor is a file", [&] { WriteAll(Path("plain.bmp"), old); }, Path("plain.bmp/sub/drawing.bmp"),
         Native(Path("plain.bmp")), Path("plain.bmp")},
        {"target is a folder",
         [&] {
             ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.bmp"));
             WriteAll(Path("folder.bmp/inside.txt"), old);
         },
         Path("folder.bmp"), Native(Path("folder.bmp")), Path("folder.bmp/inside.txt")},
        {"no room for the temporary file", [&] { WriteAll(Path(longName), old); }, Path(longName), QString(),
         Path(longName)},
        {"no name", [] {}, QString(), QString(), QString()},
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
        if (!f.mentioned.isEmpty()) {
            EXPECT_TRUE(error.contains(f.mentioned)) << error.toStdString();
        }
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
    ASSERT_GT(large.size(), small.size());

    QString error = QStringLiteral("untouched");
    EXPECT_TRUE(WriteBitmapFile(Path("new.bmp"), large, &error));
    EXPECT_EQ(ReadAll(Path("new.bmp")), large);
    EXPECT_EQ(error, QStringLiteral("untouched"));

    // A shorter file over a longer one keeps none of the old tail.
    EXPECT_TRUE(WriteBitmapFile(Path("new.bmp"), small, &error));
    EXPECT_EQ(ReadAll(Path("new.bmp")), small);
    EXPECT_EQ(Listing(m_dir.path()), QStringList{QStringLiteral("new.bmp")});
}
