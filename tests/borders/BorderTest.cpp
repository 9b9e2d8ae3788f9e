// Borders. Tile borders: the fitting of the tile size, the Border dialog
// driven as a user drives it, and the borders it makes round the whole window
// and round a selected white rectangle, each tile the picture stretched onto
// it. Glyph borders: the dialog's start and its choices of style and size,
// the characters rendered into a new numbered tile file at every use, and the
// border figures made with it round the whole window or a selection.
#include "borders/GlyphBorder.h"
#include "borders/TileBorder.h"
#include "platform/DialogControls.h"
#include "resources/DialogTemplates.h"
#include "support/WindowTest.h"

#include <QFile>

namespace {

TEST(FitTileTest, WholeTilesFillTheSideAndARestOverHalfATileOrGlyphAddsOne)
{
    const std::tuple<int, double, double> tiles[] = {
        {1024, 50, 51.2}, {688, 50, 688.0 / 14},  // rest 38 > 25: one tile more
        {300, 50, 50},    {320, 50, 320.0 / 6},   {210, 50, 52.5},
        {275, 50, 275.0 / 5},                     // rest exactly half a tile: no tile more
        {30, 50, 30},     {10, 50, 10},           // a side shorter than the tile still gets one
        {0, 50, 0},       {-5, 50, 0},            {100, 0, 0},
    };
    for (const auto& [length, tile, fitted] : tiles)
        EXPECT_DOUBLE_EQ(FitTileSize(length, tile), fitted) << length << " / " << tile;
    // Glyphs: the rest is compared with half the glyph in whole pixels.
    const std::tuple<int, int, double> glyphs[] = {
        {1024, 40, 1024.0 / 26},  // n 25, rest 24 > 20: one tile more
        {698, 30, 698.0 / 23},    {45, 30, 45.0},  // rest 15 is not over 30 / 2
        {46, 31, 46.0},           {47, 31, 47.0 / 2},  // 15 is not over 31 / 2, 16 is
        {5, 40, 5},               {0, 40, 0}, {100, 0, 0}, {-3, 10, 0},
    };
    for (const auto& [area, extent, tile] : glyphs)
        EXPECT_DOUBLE_EQ(FitGlyphTile(area, extent), tile) << area << " / " << extent;
}

class TileBorderTest : public WindowTest {
protected:
    TileBorderTest() { g_strTilePicture.clear(); }
    // Insert > Border with the dialog answered by `step`: by default the tile
    // chosen with "...", the sizes typed, the outer border checked when `outer`, and OK.
    void Border(const QString& tile, const QString& size = "50", bool outer = false,
                std::function<void(CDialog&)> step = {})
    {
        ModalDialogScript script;
        script.Then(step ? std::move(step) : [=, this](CDialog& d) {
            ws.QueueOpenFiles({tile});
            d.SendCommand(IDC_BORDER_BROWSE);
            d.SetDlgItemText(IDC_BORDER_WIDTH, size);
            d.SetDlgItemText(IDC_BORDER_HEIGHT, size);
            d.CheckDlgButton(IDC_BORDER_OUTER, outer ? BST_CHECKED : BST_UNCHECKED);
            d.SendCommand(IDC_BORDER_OK);
        });
        frame.OnCommand(ID_INSERT_BORDER);
    }
};

TEST_F(TileBorderTest, TheDialogStartsAtFiftyWithAllCheckedAndWantsAFileAndASize)
{
    for (int showing : {1, 2})
        Border({}, {}, false, [&](CDialog& d) {
            EXPECT_EQ(QStringList({d.GetDlgItemText(IDC_BORDER_WIDTH), d.GetDlgItemText(IDC_BORDER_HEIGHT),
                                   d.GetDlgItemText(IDC_BORDER_FILE)}),
                      (QStringList{"50", "50", ""})) << "showing " << showing;
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_BORDER_ALL), BST_CHECKED);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_BORDER_OUTER), BST_UNCHECKED);
            d.SendCommand(IDC_BORDER_OK);  // no file yet
            ws.QueueOpenFiles({QStringLiteral("/tiles/t.bmp")});
            d.SendCommand(IDC_BORDER_BROWSE);
            EXPECT_EQ(d.GetDlgItemText(IDC_BORDER_FILE), QStringLiteral("/tiles/t.bmp"));
            d.SetDlgItemText(IDC_BORDER_WIDTH, QString());
            d.SendCommand(IDC_BORDER_OK);  // a tile of no width
            EXPECT_FALSE(d.IsEnded());
            d.SendCommand(IDCANCEL);
        });
    EXPECT_EQ(ws.MessageTexts().mid(0, 2), (QStringList{"Plz select a file that need to be applied as a border",
                                                        "The tile width and height must be at least 1."}));
    EXPECT_EQ(ws.Shown(DialogKind::OpenFile).at(0).filter, kBitmapFilter);
    EXPECT_EQ(g_pFigures->GetSize(), 0);
}

