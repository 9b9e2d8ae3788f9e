// Pictures: loading without colour management, refusing every kind of bad
// file, the cache, drawing at natural size and stretched, and the opaque
// ellipse fill.
#include "GdiTestSupport.h"

#include "platform/Picture.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace gditest;

namespace {

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

// A picture with varied colours, so that encoders cannot shrink it to nothing.
QImage Sample(int w, int h, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba((x * 37) & 0xFF, (y * 53) & 0xFF, ((x ^ y) * 11) & 0xFF, 255));
    return image;
}

// A 16 x 16 GIF of four colours in diagonal stripes (the toolkit writes no
// GIF). Each pixel is coded as a clear code and a literal, which keeps the
// code size at 3 bits.
QByteArray StripedGif()
{
    QByteArray bits;  // one entry a bit, least significant first
    auto put = [&](int code) {
        for (int i = 0; i < 3; ++i)
            bits.append(static_cast<char>((code >> i) & 1));
    };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            put(4);
            put((x + y) % 4);
        }
    put(5);
    QByteArray data;
    for (qsizetype i = 0; i < bits.size(); i += 8) {
        int byte = 0;
        for (int j = 0; j < 8 && i + j < bits.size(); ++j)
            byte |= bits[i + j] << j;
        data.append(static_cast<char>(byte));
    }
    QByteArray gif("GIF87a\x10\x00\x10\x00\x81\x00\x00", 13);
    gif.append(QByteArray("\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff", 12));
    gif.append(QByteArray(",\x00\x00\x00\x00\x10\x00\x10\x00\x00\x02", 11));
    for (qsizetype i = 0; i < data.size(); i += 255) {
        const QByteArray block = data.mid(i, 255);
        gif.append(static_cast<char>(block.size()));
        gif.append(block);
    }
    gif.append('\0');
    gif.append(';');
    return gif;
}

quint32 Crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : data) {
        crc ^= static_cast<uchar>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        CPicture::ClearCache();
    }
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(PictureTest, LoadsPicturesWithTheirSizesAndStoredPixelValues)
{
    QImage image = Sample(30, 20);
    image.setColorSpace(QColorSpace(QColorSpace::DisplayP3));  // must not be applied
    const QString png = Write("a.png", Encoded(image, "PNG"));
    const auto picture = CPicture::Load(png);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->GetWidth(), 30);
    EXPECT_EQ(picture->GetHeight(), 20);
    EXPECT_FLOAT_EQ(picture->GetWidthF(), 30.0f);
    EXPECT_FLOAT_EQ(picture->GetHeightF(), 20.0f);
    EXPECT_EQ(picture->Image().format(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(picture->Image().pixel(x, y), image.pixel(x, y)) << x << "," << y;

    const auto bmp = CPicture::Load(Write("b.bmp", Encoded(Sample(7, 5), "BMP")));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->Image().pixel(6, 4), Sample(7, 5).pixel(6, 4));
    const auto gif = CPicture::Load(Write("c.gif", StripedGif()));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->Image().pixel(3, 2), qRgb(255, 0, 0));  // stripe 1 is red
    // The content decides, not the name.
    EXPECT_TRUE(CPicture::Load(Write("really-a-png.bmp", Encoded(Sample(3, 3), "PNG"))));
}

TEST_F(PictureTest, EveryKindOfBadFileGivesNoPicture)
{
    EXPECT_FALSE(CPicture::Load(QString()));
    EXPECT_FALSE(CPicture::Load(m_dir.filePath("missing.bmp")));
    EXPECT_FALSE(CPicture::Load(m_dir.path()));  // a folder
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.png"));
    EXPECT_FALSE(CPicture::Load(m_dir.filePath("folder.png")));
    EXPECT_FALSE(CPicture::Load(Write("empty.png", QByteArray())));
    EXPECT_FALSE(CPicture::Load(Write("text.png", "this is not a picture\n")));
    EXPECT_FALSE(CPicture::Load(Write("garbage.bmp", QByteArray(5000, '\x42'))));

    const QImage sample = Sample(64, 48);
    for (const char* format : {"PNG", "BMP", "JPEG", "GIF"}) {
        const QByteArray whole = qstrcmp(format, "GIF") == 0 ? StripedGif() : Encoded(sample, format);
        ASSERT_TRUE(CPicture::Load(Write(QStringLiteral("whole.%1").arg(format), whole))) << format;
        EXPECT_FALSE(CPicture::Load(Write(QStringLiteral("cut.%1").arg(format), whole.left(whole.size() / 2))))
            << format << " cut in half";
        EXPECT_FALSE(CPicture::Load(Write(QStringLiteral("stub.%1").arg(format), whole.left(20)))) << format;
    }
}

