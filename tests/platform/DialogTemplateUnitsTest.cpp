// Dialog units: the template font, its base units and the conversion to
// pixels, as Windows computes them.
#include "platform/DialogTemplate.h"

#include <QFontInfo>
#include <gtest/gtest.h>

TEST(DialogTemplateUnits, TemplateFontAndBaseUnitsOfTheInstalledDialogFont)
{
    DialogTemplate t;
    t.fontFace = QStringLiteral("MS Sans Serif");  // 8 points
    EXPECT_EQ(DialogLogFont(t, 96).lfHeight, -11);
    EXPECT_EQ(DialogLogFont(t, 120).lfHeight, -13);
    const QFont font = DialogFont(t, 96);
    EXPECT_EQ(font.pixelSize(), 11);
    // DejaVu Sans at 11 pixels: its 52 letters measure 353 pixels, and
    // (353 + 26) / 52 = 7 where a plain average would truncate to 6; its
    // cell is 13 pixels high.
    if (QFontInfo(font).family() != QStringLiteral("DejaVu Sans"))
        GTEST_SKIP() << "DejaVu Sans is not installed";
    EXPECT_EQ(DialogBaseUnits(font), (SIZE{7, 13}));
}

TEST(DialogTemplateUnits, EachValueIsConvertedOnItsOwnAndRoundedHalfAway)
{
    const SIZE base{7, 13};
    // The Border dialog's OK button: its right edge would be 467 as a
    // coordinate, but the width is converted by itself.
    EXPECT_EQ(DialogUnitsToPixels(217, 65, 50, 14, base), QRect(380, 106, 88, 23));
    EXPECT_EQ(DialogUnitsToPixelsX(217 + 50, base), 467);
    EXPECT_EQ(DialogUnitsToPixelsX(2, base), 4);   // 3.5
    EXPECT_EQ(DialogUnitsToPixelsY(4, base), 7);   // 6.5
    EXPECT_EQ(DialogUnitsToPixelsX(-2, base), -4);
}

TEST(DialogTemplateUnits, MnemonicMarksAreDroppedFromShownTexts)
{
    EXPECT_EQ(TextWithoutMnemonic(QStringLiteral("&File")), QStringLiteral("File"));
    EXPECT_EQ(TextWithoutMnemonic(QStringLiteral("Fish && Chips")), QStringLiteral("Fish & Chips"));
    EXPECT_EQ(TextWithoutMnemonic(QStringLiteral("end&")), QStringLiteral("end"));
    EXPECT_EQ(TextWithoutMnemonic(QStringLiteral("  two  spaces  ")), QStringLiteral("  two  spaces  "));
}
