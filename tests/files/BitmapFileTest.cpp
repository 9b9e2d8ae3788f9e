// The bitmap file writer: the header and layout of every depth, row order and
// padding, the palettes and their nearest-colour mapping, the toolkit's own
// decoder reading our files back, sizes too big for the format, and writing
// to disk all or nothing.
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

QByteArray FromHex(const std::string& hex) { return QByteArray::fromHex(QByteArray::fromStdString(hex)); }

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

// The band colours of the table below: each palette depth gets colours its
// palette has exactly; kDark's low bits tell 16-bit truncation (GDI's) from
// rounding, and its channels all differ, so a swapped red and blue shows.
constexpr QRgb kOrange = 0xF88008, kDark = 0x172747, kWhite = 0xFFFFFF, kBlack = 0x000000;
constexpr QRgb kRed = 0xFF0000, kBlue = 0x0000FF;

struct FileCase {
    int bits;
    // Worked out by hand for a 13 x 5 surface.
    int rowBytes;
    int tableEntries;
    std::uint32_t offBits, imageSize, fileSize;
    QRgb top, middle, bottom;
    // Whole file rows, padding included.
    std::string topRow, middleRow, bottomRow;
    // Colour-table entries (index, B G R 0), and whether every entry not
    // listed must be zero.
    std::vector<std::pair<int, std::string>> table;
    bool restOfTableZero;
};

const std::string kVgaTable[16] = {"00000000", "00008000", "00800000", "00808000", "80000000", "80008000",
                                   "80800000", "c0c0c000", "80808000", "0000ff00", "00ff0000", "00ffff00",
                                   "ff000000", "ff00ff00", "ffff0000", "ffffff00"};

std::vector<std::pair<int, std::string>> VgaTable()
{
    std::vector<std::pair<int, std::string>> table;
    for (int i = 0; i < 16; ++i)
        table.emplace_back(i, kVgaTable[i]);
    return table;
}

const std::vector<FileCase> kFileCases = {
    // S = ((13 * C + 31) / 32) * 4; offBits = 54 + 4N; fileSize = offBits + 5S.
    {1, 4, 2, 62, 20, 82, kWhite, kBlack, kBlack,
     "fff80000", "00000000", "00000000",
     {{0, "00000000"}, {1, "ffffff00"}}, true},
    {4, 8, 16, 118, 40, 158, kRed, kWhite, kBlue,
     Times("99", 6) + "90" + "00", Times("ff", 6) + "f0" + "00", Times("cc", 6) + "c0" + "00",
     VgaTable(), true},
    {8, 16, 256, 1078, 80, 1158, kRed, kWhite, kBlue,
     Times("b4", 13) + "000000", Times("d7", 13) + "000000", Times("05", 13) + "000000",
     {{0, "00000000"}, {5, "ff000000"}, {43, "33333300"}, {180, "0000ff00"}, {215, "ffffff00"},
      {216, "06060600"}, {236, "83838300"}, {255, "f9f9f900"}},
     false},
    {16, 28, 65536, 262198, 140, 262338, kOrange, kWhite, kDark,
     Times("017e", 13) + "0000", Times("ff7f", 13) + "0000", Times("8808", 13) + "0000",
     {}, true},
    {24, 40, 0, 54, 200, 254, kOrange, kWhite, kDark,
     Times("0880f8", 13) + "00", Times("ffffff", 13) + "00", Times("472717", 13) + "00",
     {}, true},
    {32, 52, 0, 54, 260, 314, kOrange, kWhite, kDark,
     Times("0880f800", 13), Times("ffffff00", 13), Times("47271700", 13),
     {}, true},
};

}  // namespace