TEST_F(PictureTest, AbsurdDimensionsAreRefusedBeforeDecoding)
{
    // A BMP header announcing 100000 x 100000 pixels of 24 bits.
    QByteArray bmp = Encoded(Sample(4, 4), "BMP");
    qToLittleEndian<qint32>(100000, bmp.data() + 18);
    qToLittleEndian<qint32>(100000, bmp.data() + 22);
    EXPECT_FALSE(CPicture::Load(Write("huge.bmp", bmp)));

    // A PNG whose header (with a valid checksum) announces 20000 x 20000.
    QByteArray png = Encoded(Sample(4, 4), "PNG");
    qToBigEndian<quint32>(20000, png.data() + 16);
    qToBigEndian<quint32>(20000, png.data() + 20);
    qToBigEndian<quint32>(Crc32(png.mid(12, 17)), png.data() + 29);
    EXPECT_FALSE(CPicture::Load(Write("huge.png", png)));

    // 16384 is allowed per side, but not 16384 x 16384 (over 100 million pixels).
    qToBigEndian<quint32>(16384, png.data() + 16);
    qToBigEndian<quint32>(16384, png.data() + 20);
    qToBigEndian<quint32>(Crc32(png.mid(12, 17)), png.data() + 29);
    EXPECT_FALSE(CPicture::Load(Write("square.png", png)));
}

TEST_F(PictureTest, AnUnreadableFileGivesNoPicture)
{
    const QString path = Write("locked.png", Encoded(Sample(4, 4), "PNG"));
    QFile::setPermissions(path, QFileDevice::Permissions());
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this user reads files whatever their permissions";
    EXPECT_FALSE(CPicture::Load(path));
}

TEST_F(PictureTest, TheCacheHandsOutOnePictureUntilTheFileChanges)
{
    const QString path = Write("p.png", Encoded(Sample(8, 8), "PNG"));
    const auto first = CPicture::Load(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(CPicture::Load(path), first);
    EXPECT_EQ(CPicture::Load(m_dir.path() + "/./p.png"), first);

    Write("p.png", Encoded(Sample(9, 3), "PNG"));  // another size of file and picture
    const auto second = CPicture::Load(path);
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->GetWidth(), 9);
    EXPECT_EQ(first->GetWidth(), 8);  // a holder keeps its picture

    CPicture::ClearCache();
    const auto third = CPicture::Load(path);
    EXPECT_NE(third, second);
    EXPECT_EQ(third->GetHeight(), 3);
    QFile::remove(path);
    EXPECT_FALSE(CPicture::Load(path));
}

TEST_F(PictureTest, DrawPictureCompositesAtItsNaturalSize)
{
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(255, 0, 0, 128));     // half-transparent red
    picture.setPixel(1, 0, qRgba(0, 0, 0, 0));  // a transparent pixel
    picture.setPixel(2, 1, qRgba(0, 255, 0, 255));
    const CPicture pic(picture);  // converted to premultiplied pixels by the picture
    QImage canvas = Surface(20, 20);
    CDC dc(canvas);
    DrawPicture(dc, pic, 10, 10);
    EXPECT_EQ(At(canvas, 10, 10), RGB(0xFF, 0x7F, 0x7F));
    EXPECT_EQ(At(canvas, 11, 10), RGB(255, 255, 255));
    EXPECT_EQ(At(canvas, 12, 11), RGB(0, 255, 0));
    PixelSet covered = Box(10, 10, 13, 12);
    covered.erase({11, 10});
    EXPECT_EQ(PixelsNot(canvas), covered);

    QImage corner = Surface(2, 2);
    CDC cdc(corner);
    DrawPicture(cdc, pic, -2, -1);  // only its bottom right pixel lands on the surface
    EXPECT_EQ(PixelsNot(corner), (PixelSet{{0, 0}}));
    EXPECT_EQ(At(corner, 0, 0), RGB(0, 255, 0));
}

