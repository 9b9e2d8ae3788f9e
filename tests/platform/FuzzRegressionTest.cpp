// Files that once gave the picture fuzzer (fuzz/PictureFuzzer.cpp) trouble,
// kept under tests/data/fuzz/: each one is loaded as the program loads a
// picture, comes back or is refused as listed, and a picture that comes back is
// drawn the ways the program draws pictures.
#include "platform/Gdi.h"
#include "platform/Picture.h"

#include <QDir>
#include <QFile>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

struct KeptFile {
    const char* name;
    QSize size;  // of the picture, or empty when the file gives none
};

const KeptFile kKeptFiles[] = {
    // An uncompressed TGA of 42 bytes whose header announces 816 x 10753
    // pixels: cut short, so no picture. The decoder read it byte by byte up to
    // the announced size, for seconds, and gave a black picture.
    {"tga-42-bytes-announcing-816x10753.tga", QSize()},
    // A GIF of 34 bytes whose screen is 10504 x 8344 with one 8 x 6 image on
    // it: more than its data could fill, so no picture. Decoding it took
    // seconds and 700 MB.
    {"gif-34-bytes-announcing-10504x8344.gif", QSize()},
};

// Compositing the whole picture over white (and stretching that) grows with
// its size; above this it is left to the picture tests.
constexpr long long kWholePictureBudget = 16LL * 1000 * 1000;

QString KeptPath(const char* name) { return QDir(VELTRA_TEST_DATA "/fuzz").filePath(QString::fromUtf8(name)); }

// A w x h uncompressed 24-bit TGA in one colour, with an image id and the
// footer the toolkit's decoder looks for.
QByteArray Tga(int w, int h, QRgb color)
{
    QByteArray bytes;
    bytes += QByteArray("\x02\x00\x02", 3) + QByteArray(9, '\0');
    bytes += static_cast<char>(w & 0xFF);
    bytes += static_cast<char>(w >> 8);
    bytes += static_cast<char>(h & 0xFF);
    bytes += static_cast<char>(h >> 8);
    bytes += QByteArray("\x18\x00", 2);
    bytes += "id";
    for (int i = 0; i < w * h; ++i) {
        bytes += static_cast<char>(qBlue(color));
        bytes += static_cast<char>(qGreen(color));
        bytes += static_cast<char>(qRed(color));
    }
    bytes += QByteArray(8, '\0');
    bytes += QByteArray("TRUEVISION-XFILE.\0", 18);
    return bytes;
}

}  // namespace

TEST(FuzzRegressionTest, EveryKeptFileIsListed)
{
    std::set<QString> listed;
    for (const KeptFile& f : kKeptFiles) {
        listed.insert(QString::fromUtf8(f.name));
        EXPECT_TRUE(QFile::exists(KeptPath(f.name))) << f.name;
    }
    const QStringList present = QDir(VELTRA_TEST_DATA "/fuzz").entryList(QDir::Files);
    EXPECT_EQ(std::set<QString>(present.begin(), present.end()), listed);
}

TEST(FuzzRegressionTest, EachKeptFileLoadsOrIsRefusedAsListedAndDraws)
{
    for (const KeptFile& f : kKeptFiles) {
        SCOPED_TRACE(f.name);
        CPicture::ClearCache();
        const auto picture = CPicture::Load(KeptPath(f.name));
        ASSERT_EQ(picture != nullptr, !f.size.isEmpty());
        if (!picture)
            continue;
        const int w = picture->GetWidth(), h = picture->GetHeight();
        EXPECT_EQ(QSize(w, h), f.size);
        // Drawn at (0, 0) over white, and stretched to its own size, the
        // picture gives the same pixels, and those of OnWhite.
        CMemoryDC natural(32, 24), stretched(32, 24);
        natural.DC().FillRect(RECT{0, 0, 32, 24}, CBrush::White());
        stretched.DC().FillRect(RECT{0, 0, 32, 24}, CBrush::White());
        DrawPicture(natural.DC(), *picture, 0, 0);
        DrawPictureStretched(stretched.DC(), *picture, 0, 0, w, h);
        EXPECT_EQ(natural.Image(), stretched.Image());
        if (static_cast<long long>(w) * h <= kWholePictureBudget) {
            EXPECT_EQ(picture->OnWhite().size(), QSize(w, h));
            EXPECT_EQ(natural.Image().copy(0, 0, std::min(w, 32), std::min(h, 24)),
                      picture->OnWhite().copy(0, 0, std::min(w, 32), std::min(h, 24)));
            EXPECT_EQ(picture->StretchedOnWhite(7, 5, COLORONCOLOR).size(), QSize(7, 5));
        }
        // Clipped on every side, and mirrored.
        DrawPicture(natural.DC(), *picture, -w + 1, 23);
        DrawPictureStretched(natural.DC(), *picture, 31, 23, -40, -30);
    }
}

TEST(FuzzRegressionTest, ATgaLoadsWholeAndIsRefusedWithAPixelMissing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray whole = Tga(5, 3, qRgb(200, 20, 10));
    QFile full(dir.filePath("whole.tga")), cut(dir.filePath("cut.tga"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly) && cut.open(QIODevice::WriteOnly));
    full.write(whole);
    // The last pixel's three bytes gone, the footer kept.
    cut.write(whole.left(whole.size() - 26 - 3) + whole.right(26));
    full.close();
    cut.close();

    CPicture::ClearCache();
    const auto picture = CPicture::Load(full.fileName());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Image().size(), QSize(5, 3));
    EXPECT_FALSE(CPicture::Load(cut.fileName()));
}
