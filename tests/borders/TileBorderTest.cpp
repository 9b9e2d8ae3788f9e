// Tile borders: the fitting of the tile size, the Border dialog driven as a
// user drives it, and the borders it makes round the whole window and round
// a selected white rectangle, on exact tile positions.
#include "editing/EditingFixture.h"

#include "borders/TileBorder.h"
#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"

namespace {

TEST(FitTileSizeTest, WholeTilesFillTheSideAndAMoreThanHalfRestAddsOne)
{
    const std::tuple<int, double, double> table[] = {
        {1024, 50, 51.2},        {688, 50, 688.0 / 14},  // rest 38 > 25: one tile more
        {300, 50, 50},           {320, 50, 320.0 / 6},   {210, 50, 52.5},
        {275, 50, 275.0 / 5},    // rest exactly half a tile: no tile more
        {30, 50, 30},            // rest over half: one tile
        {10, 50, 10},            // a side much shorter than the tile still gets one
        {0, 50, 0},              {-5, 50, 0},            {100, 0, 0},
    };
    for (const auto& [length, tile, fitted] : table)
        EXPECT_DOUBLE_EQ(FitTileSize(length, tile), fitted) << length << " / " << tile;
}

class TileBorderTest : public EditingTest {
protected:
    TileBorderTest() { g_strTilePicture.clear(); }
    // Runs the Border command with the dialog answered by `steps`, each a
    // user action on the open dialog.
    void Border(std::function<void(CDialog&)> fill)
    {
        ModalDialogScript script;
        script.Then(std::move(fill));
        frame.OnCommand(ID_INSERT_BORDER);
    }
    // Chooses the tile picture with "...", sets the sizes and presses OK.
    std::function<void(CDialog&)> Choose(const QString& tile, const QString& w = "50", const QString& h = "50",
                                         bool outer = false)
    {
        return [=, this](CDialog& d) {
            ws.QueueOpenFiles({tile});
            d.SendCommand(IDC_BORDER_BROWSE);
            d.SetDlgItemText(IDC_BORDER_WIDTH, w);
            d.SetDlgItemText(IDC_BORDER_HEIGHT, h);
            if (outer)
                d.CheckDlgButton(IDC_BORDER_OUTER, BST_CHECKED);
            d.SendCommand(IDC_BORDER_OK);
        };
    }
};

TEST_F(TileBorderTest, TheDialogStartsAtFiftyWithAllCheckedAndWantsAFileAndASize)
{
    QStringList fields;
    Border([&](CDialog& d) {
        fields << d.GetDlgItemText(IDC_BORDER_WIDTH) << d.GetDlgItemText(IDC_BORDER_HEIGHT)
               << d.GetDlgItemText(IDC_BORDER_FILE) << QString::number(d.IsDlgButtonChecked(IDC_BORDER_ALL))
               << QString::number(d.IsDlgButtonChecked(IDC_BORDER_OUTER));
        d.SendCommand(IDC_BORDER_OK);  // no file yet
        EXPECT_FALSE(d.IsEnded());
        ws.QueueOpenFiles({QStringLiteral("/tiles/t.bmp")});
        d.SendCommand(IDC_BORDER_BROWSE);
        fields << d.GetDlgItemText(IDC_BORDER_FILE);
        d.SetDlgItemText(IDC_BORDER_WIDTH, QString());
        d.SendCommand(IDC_BORDER_OK);  // a tile of no width
        EXPECT_FALSE(d.IsEnded());
        d.SendCommand(IDCANCEL);
    });
    EXPECT_EQ(fields, (QStringList{"50", "50", "", "1", "0", "/tiles/t.bmp"}));
    const auto shown = ws.Shown(DialogKind::MessageBox);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Plz select a file that need to be applied as a border"));
    EXPECT_EQ(shown[1].text, QStringLiteral("The tile width and height must be at least 1."));
    EXPECT_EQ(ws.Shown(DialogKind::OpenFile).at(0).filter, kBitmapFilter);
    EXPECT_EQ(g_pFigures->GetSize(), 0);

    // The next showing starts at 50 again, with an empty file field.
    Border([&](CDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_BORDER_WIDTH), QStringLiteral("50"));
        EXPECT_TRUE(d.GetDlgItemText(IDC_BORDER_FILE).isEmpty());
        d.SendCommand(IDCANCEL);
    });
}

TEST_F(TileBorderTest, AnOuterBorderTilesTheFullScreenClientAreaAndReplacesItself)
{
    const QString tile = Picture(QStringLiteral("tile.png"), 10, 10);
    Add(FK_RECTANGLE, RECT{400, 300, 500, 400});
    Border(Choose(tile, "50", "50", true));
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    const CShapeFigure& border = Fig(1);
    EXPECT_EQ(border.m_nKind, FK_BORDER);
    EXPECT_EQ(border.m_rect, (RECT{0, 30, 1024, 718})) << "a 1024 x 738 full-screen client area";
    EXPECT_DOUBLE_EQ(border.m_dTileWidth, 51.2);
    EXPECT_DOUBLE_EQ(border.m_dTileHeight, 688.0 / 14);
    // 14 tiles in each column (x 0 and 972), 18 in each row between them (x 51 .. 921);
    // each tile's first pixels are the picture's red corner.
    for (POINT p : {POINT{0, 30}, POINT{0, 79}, POINT{0, 668}, POINT{972, 30}, POINT{972, 668}, POINT{51, 30},
                    POINT{921, 30}, POINT{51, 668}, POINT{921, 668}})
        EXPECT_EQ(Pixel(p.x, p.y), kRed) << p.x << "," << p.y;
    EXPECT_EQ(Pixel(0, 29), kWhite);
    EXPECT_EQ(Pixel(1022, 716), kBlue) << "the last tile, 51 x 49 from (972, 668)";
    EXPECT_EQ(Pixel(1023, 716), kWhite) << "tile corners are truncated: the column stops a pixel short";
    EXPECT_EQ(Pixel(500, 400), kWhite) << "nothing inside the frame";

    Border(Choose(tile, "100", "100", true));
    ASSERT_EQ(g_pFigures->GetSize(), 2) << "one border, in the place of the first";
    EXPECT_DOUBLE_EQ(Fig(1).m_dTileWidth, 1024.0 / 10);
    EXPECT_EQ(frame.FindOuterBorder(), 1);
}

