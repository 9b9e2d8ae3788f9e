// LOGFONT <-> toolkit font: the height rules, weights, effects and what a
// font chooser's answer keeps of the caller's record.
#include "platform/FontMapping.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {
LOGFONT MakeLogFont(int height, const char* face)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    SetFaceName(lf, QString::fromLatin1(face));
    return lf;
}
}  // namespace

TEST(WindowSystemFont, NegativeHeightIsTheCharacterHeightInPixels)
{
    const QFont font = QFontFromLogFont(MakeLogFont(-16, "Times New Roman"));
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_EQ(font.family(), QStringLiteral("Times New Roman"));
}

TEST(WindowSystemFont, ZeroHeightIsTwelvePoints)
{
    EXPECT_EQ(QFontFromLogFont(MakeLogFont(0, "DejaVu Sans")).pixelSize(), 16);  // at 96 dpi
}

TEST(WindowSystemFont, PositiveHeightIsTheCellHeight)
{
    // A cell height gives a smaller em than the same negative height.
    const LOGFONT cell = MakeLogFont(40, "DejaVu Sans");
    const QFont font = QFontFromLogFont(cell);
    EXPECT_LT(font.pixelSize(), 40);
    EXPECT_NEAR(QFontMetrics(font).height(), 40, 1);
}

TEST(WindowSystemFont, AbsurdHeightsStayUsable)
{
    EXPECT_EQ(QFontFromLogFont(MakeLogFont(-2147483647 - 1, "DejaVu Sans")).pixelSize(), 4000);
    EXPECT_EQ(QFontFromLogFont(MakeLogFont(2147483647, "DejaVu Sans")).pixelSize(), 4000);
}

TEST(WindowSystemFont, WeightZeroIsNormalOthersAreKept)
{
    LOGFONT lf = MakeLogFont(-12, "DejaVu Sans");
    EXPECT_EQ(QFontFromLogFont(lf).weight(), QFont::Normal);
    lf.lfWeight = FW_BOLD;
    EXPECT_EQ(QFontFromLogFont(lf).weight(), QFont::Bold);
    lf.lfWeight = 300;
    EXPECT_EQ(QFontFromLogFont(lf).weight(), QFont::Light);
    lf.lfWeight = 5000;
    EXPECT_EQ(static_cast<int>(QFontFromLogFont(lf).weight()), 1000);
}

TEST(WindowSystemFont, EffectsAreOnWhenNonZero)
{
    LOGFONT lf = MakeLogFont(-12, "DejaVu Sans");
    lf.lfItalic = 255;
    lf.lfUnderline = 1;
    const QFont on = QFontFromLogFont(lf);
    EXPECT_TRUE(on.italic());
    EXPECT_TRUE(on.underline());
    EXPECT_FALSE(on.strikeOut());
    lf.lfItalic = 0;
    lf.lfStrikeOut = 2;
    const QFont other = QFontFromLogFont(lf);
    EXPECT_FALSE(other.italic());
    EXPECT_TRUE(other.strikeOut());
}

TEST(WindowSystemFont, WindowsFacesResolveToTheirStandIns)
{
    const QFontInfo times(QFontFromLogFont(MakeLogFont(-16, "Times New Roman")));
    EXPECT_EQ(times.family(), QStringLiteral("Liberation Serif"));
}

TEST(WindowSystemFont, PointsAndLogicalHeights)
{
    EXPECT_EQ(LogHeightFromPoints(12, 96), -16);
    EXPECT_EQ(LogHeightFromPoints(10, 96), -13);     // 13.33
    EXPECT_EQ(LogHeightFromPoints(11.25, 96), -15);
    EXPECT_EQ(LogHeightFromPoints(9.375, 96), -13);  // 12.5 rounds away from zero
    EXPECT_EQ(LogHeightFromPoints(8, 120), -13);
    EXPECT_DOUBLE_EQ(PointFontFromLogFont(MakeLogFont(-16, "DejaVu Sans"), 96).pointSizeF(), 12.0);
    EXPECT_DOUBLE_EQ(PointFontFromLogFont(MakeLogFont(-20, "DejaVu Sans"), 120).pointSizeF(), 12.0);
}

TEST(WindowSystemFont, ChosenFontBecomesALogFontKeepingTheRest)
{
    LOGFONT base = MakeLogFont(-16, "Times New Roman");
    base.lfWidth = 7;
    base.lfCharSet = 0;
    base.lfOutPrecision = 3;
    base.lfQuality = 1;
    base.lfItalic = 1;
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSize(14);
    chosen.setWeight(QFont::DemiBold);
    chosen.setUnderline(true);
    const LOGFONT lf = LogFontFromQFont(chosen, base, 96);
    EXPECT_EQ(FaceName(lf), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(lf.lfHeight, -19);  // 18.67
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfWeight, 600);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfOutPrecision, 3);
    EXPECT_EQ(lf.lfQuality, 1);
}

TEST(WindowSystemFont, PixelSizedFontKeepsItsPixels)
{
    QFont chosen(QStringLiteral("DejaVu Sans"));
    chosen.setPixelSize(23);
    EXPECT_EQ(LogFontFromQFont(chosen, LOGFONT{}, 96).lfHeight, -23);
}

TEST(WindowSystemFont, RoundTripThroughTheChooserFormKeepsTheRecord)
{
    LOGFONT lf = MakeLogFont(-21, "DejaVu Sans");
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfStrikeOut = 1;
    EXPECT_EQ(LogFontFromQFont(PointFontFromLogFont(lf, 96), lf, 96), lf);
}
