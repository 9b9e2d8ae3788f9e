// Pictures: loading without colour management, refusing every kind of bad
// file, the limits and the cache, drawing at natural size and stretched, and
// the opaque ellipse fill.
#include "GdiTestSupport.h"

#include "platform/Picture.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace gditest;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

// A 4 x 4 BMP whose header announces w x h pixels.
QByteArray BmpAnnouncing(int w, int h)
{
    QByteArray bytes = Encoded(NoiseSurface(4, 4, 1), "BMP");
    qToLittleEndian<qint32>(w, bytes.data() + 18);
    qToLittleEndian<qint32>(h, bytes.data() + 22);
    return bytes;
}

// A w x h uncompressed 24-bit TGA in one colour, with an image id and the
// footer the toolkit's decoder looks for (the toolkit writes none).
QByteArray Tga(int w, int h, QRgb color)
{
    QByteArray bytes = QByteArray("\x02\x00\x02", 3) + QByteArray(9, '\0');
    for (const int v : {w & 0xFF, w >> 8, h & 0xFF, h >> 8, 0x18, 0})
        bytes += static_cast<char>(v);
    bytes += "id";
    for (int i = 0; i < w * h; ++i)
        for (const int v : {qBlue(color), qGreen(color), qRed(color)})
            bytes += static_cast<char>(v);
    return bytes + QByteArray(8, '\0') + QByteArray("TRUEVISION-XFILE.\0", 18);
}

// A 4 x 4 GIF (the toolkit writes none either): black, red, green and blue in
// diagonal stripes, pixel (x, y) of colour (x + y) % 4.
const QByteArray kGif("GIF87a\x04\x00\x04\x00\x81\x00\x00"
                      "\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff"
                      ",\x00\x00\x00\x00\x04\x00\x04\x00\x00\x02"
                      "\x0d\x04\x43\x71\x0c\xc5\x11\x14\x47\x30\x1c\xc1\x50\x05\x00;",
                      52);

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        CPicture::ClearCache();
    }
    QString Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return file.fileName();
    }
    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(PictureTest, LoadsPicturesWithTheirSizesAndStoredPixelValues)
{
    QImage image = NoiseSurface(30, 20, 1);
    image.setColorSpace(QColorSpace(QColorSpace::DisplayP3));  // must not be applied
    const auto picture = CPicture::Load(Write("a.png", Encoded(image, "PNG")));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Image().convertToFormat(QImage::Format_RGB32), NoiseSurface(30, 20, 1));

    const auto gif = CPicture::Load(Write("c.gif", kGif));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->Image().pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_TRUE(CPicture::Load(Write("really-a-png.bmp", Encoded(NoiseSurface(3, 3, 1), "PNG"))));  // the content decides
    EXPECT_TRUE(CPicture::Load(Write("widest.png", Encoded(QImage(16384, 1, QImage::Format_RGB32), "PNG"))));
    const auto tga = CPicture::Load(Write("whole.tga", Tga(5, 3, qRgb(200, 20, 10))));
    ASSERT_TRUE(tga);
    EXPECT_EQ(tga->Image().size(), QSize(5, 3));
}

TEST_F(PictureTest, BadFilesAndAbsurdSizesGiveNoPicture)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.png"));
    QStringList refused{QString(), m_dir.filePath("missing.bmp"), m_dir.filePath("folder.png"),
                        Write("empty.png", QByteArray()), Write("text.png", "this is not a picture\n"),
                        Write("garbage.bmp", QByteArray(5000, '\x42')), Write("no-trailer.gif", kGif.chopped(2)),
                        Write("huge.bmp", BmpAnnouncing(100000, 100000)),
                        Write("too-many.bmp", BmpAnnouncing(10001, 10000)),  // just over 100 million pixels
                        Write("too-wide.png", Encoded(QImage(16385, 1, QImage::Format_RGB32), "PNG"))};
    const QByteArray tga = Tga(5, 3, qRgb(200, 20, 10));
    refused << Write("cut.tga", tga.left(tga.size() - 26 - 3) + tga.right(26));  // the last pixel gone, the footer kept
    for (const char* format : {"PNG", "BMP", "JPEG", "GIF"}) {
        const QByteArray whole = qstrcmp(format, "GIF") == 0 ? kGif : Encoded(NoiseSurface(64, 48, 1), format);
        ASSERT_TRUE(CPicture::Load(Write(QStringLiteral("whole.%1").arg(format), whole))) << format;
        refused << Write(QStringLiteral("cut.%1").arg(format), whole.left(whole.size() / 2))
                << Write(QStringLiteral("stub.%1").arg(format), whole.left(20));
    }
    const QString locked = Write("locked.png", Encoded(NoiseSurface(4, 4, 1), "PNG"));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (!QFile(locked).open(QIODevice::ReadOnly))  // unless this user reads any file
        refused << locked;
    for (const QString& path : refused)
        EXPECT_FALSE(CPicture::Load(path)) << path.toStdString();
}