TEST_F(TileBorderTest, ASelectedWhiteRectangleGetsWholeTilesOnEachSideAndOnlyMoves)
{
    const QString tile = Picture(QStringLiteral("tile.png"), 10, 10);
    Add(FK_RECTANGLE, RECT{400, 300, 100, 100}, kBlack, kWhite);  // dragged up and to the left
    Click(POINT{200, 200});
    Border(Choose(tile));
    const CShapeFigure& f = Fig(0);
    EXPECT_EQ(f.m_nKind, FK_RECTANGLE);
    EXPECT_EQ(f.m_rect, (RECT{100, 100, 400, 300}));
    EXPECT_DOUBLE_EQ(f.m_dTileWidth, 50);
    EXPECT_DOUBLE_EQ(f.m_dTileHeight, 50);
    EXPECT_EQ(f.m_strPicture, tile);
    // Columns at x 100 and 350, rows at y 100 and 250 for x 150 to 300.
    for (POINT p : {POINT{100, 100}, POINT{100, 250}, POINT{350, 100}, POINT{350, 250}, POINT{150, 100},
                    POINT{300, 100}, POINT{150, 250}, POINT{300, 250}})
        EXPECT_EQ(Pixel(p.x + 4, p.y + 4), kRed) << p.x << "," << p.y;  // inside the handle rings
    EXPECT_EQ(Pixel(200, 200), kWhite) << "no fill inside";
    EXPECT_EQ(Pixel(97, 97), kBlack) << "still selected, with its handles";

    Press(POINT{102, 102});
    EXPECT_EQ(frame.m_nMode, MODE_MOVE) << "a corner moves it: a bordered rectangle is not resized";
    Move(POINT{112, 102});
    Release(POINT{112, 102});
    EXPECT_EQ(Fig(0).m_rect, (RECT{110, 100, 410, 300}));
    EXPECT_DOUBLE_EQ(Fig(0).m_dTileWidth, 50) << "the tiles go along";
}

TEST_F(TileBorderTest, WithoutSelectionOnAColouredFigureOrOnAWhiteEllipseNoBorderIsMade)
{
    const QString tile = Picture(QStringLiteral("tile.png"), 10, 10);
    Add(FK_RECTANGLE, RECT{10, 10, 100, 100}, kBlack, kRed);
    Add(FK_ELLIPSE, RECT{200, 10, 300, 100}, kBlack, kWhite);
    ExpectMessages(
        {
            {{600, 600}, QStringLiteral("Either select outer border option or select any rectangle to Apply Bounded Border")},
            {{50, 50}, QStringLiteral("Border can't be applied on coloured rectangle")},
            {{250, 50}, QString()},
        },
        [&] { Border(Choose(tile)); });
    EXPECT_FALSE(Fig(0).HasPicture());
    EXPECT_FALSE(Fig(1).HasPicture());
    EXPECT_EQ(g_pFigures->GetSize(), 2);
}

}  // namespace

namespace {

// Every tile, on the canvas or cut by its edge, holds exactly the pixels of
// the picture stretched onto that tile alone.
TEST_F(TileBorderTest, EachTileIsExactlyThePictureStretchedOntoIt)
{
    // A picture with detail in every pixel, so a tile sampled differently shows.
    QImage art(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x)
            art.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x * y) % 256));
    const QString path = dir.filePath(QStringLiteral("art.png"));
    ASSERT_TRUE(art.save(path));
    // Wholly on the canvas, and cut by its left, top, right and bottom edges.
    for (RECT rc : {RECT{100, 100, 400, 300}, RECT{-30, -20, 270, 180}, RECT{800, 600, 1100, 800}}) {
        g_pFigures->RemoveAll();
        g_pFigures->Add(CShapeFigure::Picture(FK_RECTANGLE, rc, kGrey, path, 50, 40));
        frame.RefreshCanvas(false);
        QImage expected(frame.m_bmpCanvas.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        {
            CDC dc(expected);
            QImage source = art.copy();
            const CDC src(source);
            const auto tile = [&](int x, int y) { dc.StretchBlt(x, y, 50, 40, src, 0, 0, 37, 23, SRCCOPY); };
            for (int y = rc.top; y + 40 <= rc.bottom; y += 40) {
                tile(rc.left, y);
                tile(rc.right - 50, y);
            }
            for (int x = rc.left + 50; x + 50 <= rc.right - 50; x += 50) {
                tile(x, rc.top);
                tile(x, rc.bottom - 40);
            }
        }
        EXPECT_TRUE(Diff(expected, frame.m_bmpCanvas).empty()) << rc.left << "," << rc.top;
    }
}

}  // namespace