TEST(BitmapFileTest, EveryDepthHasItsHeaderTableAndRowsBottomFirst)
{
    constexpr int W = 13, H = 5;
    for (const FileCase& c : kFileCases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits");
        const BitmapLayout layout = BitmapLayoutFor(W, H, c.bits);
        EXPECT_EQ(layout.classBits, c.bits);
        EXPECT_EQ(layout.tableEntries, c.tableEntries);
        EXPECT_EQ(layout.rowBytes, c.rowBytes);
        EXPECT_EQ(layout.imageSize, c.imageSize);
        EXPECT_EQ(layout.offBits, c.offBits);
        EXPECT_EQ(layout.fileSize, c.fileSize);

        const QImage surface = ThreeBands(W, H, c.top, c.middle, c.bottom);
        // The allocator usually hands a block just freed straight back for the
        // same size, so padding the encoder forgot to clear shows these 0xAA
        // bytes instead of passing by luck on fresh zeroed memory.
        { const QByteArray dirty(static_cast<qsizetype>(c.fileSize), '\xAA'); }
        const QByteArray file = EncodeBitmapFile(surface, c.bits);
        ASSERT_EQ(static_cast<std::uint32_t>(file.size()), c.fileSize);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(U32(file, 2), c.fileSize);
        EXPECT_EQ(U16(file, 6), 0u);
        EXPECT_EQ(U16(file, 8), 0u);
        EXPECT_EQ(U32(file, 10), c.offBits);
        EXPECT_EQ(U32(file, 14), 40u);
        EXPECT_EQ(U32(file, 18), static_cast<std::uint32_t>(W));
        EXPECT_EQ(U32(file, 22), static_cast<std::uint32_t>(H));
        EXPECT_EQ(U16(file, 26), 1u);
        EXPECT_EQ(U16(file, 28), static_cast<unsigned>(c.bits));
        EXPECT_EQ(U32(file, 30), 0u);
        EXPECT_EQ(U32(file, 34), c.imageSize);
        EXPECT_EQ(U32(file, 38), 0u);
        EXPECT_EQ(U32(file, 42), 0u);
        EXPECT_EQ(U32(file, 46), static_cast<std::uint32_t>(c.tableEntries));
        EXPECT_EQ(U32(file, 50), 0u);

        std::vector<bool> listed(static_cast<std::size_t>(c.tableEntries), false);
        for (const auto& [index, hex] : c.table) {
            EXPECT_EQ(file.mid(54 + 4 * index, 4).toHex().toStdString(), hex) << "table entry " << index;
            listed[static_cast<std::size_t>(index)] = true;
        }
        for (int i = 0; i < c.tableEntries; ++i) {
            const QByteArray entry = file.mid(54 + 4 * i, 4);
            EXPECT_EQ(entry[3], '\0') << "table entry " << i;
            if (c.restOfTableZero && !listed[static_cast<std::size_t>(i)]) {
                EXPECT_EQ(entry, QByteArray(4, '\0')) << "table entry " << i;
            }
        }

        // File rows: the surface's bottom row first, its top row last.
        const std::string expectedRows[H] = {c.bottomRow, c.middleRow, c.middleRow, c.middleRow, c.topRow};
        for (int row = 0; row < H; ++row) {
            const QByteArray expected = FromHex(expectedRows[row]);
            ASSERT_EQ(expected.size(), c.rowBytes);
            EXPECT_EQ(file.mid(static_cast<int>(c.offBits) + row * c.rowBytes, c.rowBytes).toHex().toStdString(),
                      expected.toHex().toStdString())
                << "file row " << row;
        }
    }
}

