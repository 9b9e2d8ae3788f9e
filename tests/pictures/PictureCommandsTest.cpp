// Line and fill colour, the background picture and imported pictures, on
// exact pixels: the colour commands paint straight into the canvas and re-make
// the figure; pictures are drawn from their paths by the full redraw; a file
// that is no picture draws nothing and says nothing.
#include "editing/EditingFixture.h"

#include "resources/ResourceIds.h"

#include <QFile>

namespace {

using ColorCommandsTest = EditingTest;
using PictureCommandsTest = EditingTest;

TEST_F(ColorCommandsTest, ALineTurnedRedIsRedAndACrossingFigureChangesByTheNotXorRule)
{
    Add(FK_LINE, RECT{10, 50, 110, 50}, kBlack);
    Add(FK_LINE, RECT{60, 20, 60, 90}, kBlue);  // over the black line at (60, 50)
    frame.RefreshCanvas(false);
    Click(POINT{30, 50});
    ASSERT_EQ(frame.m_nSelected, 0);
    ws.QueueColor(kRed);
    frame.OnCommand(ID_LAYOUT_LINECOLOR);
    EXPECT_EQ(ws.Shown(DialogKind::Color).at(0).initialColor, kBlack) << "the chooser opens at black";
    EXPECT_EQ(Pixel(30, 50), kRed);
    EXPECT_EQ(Pixel(109, 50), kRed);
    EXPECT_EQ(Pixel(60, 50), RGB(255, 0, 255)) << "blue over black, then red: red ^ black ^ blue";
    EXPECT_EQ(Pixel(60, 30), kBlue) << "the crossing line elsewhere is untouched";
    EXPECT_EQ(Fig(0).LineColor(), kRed);
    EXPECT_EQ(frame.m_crLine, kRed);
    ASSERT_TRUE(frame.m_pSelRect) << "the selection stays";

    // Cancelled, or on a figure that takes no line colour: nothing changes.
    ws.QueueColor(std::nullopt);
    frame.OnCommand(ID_LAYOUT_LINECOLOR);
    Click(POINT{600, 600});
    ws.QueueColor(kGreen);
    frame.OnCommand(ID_LAYOUT_LINECOLOR);
    EXPECT_EQ(Fig(0).LineColor(), kRed);
    EXPECT_TRUE(ws.Shown(DialogKind::MessageBox).empty());
}

TEST_F(ColorCommandsTest, FillCoversExactlyTheInsideOfARectangleAndTheEllipseBoxOneInAndThreeSmaller)
{
    Add(FK_RECTANGLE, RECT{20, 20, 30, 30}, kBlack, kWhite);
    Add(FK_ELLIPSE, RECT{100, 100, 200, 150}, kBlack, kWhite);
    frame.RefreshCanvas(false);
    // Each fill is checked as the command paints it, before any redraw; a
    // click would re-make the figure and redraw the canvas.
    Click(POINT{25, 25});
    ws.QueueColor(kGreen);
    frame.OnCommand(ID_LAYOUT_FILLCOLOR);
    frame.HideHandles();  // no squares may be left where they were
    for (int y = 19; y <= 30; ++y)
        for (int x = 19; x <= 30; ++x) {
            const bool inside = x >= 21 && x <= 28 && y >= 21 && y <= 28;
            const bool outline = !inside && x >= 20 && x <= 29 && y >= 20 && y <= 29;
            EXPECT_EQ(Pixel(x, y), inside ? kGreen : outline ? kBlack : kWhite) << x << "," << y;
        }
    frame.ShowHandles();
    Click(POINT{150, 125});
    ws.QueueColor(kGreen);
    frame.OnCommand(ID_LAYOUT_FILLCOLOR);
    frame.HideHandles();
    // The ellipse's fill box is x 101..197, y 101..147: a white ring stays on the right and below.
    EXPECT_EQ(Pixel(101, 125), kGreen);
    EXPECT_EQ(Pixel(197, 125), kGreen);
    EXPECT_EQ(Pixel(198, 125), kWhite);
    EXPECT_EQ(Pixel(150, 101), kGreen);
    EXPECT_EQ(Pixel(150, 147), kGreen);
    EXPECT_EQ(Pixel(150, 148), kWhite);
    EXPECT_EQ(Fig(0).FillColor(), kGreen);
    EXPECT_EQ(Fig(1).FillColor(), kGreen);
    EXPECT_EQ(Fig(1).LineColor(), kBlack);
}

TEST_F(ColorCommandsTest, FillRefusesWithoutSelectionOnABorderAndSilentlyOnALine)
{
    AddPicture(FK_RECTANGLE, RECT{10, 10, 100, 100}, Picture(QStringLiteral("t.png"), 10, 10), 10, 10);
    Add(FK_LINE, RECT{200, 200, 300, 200}, kBlack);
    ExpectMessages(
        {
            {{600, 600}, QStringLiteral("First select any fig to fill")},
            {{50, 50}, QStringLiteral("you can't fill color inside a border")},
            {{250, 200}, QString()},
        },
        [&] {
            ws.QueueColor(kGreen);
            frame.OnCommand(ID_LAYOUT_FILLCOLOR);
        });
    EXPECT_EQ(Fig(0).m_dTileWidth, 10.0) << "the border keeps its tiles";
    EXPECT_EQ(Fig(0).FillColor(), kWhite);
    EXPECT_EQ(frame.m_crFill, kWhite) << "a refused colour is dropped";
}

TEST_F(PictureCommandsTest, AnImportedPictureFillsTheRectangleExactly)
{
    Add(FK_RECTANGLE, RECT{450, 150, 50, 50}, kBlack, kGreen);  // dragged up and to the left
    Click(POINT{100, 100});
    ws.QueueOpenFiles({Picture(QStringLiteral("wide.png"), 200, 100)});
    frame.OnCommand(ID_FORMAT_IMPORT);
    Click(POINT{900, 700});
    EXPECT_EQ(Pixel(50, 50), kRed) << "the picture's first pixel, stretched twice as wide";
    EXPECT_EQ(Pixel(51, 50), kRed);
    EXPECT_EQ(Pixel(52, 50), kBlue);
    EXPECT_EQ(Pixel(449, 149), kBlue);
    EXPECT_EQ(Pixel(450, 100), kWhite);
    EXPECT_EQ(Pixel(100, 150), kWhite);
    EXPECT_EQ(Pixel(49, 100), kWhite);
    EXPECT_EQ(Fig(0).FillColor(), kWhite);

    // The picture rectangle only moves now.
    Press(POINT{52, 52});
    EXPECT_EQ(frame.m_nMode, MODE_MOVE);
}

TEST_F(PictureCommandsTest, ImportNeedsARectangleAndACancelledChooserChangesNothing)
{
    Add(FK_ELLIPSE, RECT{10, 10, 100, 100});
    for (bool select : {false, true}) {
        if (select)
            Click(POINT{50, 50});
        frame.OnCommand(ID_FORMAT_IMPORT);
    }
    const auto shown = ws.Shown(DialogKind::MessageBox);
    ASSERT_EQ(shown.size(), 2u);
    for (const auto& m : shown)
        EXPECT_EQ(m.text, QStringLiteral("Plz select any rectangle so that image can be fitted in that rectangle"));
    EXPECT_TRUE(ws.Shown(DialogKind::OpenFile).empty());

    Add(FK_RECTANGLE, RECT{200, 200, 300, 300});
    Click(POINT{250, 250});
    ws.QueueOpenFiles({});
    frame.OnCommand(ID_FORMAT_IMPORT);
    EXPECT_FALSE(Fig(1).HasPicture());
}

TEST_F(PictureCommandsTest, TheBackgroundLiesUnderTheFiguresUntilNew)
{
    ws.QueueOpenFiles({Picture(QStringLiteral("bg.png"), 300, 200)});
    frame.OnCommand(ID_FORMAT_BACKGROUND);
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(309, 209), kBlue);
    EXPECT_EQ(Pixel(310, 100), kWhite);
    EXPECT_EQ(Pixel(9, 10), kWhite);
    Add(FK_RECTANGLE, RECT{100, 100, 200, 150}, kBlack, kGreen);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(150, 120), kGreen) << "figures cover it";
    EXPECT_EQ(Pixel(50, 50), kBlue);

    ws.QueueOpenFiles({});  // cancelled: the background stays on, with its path
    frame.OnCommand(ID_FORMAT_BACKGROUND);
    EXPECT_EQ(Pixel(50, 50), kBlue);

    frame.OnCommand(ID_FILE_NEW);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(50, 50), kWhite) << "gone after New, also after later redraws";
    EXPECT_EQ(frame.m_bBackground, 0);
}

