// LOGFONT <-> toolkit font: the height rules, weights, effects and what a
// font chooser's answer keeps of the caller's record.
#include "platform/FontMapping.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <climits>
#include <utility>

namespace {
LOGFONT WithFace(LOGFONT lf, const char* face = "DejaVu Sans")
{
    SetFaceName(lf, QString::fromLatin1(face));
    return lf;
}
}  // namespace

TEST(WindowSystemFont, HeightWeightAndEffects)
{
    // Negative: the character height; zero: 12 points at 96 dpi; absurd
    // heights stay usable.
    const std::pair<int, int> heights[] = {{-16, 16}, {0, 16}, {INT_MIN, 4000}, {INT_MAX, 4000}};
    for (const auto& [height, pixels] : heights)
        EXPECT_EQ(QFontFromLogFont(WithFace({.lfHeight = height})).pixelSize(), pixels) << height;
    // Positive: the cell height, so a smaller em.
    const QFont cell = QFontFromLogFont(WithFace({.lfHeight = 40}));
    EXPECT_LT(cell.pixelSize(), 40);
    EXPECT_NEAR(QFontMetrics(cell).height(), 40, 1);

    const std::pair<int, int> weights[] = {{0, 400}, {FW_BOLD, 700}, {300, 300}, {5000, 1000}};
    for (const auto& [weight, expected] : weights)
        EXPECT_EQ(static_cast<int>(QFontFromLogFont(WithFace({.lfWeight = weight})).weight()), expected) << weight;
    const QFont font = QFontFromLogFont(WithFace({.lfItalic = 255, .lfStrikeOut = 2}, "Times New Roman"));
    EXPECT_EQ(font.family(), QStringLiteral("Times New Roman"));
    EXPECT_TRUE(font.italic());
    EXPECT_FALSE(font.underline());
    EXPECT_TRUE(font.strikeOut());
}

TEST(WindowSystemFont, PointsAndLogicalHeightsRoundHalfAway)
{
    EXPECT_EQ(LogHeightFromPoints(12, 96), -16);
    EXPECT_EQ(LogHeightFromPoints(10, 96), -13);     // 13.33
    EXPECT_EQ(LogHeightFromPoints(9.375, 96), -13);  // 12.5
    EXPECT_EQ(LogHeightFromPoints(8, 120), -13);
    EXPECT_DOUBLE_EQ(PointFontFromLogFont(WithFace({.lfHeight = -20}), 120).pointSizeF(), 12.0);
}

TEST(WindowSystemFont, ChosenFontBecomesALogFontKeepingTheRest)
{
    const LOGFONT base = WithFace({.lfHeight = -16, .lfWidth = 7, .lfItalic = 1, .lfOutPrecision = 3, .lfQuality = 1},
                                  "Times New Roman");
    QFont chosen(QStringLiteral("DejaVu Serif"), 14, QFont::DemiBold);  // 18.67 pixels
    chosen.setUnderline(true);
    EXPECT_EQ(LogFontFromQFont(chosen, base, 96),
              WithFace({.lfHeight = -19, .lfWeight = 600, .lfUnderline = 1, .lfOutPrecision = 3, .lfQuality = 1},
                       "DejaVu Serif"));
    chosen.setPixelSize(23);
    EXPECT_EQ(LogFontFromQFont(chosen, base, 96).lfHeight, -23);

    // A record survives the round trip through the chooser's form.
    const LOGFONT lf = WithFace({.lfHeight = -21, .lfWeight = FW_BOLD, .lfItalic = 1, .lfStrikeOut = 1});
    EXPECT_EQ(LogFontFromQFont(PointFontFromLogFont(lf, 96), lf, 96), lf);
}
