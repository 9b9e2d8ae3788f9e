// Pictures: loading without colour management, refusing every kind of bad
// file, the cache, drawing at natural size and stretched, and the ellipse fills.
#include "GdiTestSupport.h"

#include "platform/Picture.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

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

// A 4 x 4 GIF (the toolkit writes none): black, red, green and blue in
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
    EXPECT_EQ(picture->Image().format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(picture->Image().convertToFormat(QImage::Format_RGB32), NoiseSurface(30, 20, 1));

    const auto gif = CPicture::Load(Write("c.gif", kGif));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->Image().pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_TRUE(CPicture::Load(Write("really-a-png.bmp", Encoded(NoiseSurface(3, 3, 1), "PNG"))));  // the content decides
}

TEST_F(PictureTest, EveryKindOfBadFileGivesNoPicture)
{
    EXPECT_FALSE(CPicture::Load(QString()));
    EXPECT_FALSE(CPicture::Load(m_dir.filePath("missing.bmp")));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.png"));
    EXPECT_FALSE(CPicture::Load(m_dir.filePath("folder.png")));
    EXPECT_FALSE(CPicture::Load(Write("empty.png", QByteArray())));
    EXPECT_FALSE(CPicture::Load(Write("text.png", "this is not a picture\n")));
    EXPECT_FALSE(CPicture::Load(Write("garbage.bmp", QByteArray(5000, '\x42'))));
    EXPECT_FALSE(CPicture::Load(Write("no-trailer.gif", kGif.chopped(2))));
    for (const char* format : {"PNG", "BMP", "JPEG", "GIF"}) {
        const QByteArray whole = qstrcmp(format, "GIF") == 0 ? kGif : Encoded(NoiseSurface(64, 48, 1), format);
        ASSERT_TRUE(CPicture::Load(Write(QStringLiteral("whole.%1").arg(format), whole))) << format;
        EXPECT_FALSE(CPicture::Load(Write(QStringLiteral("cut.%1").arg(format), whole.left(whole.size() / 2))))
            << format << " cut in half";
        EXPECT_FALSE(CPicture::Load(Write(QStringLiteral("stub.%1").arg(format), whole.left(20)))) << format;
    }

    QByteArray huge = Encoded(NoiseSurface(4, 4, 1), "BMP");  // a header announcing 100000 x 100000 pixels
    qToLittleEndian<qint32>(100000, huge.data() + 18);
    qToLittleEndian<qint32>(100000, huge.data() + 22);
    EXPECT_FALSE(CPicture::Load(Write("huge.bmp", huge)));
    const QString locked = Write("locked.png", Encoded(NoiseSurface(4, 4, 1), "PNG"));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (!QFile(locked).open(QIODevice::ReadOnly)) {  // unless this user reads any file
        EXPECT_FALSE(CPicture::Load(locked));
    }
}

TEST_F(PictureTest, TheLimitsAreSixteenThousandPixelsASideAHundredMillionInAllAndTwoHundredFiftySixKept)
{
    EXPECT_TRUE(CPicture::Load(Write("widest.png", Encoded(QImage(16384, 1, QImage::Format_RGB32), "PNG"))));
    EXPECT_FALSE(CPicture::Load(Write("too-wide.png", Encoded(QImage(16385, 1, QImage::Format_RGB32), "PNG"))));
    QByteArray many = Encoded(NoiseSurface(4, 4, 1), "BMP");  // 10,001 x 10,000: just over 100 million
    qToLittleEndian<qint32>(10001, many.data() + 18);
    qToLittleEndian<qint32>(10000, many.data() + 22);
    EXPECT_FALSE(CPicture::Load(Write("too-many.bmp", many)));

    // The cache keeps the 256 pictures used last: after 257 the first is
    // decoded again, and the third is still the one decoded first.
    const QByteArray tiny = Encoded(NoiseSurface(2, 2, 1), "PNG");
    std::vector<std::shared_ptr<const CPicture>> decoded;
    for (int i = 0; i < 257; ++i)
        decoded.push_back(CPicture::Load(Write(QStringLiteral("%1.png").arg(i), tiny)));
    EXPECT_NE(CPicture::Load(m_dir.filePath("0.png")), decoded[0]);
    EXPECT_EQ(CPicture::Load(m_dir.filePath("2.png")), decoded[2]);
}