TEST_F(PictureCommandsTest, AFileThatIsNoPictureDrawsNothingAndSaysNothingAtEveryEntry)
{
    const QString good = Picture(QStringLiteral("good.png"), 40, 40);
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray png = goodFile.readAll();
    QImage jpegImage(64, 64, QImage::Format_RGB32);
    jpegImage.fill(Qt::blue);
    ASSERT_TRUE(jpegImage.save(dir.filePath(QStringLiteral("j.jpg")), "JPG"));
    ASSERT_TRUE(jpegImage.save(dir.filePath(QStringLiteral("b.bmp")), "BMP"));
    const auto bytesOf = [&](const QString& name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    // A bitmap header that announces 100,000 x 100,000 pixels and has none.
    QByteArray huge = bytesOf(QStringLiteral("b.bmp")).left(54);
    for (int i = 0; i < 4; ++i) {
        huge[18 + i] = static_cast<char>((100000 >> (8 * i)) & 0xFF);
        huge[22 + i] = static_cast<char>((100000 >> (8 * i)) & 0xFF);
    }
    const std::pair<QString, QByteArray> files[] = {
        {QStringLiteral("empty.png"), QByteArray()},
        {QStringLiteral("cut.png"), png.left(png.size() / 2)},
        {QStringLiteral("cut.jpg"), bytesOf(QStringLiteral("j.jpg")).left(200)},
        {QStringLiteral("cut.bmp"), bytesOf(QStringLiteral("b.bmp")).left(300)},
        {QStringLiteral("huge.bmp"), huge},
        {QStringLiteral("notes.bmp"), QByteArray("just some text\n")},
    };
    QStringList bad = {dir.filePath(QStringLiteral("missing.png")), dir.path()};
    for (const auto& [name, bytes] : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        bad << f.fileName();
    }
    frame.RefreshCanvas(false);
    const QImage white = Canvas();
    for (const QString& path : bad) {
        SCOPED_TRACE(path.toStdString());
        ws.QueueOpenFiles({path});
        frame.OnCommand(ID_FORMAT_BACKGROUND);
        EXPECT_TRUE(Canvas() == white);
        ws.QueueOpenFiles({path});
        frame.OnCommand(ID_FILE_OPEN);
        EXPECT_TRUE(Canvas() == white);
        g_pFigures->RemoveAll();
        Add(FK_RECTANGLE, RECT{100, 100, 200, 200});
        Click(POINT{150, 150});
        ws.QueueOpenFiles({path});
        frame.OnCommand(ID_FORMAT_IMPORT);
        Click(POINT{600, 600});
        EXPECT_TRUE(Canvas() == white) << "the picture rectangle shows nothing";
        frame.OnCommand(ID_FILE_NEW);
    }
    EXPECT_TRUE(ws.Shown(DialogKind::MessageBox).empty());
}

}  // namespace