TEST_F(PictureTest, DrawPictureStretchedSamplesThePixelUnderEachCentre)
{
    QImage picture(2, 1, QImage::Format_ARGB32_Premultiplied);
    picture.setPixel(0, 0, qRgba(255, 0, 0, 255));
    picture.setPixel(1, 0, qRgba(0, 0, 255, 255));
    const CPicture pic(picture);
    QImage canvas = Surface(6, 4);
    CDC dc(canvas);
    DrawPictureStretched(dc, pic, 1, 1, 4, 2);
    EXPECT_EQ(PixelsOf(canvas, RGB(255, 0, 0)), Box(1, 1, 3, 3));
    EXPECT_EQ(PixelsOf(canvas, RGB(0, 0, 255)), Box(3, 1, 5, 3));
    QImage mirrored = Surface(6, 4);
    CDC mdc(mirrored);
    DrawPictureStretched(mdc, pic, 4, 1, -4, 2);
    EXPECT_EQ(PixelsOf(mirrored, RGB(0, 0, 255)), Box(1, 1, 3, 3));
    DrawPictureStretched(mdc, pic, 0, 0, 0, 4);
    EXPECT_EQ(PixelsNot(mirrored).size(), 8u);
}

TEST_F(PictureTest, TheOpaqueEllipseCoversThePixelCentresInsideItSymmetrically)
{
    auto fill = [](int x, int y, int w, int h) {
        QImage canvas = Surface(60, 40);
        CDC dc(canvas);
        FillEllipseOpaque(dc, RGB(255, 0, 0), x, y, w, h);
        return PixelsOf(canvas, RGB(255, 0, 0));
    };
    EXPECT_EQ(fill(5, 5, 1, 1), (PixelSet{{5, 5}}));
    EXPECT_EQ(fill(5, 5, 2, 2), Box(5, 5, 7, 7));
    PixelSet round = Box(5, 5, 9, 9);  // 4 x 4: the corner centres lie outside
    for (const Pixel& p : PixelSet{{5, 5}, {8, 5}, {5, 8}, {8, 8}})
        round.erase(p);
    EXPECT_EQ(fill(5, 5, 4, 4), round);
    EXPECT_TRUE(fill(5, 5, 0, 10).empty());
    EXPECT_TRUE(fill(5, 5, 10, -3).empty());
    for (int w = 1; w <= 40; w += 3)
        for (int h = 1; h <= 30; h += 4) {
            const PixelSet set = fill(3, 2, w, h);
            ASSERT_FALSE(set.empty());
            for (const Pixel& p : set) {
                EXPECT_TRUE(p.first >= 3 && p.first < 3 + w && p.second >= 2 && p.second < 2 + h);
                EXPECT_TRUE(set.count({2 * 3 + w - 1 - p.first, p.second})) << w << "x" << h;
                EXPECT_TRUE(set.count({p.first, 2 * 2 + h - 1 - p.second})) << w << "x" << h;
            }
            // The middle row and column run from edge to edge.
            EXPECT_TRUE(set.count({3, 2 + h / 2}) && set.count({3 + w - 1, 2 + h / 2}));
            EXPECT_TRUE(set.count({3 + w / 2, 2}) && set.count({3 + w / 2, 2 + h - 1}));
        }
    // An ellipse far larger than the surface covers all of it.
    EXPECT_EQ(fill(-1000000000, -1000000000, 2000000000, 2000000000).size(), 60u * 40u);
}

TEST_F(PictureTest, ATranslucentEllipseBlendsOverTheSurface)
{
    QImage canvas = Surface(10, 10);
    CDC dc(canvas);
    FillEllipseArgb(dc, 0x80FF0000u, 0, 0, 10, 10);
    EXPECT_EQ(At(canvas, 5, 5), RGB(0xFF, 0x7F, 0x7F));
    EXPECT_EQ(At(canvas, 0, 0), RGB(255, 255, 255));
    FillEllipseArgb(dc, 0x00000000u, 0, 0, 10, 10);
    EXPECT_EQ(At(canvas, 5, 5), RGB(0xFF, 0x7F, 0x7F));
}
