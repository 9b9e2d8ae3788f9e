// Line and fill colour, the background picture and imported pictures, on
// exact pixels: the colour commands paint straight into the canvas and re-make
// the figure; pictures are drawn from their paths by the full redraw; a file
// that is no picture draws nothing and says nothing.
#include "support/WindowTest.h"

#include <QFile>

namespace {

using ColorCommandsTest = WindowTest;
using PictureCommandsTest = WindowTest;

TEST_F(ColorCommandsTest, ALineTurnedRedIsRedAndACrossingFigureChangesByTheNotXorRule)
{
    Add(FK_LINE, RECT{10, 50, 110, 50}, kBlack);
    Add(FK_LINE, RECT{60, 20, 60, 90}, kBlue);  // over the black line at (60, 50)
    frame.RefreshCanvas(false);
    Click(POINT{30, 50});
    ws.QueueColor(kRed);
    frame.OnCommand(ID_LAYOUT_LINECOLOR);
    EXPECT_EQ(ws.Shown(DialogKind::Color).at(0).initialColor, kBlack) << "the chooser opens at black";
    // Blue over black, then red: red ^ black ^ blue; the crossing line elsewhere
    // is untouched; the selection's handles stay.
    ExpectPixels({{30, 50, kRed}, {109, 50, kRed}, {60, 50, RGB(255, 0, 255)}, {60, 30, kBlue}, {7, 47, kBlack}});
    EXPECT_EQ(Fig(0).LineColor(), kRed);
    // Cancelled, or with nothing selected: nothing changes.
    ws.QueueColor(std::nullopt);
    frame.OnCommand(ID_LAYOUT_LINECOLOR);
    Click(POINT{600, 600});
    ws.QueueColor(kGreen);
    frame.OnCommand(ID_LAYOUT_LINECOLOR);
    EXPECT_EQ(Fig(0).LineColor(), kRed);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(ColorCommandsTest, FillCoversExactlyTheInsideOfARectangleAndTheEllipseBoxOneInAndThreeSmaller)
{
    Add(FK_RECTANGLE, RECT{20, 20, 30, 30}, kBlack, kWhite);
    Add(FK_ELLIPSE, RECT{100, 100, 200, 150}, kBlack, kWhite);
    frame.RefreshCanvas(false);
    // Each fill is checked as the command paints it, before any redraw, and
    // without the handles, which must leave no squares where they were.
    for (const POINT p : {POINT{25, 25}, POINT{150, 125}}) {
        Click(p);
        ws.QueueColor(kGreen);
        frame.OnCommand(ID_LAYOUT_FILLCOLOR);
        frame.HideHandles();
        if (p.x == 25)
            for (int y = 19; y <= 30; ++y)
                for (int x = 19; x <= 30; ++x) {
                    const bool inside = x >= 21 && x <= 28 && y >= 21 && y <= 28;
                    const bool outline = !inside && x >= 20 && x <= 29 && y >= 20 && y <= 29;
                    EXPECT_EQ(Pixel(x, y), inside ? kGreen : outline ? kBlack : kWhite) << x << "," << y;
                }
        frame.ShowHandles();
    }
    // The ellipse's fill box is x 101..197, y 101..147: a white ring stays on the right and below.
    frame.HideHandles();
    ExpectPixels({{101, 125, kGreen}, {197, 125, kGreen}, {198, 125, kWhite}, {150, 101, kGreen}, {150, 147, kGreen},
                  {150, 148, kWhite}});
    EXPECT_EQ(Figures(), (std::vector<std::string>{"rectangle 20,20,30,30 000000/00a000",
                                                   "ellipse 100,100,200,150 000000/00a000"}));
}

TEST_F(ColorCommandsTest, FillRefusesWithoutSelectionOnABorderAndSilentlyOnALine)
{
    AddPicture(FK_RECTANGLE, RECT{10, 10, 100, 100}, Picture(QStringLiteral("t.png"), 10, 10), 10, 10);
    Add(FK_LINE, RECT{200, 200, 300, 200}, kBlack);
    ExpectMessages({{{600, 600}, "First select any fig to fill"},
                    {{50, 50}, "you can't fill color inside a border"},
                    {{250, 200}, QString()}},
                   [&] {
                       ws.QueueColor(kGreen);
                       frame.OnCommand(ID_LAYOUT_FILLCOLOR);
                   });
    // A refused colour is dropped: the rectangle re-made from the selection keeps its tiles on white.
    Click(POINT{50, 50});
    Key(Qt::Key_Right);
    EXPECT_EQ(Figure(0), "rectangle 15,10,105,100 c0c0c0/ffffff t.png 10x10");
}

TEST_F(PictureCommandsTest, AnImportedPictureFillsTheRectangleExactlyAndOnlyMoves)
{
    Add(FK_ELLIPSE, RECT{500, 10, 600, 100});
    Add(FK_RECTANGLE, RECT{450, 150, 50, 50}, kBlack, kGreen);  // dragged up and to the left
    const QString needs = QStringLiteral("Plz select any rectangle so that image can be fitted in that rectangle");
    ExpectMessages({{{600, 600}, needs}, {{550, 50}, needs}, {{100, 100}, QString()}},  // the last one cancelled
                   [&] { frame.OnCommand(ID_FORMAT_IMPORT); });
    EXPECT_FALSE(Fig(1).HasPicture());
    ws.QueueOpenFiles({Picture(QStringLiteral("wide.png"), 200, 100)});
    frame.OnCommand(ID_FORMAT_IMPORT);
    Click(POINT{900, 700});
    // The picture's first pixel stretched twice as wide; nothing outside.
    ExpectPixels({{50, 50, kRed}, {51, 50, kRed}, {52, 50, kBlue}, {449, 149, kBlue}, {450, 100, kWhite},
                  {100, 150, kWhite}, {49, 100, kWhite}});
    Drag(POINT{52, 52}, POINT{62, 52});  // a corner moves it
    EXPECT_EQ(Figure(1), "rectangle 60,50,460,150 000000/ffffff wide.png 0x0");
}

TEST_F(PictureCommandsTest, TheBackgroundStaysWhenTheChooserIsCancelledAndFilesThatAreNoPictureDrawNothing)
{
    ws.QueueOpenFiles({Picture(QStringLiteral("bg.png"), 300, 200)});
    frame.OnCommand(ID_FORMAT_BACKGROUND);
    ExpectPixels({{10, 10, kRed}, {309, 209, kBlue}});
    ws.QueueOpenFiles({});  // cancelled: the background stays on, with its path
    frame.OnCommand(ID_FORMAT_BACKGROUND);
    EXPECT_EQ(Pixel(309, 209), kBlue);
    frame.OnCommand(ID_FILE_NEW);

    QFile text(dir.filePath(QStringLiteral("notes.bmp")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("just some text\n") > 0);
    text.close();
    const QImage white = Canvas();
    for (const QString& path : {text.fileName(), dir.filePath(QStringLiteral("missing.png")), dir.path()}) {
        for (UINT command : {ID_FORMAT_BACKGROUND, ID_FILE_OPEN}) {
            ws.QueueOpenFiles({path});
            frame.OnCommand(command);
            EXPECT_TRUE(Canvas() == white) << path.toStdString() << " " << command;
        }
        Add(FK_RECTANGLE, RECT{100, 100, 200, 200});
        Click(POINT{150, 150});
        ws.QueueOpenFiles({path});
        frame.OnCommand(ID_FORMAT_IMPORT);
        Click(POINT{600, 600});
        EXPECT_TRUE(Canvas() == white) << path.toStdString() << ": the picture rectangle shows nothing";
        frame.OnCommand(ID_FILE_NEW);
    }
    EXPECT_TRUE(Messages().isEmpty());
}

}  // namespace