TEST_F(PictureTest, TheCacheHandsOutOnePictureUntilTheFileChanges)
{
    const QString path = Write("p.png", Encoded(NoiseSurface(8, 8, 1), "PNG"));
    const auto first = CPicture::Load(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(CPicture::Load(m_dir.path() + "/./p.png"), first);

    Write("p.png", Encoded(NoiseSurface(9, 3, 1), "PNG"));  // another size of file and picture
    const auto second = CPicture::Load(path);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->GetWidth(), 9);
    EXPECT_EQ(first->GetWidth(), 8);  // a holder keeps its picture

    QFile::remove(path);
    EXPECT_FALSE(CPicture::Load(path));
}

TEST_F(PictureTest, DrawPictureCompositesAtItsNaturalSizeAndClips)
{
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(255, 0, 0, 128));        // half-transparent red
    picture.setPixel(1, 0, qRgba(0, 0, 0, 0));  // a transparent pixel
    picture.setPixel(2, 1, qRgba(0, 255, 0, 255));
    const CPicture pic(picture);  // converted to premultiplied pixels by the picture
    QImage canvas = Surface(20, 20);
    CDC dc(canvas);
    DrawPicture(dc, pic, 10, 10);
    EXPECT_EQ(At(canvas, 10, 10), RGB(0xFF, 0x7F, 0x7F));
    EXPECT_EQ(At(canvas, 12, 11), RGB(0, 255, 0));
    PixelSet covered = Box(10, 10, 13, 12);
    covered.erase({11, 10});
    EXPECT_EQ(PixelsNot(canvas), covered);

    QImage corner = Surface(2, 2);
    CDC cdc(corner);
    DrawPicture(cdc, pic, -2, -1);  // only its bottom right pixel lands on the surface
    EXPECT_EQ(PixelsOf(corner, RGB(0, 255, 0)), (PixelSet{{0, 0}}));
    EXPECT_EQ(PixelsNot(corner).size(), 1u);
}

TEST_F(PictureTest, DrawPictureStretchedSamplesThePixelUnderEachCentre)
{
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    const CPicture pic(picture);
    QImage canvas = Surface(6, 4);
    CDC dc(canvas);
    DrawPictureStretched(dc, pic, 1, 1, 4, 2);
    EXPECT_EQ(PixelsOf(canvas, RGB(255, 0, 0)), Box(1, 1, 3, 3));
    EXPECT_EQ(PixelsOf(canvas, RGB(0, 0, 255)), Box(3, 1, 5, 3));
    QImage mirrored = Surface(6, 4);
    CDC mdc(mirrored);
    DrawPictureStretched(mdc, pic, 4, 1, -4, 2);
    DrawPictureStretched(mdc, pic, 0, 0, 0, 4);
    EXPECT_EQ(PixelsOf(mirrored, RGB(0, 0, 255)), Box(1, 1, 3, 3));
    EXPECT_EQ(PixelsNot(mirrored).size(), 8u);
}

TEST_F(PictureTest, DrawPictureStretchedShrinksToTheMeanTransparencyIncluded)
{
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(255, 0, 0, 255));
    picture.setPixel(1, 0, qRgba(0, 0, 0, 0));
    const CPicture pic(picture);
    QImage canvas = Surface(3, 2);
    CDC dc(canvas);
    DrawPictureStretched(dc, pic, 1, 0, 1, 2);  // shrunk across, grown down: half-transparent red
    EXPECT_EQ(PixelsOf(canvas, RGB(255, 127, 127)), Box(1, 0, 2, 2));
    EXPECT_EQ(PixelsNot(canvas).size(), 2u);
}

TEST_F(PictureTest, TheOpaqueEllipseCoversExactlyThePixelCentresInsideIt)
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
    EXPECT_EQ(fill(-1000000000, -1000000000, 2000000000, 2000000000).size(), 60u * 40u);
    // Exactly the pixels whose centres lie in the ellipse or on it, boxes cut
    // by the surface included.
    for (int w = 1; w <= 70; w += 5)
        for (int h = 1; h <= 50; h += 3)
            for (const auto& [x, y] : {std::pair{3, 2}, std::pair{-7, -5}, std::pair{30, 20}}) {
                PixelSet inside;
                for (int py = 0; py < 40; ++py)
                    for (int px = 0; px < 60; ++px) {
                        const long long u = 2LL * px + 1 - 2LL * x - w, v = 2LL * py + 1 - 2LL * y - h;
                        if (u * u * h * h + v * v * w * w <= 1LL * w * w * h * h)
                            inside.insert({px, py});
                    }
                EXPECT_EQ(fill(x, y, w, h), inside) << w << "x" << h << " at " << x << "," << y;
            }
}