TEST(BitmapFileTest, TheClassIsTheSmallestDepthHoldingPlanesTimesBits)
{
    struct Class {
        int from, to;  // planes * bits
        int classBits, tableEntries;
        int rowBytes;  // for 9 pixels: 9 C bits in whole 32-bit words
    };
    const Class classes[] = {{1, 1, 1, 2, 4},       {2, 4, 4, 16, 8},    {5, 8, 8, 256, 12},
                             {9, 16, 16, 65536, 20}, {17, 24, 24, 0, 28}, {25, 32, 32, 0, 36}};
    for (const Class& c : classes)
        for (int total = c.from; total <= c.to; ++total)
            for (int planes : {1, 2, 4}) {
                if (total % planes != 0)
                    continue;
                SCOPED_TRACE(testing::Message() << planes << " planes of " << total / planes << " bits");
                const BitmapLayout layout = BitmapLayoutFor(9, 2, total / planes, planes);
                EXPECT_EQ(layout.classBits, c.classBits);
                EXPECT_EQ(layout.tableEntries, c.tableEntries);
                EXPECT_EQ(layout.rowBytes, c.rowBytes);
                EXPECT_EQ(layout.offBits, 54u + 4u * static_cast<std::uint32_t>(c.tableEntries));
                EXPECT_EQ(layout.fileSize, layout.offBits + 2u * static_cast<std::uint32_t>(layout.rowBytes));
            }
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
    struct RoundTrip {
        int bits;
        QImage surface;
    };
    // Palette depths are exact only for palette colours; 16 bits for colours
    // whose low three bits are zero.
    QImage mono = Noise(19, 7, 3);
    for (int y = 0; y < mono.height(); ++y)
        for (int x = 0; x < mono.width(); ++x)
            mono.setPixel(x, y, (mono.pixel(x, y) & 1) ? 0xFFFFFFFF : 0xFF000000);
    const QRgb vgaColours[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    QImage vga(21, 3, QImage::Format_RGB32);
    for (int y = 0; y < vga.height(); ++y)
        for (int x = 0; x < vga.width(); ++x)
            vga.setPixel(x, y, 0xFF000000u | vgaColours[(x + 5 * y) % 16]);
    QImage cube(23, 11, QImage::Format_RGB32);
    const int greys[] = {6, 12, 25, 131, 243, 249};
    for (int y = 0; y < cube.height(); ++y)
        for (int x = 0; x < cube.width(); ++x) {
            const int n = x + cube.width() * y;
            const int g = greys[n % 6];
            cube.setPixel(x, y, n % 2 ? qRgb(51 * (n % 6), 51 * (n / 6 % 6), 51 * (n / 36 % 6)) : qRgb(g, g, g));
        }
    QImage fiveBits = Noise(17, 9, 4);
    for (int y = 0; y < fiveBits.height(); ++y)
        for (int x = 0; x < fiveBits.width(); ++x)
            fiveBits.setPixel(x, y, fiveBits.pixel(x, y) & 0xFFF8F8F8u);

    QImage argb = Noise(12, 12, 5).convertToFormat(QImage::Format_ARGB32);
    QImage rgb888 = Noise(11, 6, 6).convertToFormat(QImage::Format_RGB888);
    const RoundTrip trips[] = {
        {32, Noise(37, 23, 1)}, {24, Noise(37, 23, 2)}, {32, Noise(1, 1, 7)},  {24, Noise(2, 3, 8)},
        {32, argb},             {24, rgb888},           {16, fiveBits},        {8, cube},
        {4, vga},               {1, mono},
    };
    for (const RoundTrip& t : trips) {
        SCOPED_TRACE(testing::Message() << t.bits << " bits, " << t.surface.width() << " x " << t.surface.height()
                                        << ", format " << t.surface.format());
        const QImage decoded = Decoded(EncodeBitmapFile(t.surface, t.bits));
        EXPECT_EQ(decoded, t.surface.convertToFormat(QImage::Format_RGB32));
    }
}

TEST(BitmapFileTest, NothingToWriteGivesNoBytes)
{
    const QImage surface = Noise(4, 4, 9);
    struct Nothing {
        const char* what;
        QImage surface;
        int bits;
    };
    const Nothing cases[] = {
        {"null surface", QImage(), 32},
        {"no columns", QImage(0, 5, QImage::Format_RGB32), 32},
        {"no rows", QImage(5, 0, QImage::Format_RGB32), 24},
        {"0 bits", surface, 0},
        {"2 bits", surface, 2},
        {"15 bits", surface, 15},
        {"48 bits", surface, 48},
        {"-32 bits", surface, -32},
    };
    for (const Nothing& c : cases)
        EXPECT_TRUE(EncodeBitmapFile(c.surface, c.bits).isEmpty()) << c.what;
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
