// The glyph border: the dialog's start and its choices of style and size,
// the characters rendered into a new numbered tile file at every use, and
// the border figures made with it round the whole window or a selection.
#include "editing/EditingFixture.h"

#include "borders/GlyphBorder.h"
#include "platform/DialogControls.h"
#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"

#include <QFile>

namespace {

TEST(FitGlyphTileTest, WholeTilesWithTheRestComparedToHalfTheGlyphInWholePixels)
{
    const std::tuple<int, int, double> table[] = {
        {1024, 40, 1024.0 / 26},  // n 25, rest 24 > 20: one tile more
        {698, 30, 698.0 / 23},    // n 23, rest 8
        {45, 30, 45.0 / 1},       // rest 15 is not over 30 / 2
        {46, 31, 46.0},           // rest 15 is not over 31 / 2, halved as whole pixels
        {47, 31, 47.0 / 2},       // rest 16 > 15: one tile more
        {5, 40, 5},               // shorter than half a glyph: one tile
        {0, 40, 0},  {100, 0, 0}, {-3, 10, 0},
    };
    for (const auto& [area, extent, tile] : table)
        EXPECT_DOUBLE_EQ(FitGlyphTile(area, extent), tile) << area << " / " << extent;
}

class GlyphBorderTest : public EditingTest {
protected:
    GlyphBorderTest()
    {
        SetGlyphTileFolder(dir.filePath(QStringLiteral("tiles")));
        g_nGlyphFileCount = 0;
    }
    ~GlyphBorderTest() override { SetGlyphTileFolder(QString()); }

    void GlyphBorder(std::function<void(CDialog&)> step)
    {
        ModalDialogScript script;
        script.Then(std::move(step));
        frame.OnCommand(ID_FORMAT_KORVABORDER);
    }
    static std::function<void(CDialog&)> Type(const QString& text, bool bounding = false)
    {
        return [=](CDialog& d) {
            d.SetDlgItemText(IDC_GLYPH_TEXT, text);
            if (bounding)
                d.CheckRadioButton(IDC_GLYPH_BOUNDING, IDC_GLYPH_OUTER, IDC_GLYPH_BOUNDING);
            d.SendCommand(IDOK);
        };
    }
    static void Choose(CDialog& d, int id, const QString& entry)
    {
        auto* combo = d.GetDlgItemAs<CComboBox>(id);
        ASSERT_NE(combo, nullptr);
        const int index = combo->FindStringExact(-1, entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        combo->SetCurSel(index);
        emit combo->activated(index);  // as a choice from the list
    }
};

TEST_F(GlyphBorderTest, TheDialogStartsAtTheBorderFaceRegularTenPointsAndOuterBorder)
{
    GlyphBorder([](CDialog& d) {
        const auto* faces = d.GetDlgItemAs<CComboBox>(IDC_GLYPH_FACE);
        const auto* styles = d.GetDlgItemAs<CComboBox>(IDC_GLYPH_STYLE);
        const auto* sizes = d.GetDlgItemAs<CComboBox>(IDC_GLYPH_SIZE);
        ASSERT_TRUE(faces && styles && sizes);
        EXPECT_GT(faces->GetCount(), 0) << "the installed TrueType faces";
        for (int i = 1; i < faces->GetCount(); ++i)
            EXPECT_LE(faces->GetLBText(i - 1).compare(faces->GetLBText(i), Qt::CaseInsensitive), 0) << "sorted";
        EXPECT_EQ(FaceName(g_logfontGlyph), QStringLiteral("KORVA-TTBorder-1 Normal")) << "named even when missing";
        EXPECT_EQ(styles->GetCount(), 4);
        EXPECT_EQ(styles->GetLBText(styles->GetCurSel()), QStringLiteral("Regular"));
        EXPECT_EQ(sizes->GetCount(), 33);
        EXPECT_EQ(sizes->GetLBText(0), QStringLiteral("8"));
        EXPECT_EQ(sizes->GetLBText(32), QStringLiteral("72"));
        EXPECT_EQ(sizes->GetLBText(sizes->GetCurSel()), QStringLiteral("10"));
        EXPECT_EQ(g_logfontGlyph.lfHeight, -13) << "10 points at 96 dpi";
        EXPECT_EQ(g_logfontGlyph.lfWeight, FW_NORMAL);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_GLYPH_OUTER), BST_CHECKED);
        EXPECT_EQ(d.GetDlgItemAs<CMultiLineEdit>(IDC_GLYPH_TEXT)->GetLimitText(), 4);

        Choose(d, IDC_GLYPH_STYLE, QStringLiteral("BoldItalic"));
        EXPECT_EQ(g_logfontGlyph.lfWeight, FW_BOLD);
        EXPECT_EQ(g_logfontGlyph.lfItalic, 1);
        Choose(d, IDC_GLYPH_STYLE, QStringLiteral("Italic"));
        EXPECT_EQ(g_logfontGlyph.lfWeight, FW_NORMAL);
        EXPECT_EQ(g_logfontGlyph.lfItalic, 1);
        Choose(d, IDC_GLYPH_SIZE, QStringLiteral("10"));
        EXPECT_EQ(g_logfontGlyph.lfHeight, 10) << "a chosen size is a cell height in pixels";
        EXPECT_EQ(d.GetDlgItem(IDC_GLYPH_TEXT)->font().pixelSize() > 0, true) << "the sample shows the font";

        d.SendCommand(IDOK);  // no characters yet
        EXPECT_FALSE(d.IsEnded());
        d.SendCommand(IDC_GLYPH_CANCEL);
    });
    ASSERT_EQ(ws.Shown(DialogKind::MessageBox).size(), 1u);
    EXPECT_EQ(g_pFigures->GetSize(), 0);
    EXPECT_EQ(g_nGlyphFileCount, 0) << "nothing written";
}

