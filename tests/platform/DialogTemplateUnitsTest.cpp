// Dialog units: the template font, its base units and the conversion to
// pixels, as Windows computes them.
#include "platform/DialogTemplate.h"

#include <QFontInfo>
#include <gtest/gtest.h>

namespace {
DialogTemplate EightPoint(const char* face)
{
    DialogTemplate t;
    t.name = QStringLiteral("Probe");
    t.fontFace = QString::fromLatin1(face);
    t.pointSize = 8;
    return t;
}
}  // namespace

TEST(DialogTemplateUnits, TemplateFontIsItsPointSizeInPixelsOfTheScreen)
{
    const DialogTemplate t = EightPoint("MS Sans Serif");
    EXPECT_EQ(DialogLogFont(t, 96).lfHeight, -11);
    EXPECT_EQ(DialogLogFont(t, 120).lfHeight, -13);
    EXPECT_EQ(DialogLogFont(t, 96).lfWeight, FW_NORMAL);
    EXPECT_EQ(FaceName(DialogLogFont(t, 96)), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(DialogFont(t, 96).pixelSize(), 11);
}

TEST(DialogTemplateUnits, BaseUnitsOfTheInstalledDialogFont)
{
    // "MS Sans Serif" 8 points resolves to DejaVu Sans at 11 pixels, whose
    // 52 letters measure 353 pixels: (353 + 26) / 52 = 7 (a plain average
    // would truncate to 6), and whose cell is 13 pixels high.
    const QFont font = DialogFont(EightPoint("MS Sans Serif"), 96);
    if (QFontInfo(font).family() != QStringLiteral("DejaVu Sans"))
        GTEST_SKIP() << "DejaVu Sans is not installed";
    EXPECT_EQ(DialogBaseUnits(font), (SIZE{7, 13}));
}

TEST(DialogTemplateUnits, BaseUnitsGrowWithTheFont)
{
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(11);
    QFont large = small;
    large.setPixelSize(22);
    const SIZE a = DialogBaseUnits(small);
    const SIZE b = DialogBaseUnits(large);
    EXPECT_GE(b.cx, 2 * a.cx - 1);
    EXPECT_GE(b.cy, 2 * a.cy - 1);
}

TEST(DialogTemplateUnits, EachValueIsConvertedOnItsOwnAndRoundedHalfAway)
{
    const SIZE base{7, 13};
    // The Border dialog's OK button: 217, 65, 50 x 14.
    EXPECT_EQ(DialogUnitsToPixels(217, 65, 50, 14, base), QRect(380, 106, 88, 23));
    // Its right edge is 467 when converted as a coordinate, but the button is
    // 88 wide because the width is converted by itself.
    EXPECT_EQ(DialogUnitsToPixelsX(217 + 50, base), 467);
    EXPECT_EQ(DialogUnitsToPixelsX(2, base), 4);   // 3.5
    EXPECT_EQ(DialogUnitsToPixelsY(4, base), 7);   // 6.5
    EXPECT_EQ(DialogUnitsToPixelsX(-2, base), -4);
    EXPECT_EQ(DialogUnitsToPixelsY(151, base), 245);
}

TEST(DialogTemplateUnits, DefaultStylesAreThoseOfAResourceScript)
{
    EXPECT_EQ(DefaultControlStyle(ControlKind::Edit), WS_TABSTOP | WS_BORDER);
    EXPECT_EQ(DefaultControlStyle(ControlKind::PushButton), WS_TABSTOP);
    EXPECT_EQ(DefaultControlStyle(ControlKind::RadioButton), WS_TABSTOP);
    EXPECT_EQ(DefaultControlStyle(ControlKind::Static), 0u);
    EXPECT_EQ(DefaultControlStyle(ControlKind::GroupBox), 0u);
}

TEST(DialogTemplateUnits, MnemonicMarksAreDroppedFromShownTexts)
{
    EXPECT_EQ(TextWithoutMnemonic(QStringLiteral("&File")), QStringLiteral("File"));
    EXPECT_EQ(TextWithoutMnemonic(QStringLiteral("Fish && Chips")), QStringLiteral("Fish & Chips"));
    EXPECT_EQ(TextWithoutMnemonic(QStringLiteral("end&")), QStringLiteral("end"));
    EXPECT_EQ(TextWithoutMnemonic(QStringLiteral("  two  spaces  ")), QStringLiteral("  two  spaces  "));
}