TEST_F(PictureTest, TheCacheKeepsThe256PicturesUsedLastAndDecodesAChangedFileAgain)
{
    const QByteArray tiny = Encoded(NoiseSurface(2, 2, 1), "BMP");
    std::vector<std::shared_ptr<const CPicture>> decoded;
    for (int i = 0; i < 257; ++i)
        decoded.push_back(CPicture::Load(Write(QStringLiteral("%1.bmp").arg(i), tiny)));
    EXPECT_NE(CPicture::Load(m_dir.filePath("0.bmp")), decoded[0]);
    EXPECT_EQ(CPicture::Load(m_dir.path() + "/./2.bmp"), decoded[2]);
    // Rewritten with other pixels: the same size of file, a later time.
    QFile changed(Write("2.bmp", Encoded(NoiseSurface(2, 2, 2), "BMP")));
    ASSERT_TRUE(changed.open(QIODevice::ReadWrite));
    ASSERT_TRUE(changed.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    EXPECT_EQ(CPicture::Load(changed.fileName())->Image().pixel(1, 1), NoiseSurface(2, 2, 2).pixel(1, 1));
}

TEST_F(PictureTest, DrawPictureCompositesAtItsNaturalSizeAndClips)
{
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(255, 0, 0, 128));        // half-transparent red
    picture.setPixel(1, 0, qRgba(0, 0, 0, 0));  // a transparent pixel
    picture.setPixel(2, 1, qRgba(0, 255, 0, 255));
    const CPicture pic(picture);  // converted to premultiplied pixels by the picture
    const QImage canvas = Drawn(20, 20, [&](CDC& dc) { DrawPicture(dc, pic, 10, 10); });
    EXPECT_EQ(At(canvas, 10, 10), RGB(0xFF, 0x7F, 0x7F));
    EXPECT_EQ(At(canvas, 12, 11), RGB(0, 255, 0));
    PixelSet covered = Box(10, 10, 13, 12);
    covered.erase({11, 10});
    EXPECT_EQ(PixelsNot(canvas), covered);
    // Only its bottom right pixel lands on the surface.
    EXPECT_EQ(PixelsNot(Drawn(2, 2, [&](CDC& dc) { DrawPicture(dc, pic, -2, -1); })), (PixelSet{{0, 0}}));
}

TEST_F(PictureTest, DrawPictureStretchedTakesThePixelUnderEachCentreOrShrinksToTheMean)
{
    QImage picture(3, 1, QImage::Format_ARGB32);
    for (const int x : {0, 1, 2})
        picture.setPixel(x, 0, std::array{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)}[x]);
    const CPicture pic(picture);
    const QImage grown = Drawn(6, 4, [&](CDC& dc) {
        DrawPictureStretched(dc, pic, 1, 0, 4, 2);
        DrawPictureStretched(dc, pic, 4, 3, -4, -1);  // mirrored both ways
        DrawPictureStretched(dc, pic, 0, 0, 0, 4);
    });
    std::string rows;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const COLORREF c = At(grown, x, y);
            rows += c == kRed ? 'R' : c == RGB(0, 255, 0) ? 'G' : c == kBlue ? 'B' : c == RGB(255, 255, 255) ? '.' : '?';
        }
    // Three pixels onto four: red, green, green, blue.
    EXPECT_EQ(rows, ".RGGB." ".RGGB." "......" ".BGGR.");

    picture.setPixel(1, 0, qRgba(0, 0, 0, 0));
    const CPicture half(picture.copy(0, 0, 2, 1));
    const QImage shrunk = Drawn(3, 2, [&](CDC& dc) { DrawPictureStretched(dc, half, 1, 0, 1, 2); });
    // Shrunk across, grown down: half-transparent red.
    EXPECT_EQ(PixelsOf(shrunk, RGB(255, 127, 127)), Box(1, 0, 2, 2));
    EXPECT_EQ(PixelsNot(shrunk).size(), 2u);
}

// Exactly the pixels whose centres lie in the ellipse or on it, boxes cut by
// the surface included.
TEST_F(PictureTest, TheOpaqueEllipseCoversExactlyThePixelCentresInsideIt)
{
    auto fill = [](int x, int y, int w, int h) {
        return PixelsOf(Drawn(60, 40, [&](CDC& dc) { FillEllipseOpaque(dc, kRed, x, y, w, h); }), kRed);
    };
    EXPECT_TRUE(fill(5, 5, 0, 10).empty());
    EXPECT_TRUE(fill(5, 5, 10, -3).empty());
    EXPECT_EQ(fill(-1000000000, -1000000000, 2000000000, 2000000000).size(), 60u * 40u);
    for (int w = 1; w <= 70; w += 5)
        for (int h = 1; h <= 50; h += 3)
            for (const auto& [x, y] : {std::pair{3, 2}, std::pair{-7, -5}, std::pair{30, 20}})
                EXPECT_EQ(fill(x, y, w, h), EllipseCentres(x, y, w, h, 60, 40)) << w << "x" << h << " at " << x << "," << y;
}