TEST_F(TileBorderTest, AnOuterBorderTilesTheFullScreenClientAreaAndReplacesItself)
{
    const QString tile = Picture(QStringLiteral("tile.png"), 10, 10);
    Add(FK_RECTANGLE, RECT{400, 300, 500, 400});
    Border(tile, "50", true);
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    // A 1024 x 738 full-screen client area: 14 tiles in each column (x 0 and
    // 972), 18 in each row between them (x 51 .. 921); each tile's first
    // pixels are the picture's red corner. Tile corners are truncated: the
    // last tile is 51 x 49 from (972, 668), and the column stops a pixel short.
    EXPECT_EQ(Figure(1), "border 0,30,1024,718 c0c0c0/ffffff tile.png 51.2x49.1429");
    ExpectPixels({{0, 30, kRed},      {0, 79, kRed},      {0, 668, kRed},    {972, 30, kRed},       {972, 668, kRed},
                  {51, 30, kRed},     {921, 30, kRed},    {51, 668, kRed},   {921, 668, kRed},      {0, 29, kWhite},
                  {1022, 716, kBlue}, {1023, 716, kWhite}, {500, 400, kWhite}});
    Border(tile, "100", true);
    ASSERT_EQ(g_pFigures->GetSize(), 2) << "one border, in the place of the first";
    EXPECT_DOUBLE_EQ(Fig(1).m_dTileWidth, 1024.0 / 10);
}

TEST_F(TileBorderTest, ASelectedWhiteRectangleGetsWholeTilesOnEachSideAndOnlyMoves)
{
    Add(FK_RECTANGLE, RECT{400, 300, 100, 100}, kBlack, kWhite);  // dragged up and to the left
    Click(POINT{200, 200});
    Border(Picture(QStringLiteral("tile.png"), 10, 10));
    EXPECT_EQ(Figure(0), "rectangle 100,100,400,300 000000/ffffff tile.png 50x50");
    // Columns at x 100 and 350, rows at y 100 and 250 for x 150 to 300, seen
    // inside the handle rings; no fill inside; still selected, with its handles.
    ExpectPixels({{104, 104, kRed}, {104, 254, kRed}, {354, 104, kRed}, {354, 254, kRed}, {154, 104, kRed},
                  {304, 104, kRed}, {154, 254, kRed}, {304, 254, kRed}, {200, 200, kWhite}, {97, 97, kBlack}});
    Drag(POINT{102, 102}, POINT{112, 102});  // a corner moves it: a bordered rectangle is not resized
    EXPECT_EQ(Figure(0), "rectangle 110,100,410,300 000000/ffffff tile.png 50x50");
}