TEST_F(GlyphBorderTest, EachUseWritesANewNumberedTileAndTheOuterBorderReplacesItself)
{
    Add(FK_RECTANGLE, RECT{300, 300, 400, 400});
    GlyphBorder(Type(QStringLiteral("AB")));
    const QString first = QDir(GlyphTileFolder()).filePath(QStringLiteral("1.bmp"));
    QImage tile;
    ASSERT_TRUE(tile.load(first, "BMP")) << "the first tile file";
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    const CShapeFigure& border = Fig(1);
    EXPECT_EQ(border.m_nKind, FK_BORDER);
    EXPECT_EQ(border.m_rect, (RECT{0, 30, 1024, 728}));
    EXPECT_EQ(border.m_strPicture, first);
    EXPECT_DOUBLE_EQ(border.m_dTileWidth, FitGlyphTile(1024, tile.width()));
    EXPECT_DOUBLE_EQ(border.m_dTileHeight, FitGlyphTile(698, tile.height()));
    int dark = 0;
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            dark += qGray(tile.pixel(x, y)) < 128;
    EXPECT_GT(dark, 10) << "the characters, black on white";
    EXPECT_EQ(PixelToColor(tile.pixel(tile.width() - 1, 0)), kWhite);
    EXPECT_TRUE(Canvas() != [&] { QImage w = Canvas(); w.fill(Qt::white); return w; }()) << "tiles drawn";

    GlyphBorder(Type(QStringLiteral("C")));
    EXPECT_TRUE(QFile::exists(QDir(GlyphTileFolder()).filePath(QStringLiteral("2.bmp"))));
    ASSERT_EQ(g_pFigures->GetSize(), 2) << "one border, in the place of the first";
    EXPECT_TRUE(Fig(1).m_strPicture.endsWith(QStringLiteral("2.bmp")));
    EXPECT_TRUE(QFile::exists(first)) << "earlier tile files stay";
}

TEST_F(GlyphBorderTest, ABoundingBorderFramesTheSelectionAndATextSelectionTakesNone)
{
    Add(FK_RECTANGLE, RECT{100, 100, 400, 300}, kBlack, kRed);  // any fill: only text figures are refused
    GlyphBorder(Type(QStringLiteral("X"), true));
    ASSERT_EQ(ws.Shown(DialogKind::MessageBox).size(), 1u) << "nothing selected";
    EXPECT_EQ(ws.Shown(DialogKind::MessageBox)[0].text,
              QStringLiteral("Either select outer border option or select any rectangle to Apply Bounded Border"));

    Click(POINT{200, 200});
    GlyphBorder(Type(QStringLiteral("X"), true));
    const CShapeFigure& f = Fig(0);
    EXPECT_EQ(f.m_nKind, FK_RECTANGLE);
    EXPECT_GT(f.m_dTileWidth, 0);
    EXPECT_TRUE(f.m_strPicture.endsWith(QStringLiteral("1.bmp")));
    EXPECT_EQ(frame.m_bSelPicture, 1) << "now it only moves";
    EXPECT_EQ(Pixel(200, 200), kWhite) << "the inside shows no fill";
}

}  // namespace