TEST_F(TileBorderTest, WithoutSelectionOnAColouredFigureOrOnAWhiteEllipseNoBorderIsMade)
{
    const QString tile = Picture(QStringLiteral("tile.png"), 10, 10);
    Add(FK_RECTANGLE, RECT{10, 10, 100, 100}, kBlack, kRed);
    Add(FK_ELLIPSE, RECT{200, 10, 300, 100}, kBlack, kWhite);
    ExpectMessages({{{600, 600}, "Either select outer border option or select any rectangle to Apply Bounded Border"},
                    {{50, 50}, "Border can't be applied on coloured rectangle"},
                    {{250, 50}, QString()}},
                   [&] { Border(tile); });
    EXPECT_FALSE(Fig(0).HasPicture() || Fig(1).HasPicture());
}

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
    const CDC source(art);
    // Wholly on the canvas, and cut by its left, top, right and bottom edges.
    for (RECT rc : {RECT{100, 100, 400, 300}, RECT{-30, -20, 270, 180}, RECT{800, 600, 1100, 800}}) {
        g_pFigures->RemoveAll();
        AddPicture(FK_RECTANGLE, rc, path, 50, 40);
        frame.RefreshCanvas(false);
        QImage expected(frame.m_bmpCanvas.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        CDC dc(expected);
        const auto tile = [&](int x, int y) { dc.StretchBlt(x, y, 50, 40, source, 0, 0, 37, 23, SRCCOPY); };
        for (int y = rc.top; y + 40 <= rc.bottom; y += 40) {
            tile(rc.left, y);
            tile(rc.right - 50, y);
        }
        for (int x = rc.left + 50; x + 50 <= rc.right - 50; x += 50) {
            tile(x, rc.top);
            tile(x, rc.bottom - 40);
        }
        EXPECT_TRUE(Canvas() == expected) << rc.left << "," << rc.top;
    }
}

class GlyphBorderTest : public WindowTest {
protected:
    GlyphBorderTest()
    {
        SetGlyphTileFolder(dir.filePath(QStringLiteral("tiles")));
        g_nGlyphFileCount = 0;
    }
    ~GlyphBorderTest() override { SetGlyphTileFolder(QString()); }

    // Format > Korva Border with the dialog answered by `step`; by default
    // `text` typed, the bounding option chosen when `bounding`, and OK.
    void GlyphBorder(const QString& text, bool bounding = false, std::function<void(CDialog&)> step = {})
    {
        ModalDialogScript script;
        script.Then(step ? std::move(step) : [=](CDialog& d) {
            d.SetDlgItemText(IDC_GLYPH_TEXT, text);
            if (bounding)
                d.CheckRadioButton(IDC_GLYPH_BOUNDING, IDC_GLYPH_OUTER, IDC_GLYPH_BOUNDING);
            d.SendCommand(IDOK);
        });
        frame.OnCommand(ID_FORMAT_KORVABORDER);
    }
    QString TileFile(int n) const { return QDir(GlyphTileFolder()).filePath(QStringLiteral("%1.bmp").arg(n)); }
};

TEST_F(GlyphBorderTest, TheDialogStartsAtTheBorderFaceRegularTenPointsAndOuterBorder)
{
    GlyphBorder({}, false, [this](CDialog& d) {
        auto* faces = d.GetDlgItemAs<CComboBox>(IDC_GLYPH_FACE);
        auto* styles = d.GetDlgItemAs<CComboBox>(IDC_GLYPH_STYLE);
        auto* sizes = d.GetDlgItemAs<CComboBox>(IDC_GLYPH_SIZE);
        EXPECT_GT(faces->GetCount(), 0) << "the installed TrueType faces";
        EXPECT_EQ(FaceName(g_logfontGlyph), QStringLiteral("KORVA-TTBorder-1 Normal")) << "named even when missing";
        EXPECT_EQ(styles->GetLBText(styles->GetCurSel()) + " " + sizes->GetLBText(sizes->GetCurSel()), "Regular 10");
        EXPECT_EQ(g_logfontGlyph.lfHeight, -13) << "10 points at 96 dpi";
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_GLYPH_OUTER), BST_CHECKED);
        // A style chosen from the list sets weight and slant; a size, the cell height in pixels.
        for (auto [combo, entry, weight, italic, height] :
             {std::tuple(styles, "BoldItalic", FW_BOLD, 1, -13), std::tuple(styles, "Italic", FW_NORMAL, 1, -13),
              std::tuple(sizes, "10", FW_NORMAL, 1, 10)}) {
            combo->SetCurSel(combo->FindStringExact(-1, QString::fromLatin1(entry)));
            emit combo->activated(combo->GetCurSel());
            EXPECT_EQ((std::tuple<int, int, int>(g_logfontGlyph.lfWeight, g_logfontGlyph.lfItalic, g_logfontGlyph.lfHeight)),
                      (std::tuple<int, int, int>(weight, italic, height))) << entry;
        }
        EXPECT_GT(d.GetDlgItem(IDC_GLYPH_TEXT)->font().pixelSize(), 0) << "the sample shows the font";
        d.SendCommand(IDOK);  // no characters yet
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(ws.Shown(DialogKind::MessageBox).size(), 1u);
        d.SendCommand(IDC_GLYPH_CANCEL);
    });
    EXPECT_EQ(g_pFigures->GetSize(), 0);
    EXPECT_FALSE(QFile::exists(TileFile(1))) << "nothing written";
}

TEST_F(GlyphBorderTest, EachUseWritesANewNumberedTileAndTheOuterBorderReplacesItself)
{
    Add(FK_RECTANGLE, RECT{300, 300, 400, 400});
    const QImage before = Canvas();
    GlyphBorder(QStringLiteral("AB"));
    QImage tile;
    ASSERT_TRUE(tile.load(TileFile(1), "BMP")) << "the first tile file";
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(Figure(1), QStringLiteral("border 0,30,1024,728 c0c0c0/ffffff 1.bmp %1x%2")
                             .arg(FitGlyphTile(1024, tile.width())).arg(FitGlyphTile(698, tile.height())).toStdString());
    int dark = 0;
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            dark += qGray(tile.pixel(x, y)) < 128;
    EXPECT_GT(dark, 10) << "the characters, black on white";
    EXPECT_EQ(PixelToColor(tile.pixel(tile.width() - 1, 0)), kWhite);
    EXPECT_FALSE(Canvas() == before) << "tiles drawn";
    GlyphBorder(QStringLiteral("C"));
    ASSERT_EQ(g_pFigures->GetSize(), 2) << "one border, in the place of the first";
    EXPECT_EQ(Fig(1).m_strPicture, TileFile(2));
    EXPECT_TRUE(QFile::exists(TileFile(2)) && QFile::exists(TileFile(1))) << "earlier tile files stay";
}

TEST_F(GlyphBorderTest, ABoundingBorderFramesTheSelectionAndWithoutOneSaysSo)
{
    Add(FK_RECTANGLE, RECT{100, 100, 400, 300}, kBlack, kRed);  // any fill: only text figures are refused
    GlyphBorder(QStringLiteral("X"), true);
    EXPECT_EQ(ws.MessageTexts(),
              QStringList{"Either select outer border option or select any rectangle to Apply Bounded Border"});
    Click(POINT{200, 200});
    GlyphBorder(QStringLiteral("X"), true);
    EXPECT_EQ(Figure(0).substr(0, 43), "rectangle 100,100,400,300 000000/ffffff 1.b");
    EXPECT_GT(Fig(0).m_dTileWidth, 0);
    EXPECT_EQ(Pixel(200, 200), kWhite) << "the inside shows no fill";
    Drag(POINT{102, 102}, POINT{112, 102});
    EXPECT_EQ(Fig(0).m_rect, (RECT{110, 100, 410, 300})) << "a corner moves it: it only moves now";
}

}  // namespace
