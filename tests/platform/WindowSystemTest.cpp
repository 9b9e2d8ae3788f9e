// The shared window-system rules: colours and the file filter in the
// toolkit's form, the file-name buffer, finding a top-level window by its title,
// and the LOGFONT mapping (heights, weights, effects, the font chooser's
// answer).
#include "platform/FontMapping.h"
#include "platform/QtWindowSystem.h"
#include "platform/WindowSystemUtil.h"

#include <QFontMetrics>
#include <QWidget>
#include <gtest/gtest.h>

#include <climits>
#include <thread>
#include <utility>

namespace {
LOGFONT WithFace(LOGFONT lf, const char* face = "DejaVu Sans")
{
    SetFaceName(lf, QString::fromLatin1(face));
    return lf;
}
}  // namespace

TEST(WindowSystemRules, FilterAndColoursInTheToolkitsForm)
{
    EXPECT_EQ(QColorFromColorRef(0x000000FF), QColor(255, 0, 0));  // red in the low byte
    EXPECT_EQ(ColorRefFromQColor(QColor(1, 2, 3, 4)), COLORREF{0x00030201});  // alpha dropped
    // The list ends at the empty description; "*.*" matches every file.
    EXPECT_EQ(QtFileFilter(kBitmapFilter + "Ignored|*.x|"), QStringLiteral("Bitmap files (*.bmp) (*.bmp);;All files(*.*) (*)"));
    // The open dialog: one file or several.
    EXPECT_EQ(MakeOpenFileDialog(nullptr, kBitmapFilter, true)->fileMode(), QFileDialog::ExistingFiles);
    EXPECT_EQ(MakeOpenFileDialog(nullptr, kBitmapFilter, false)->fileMode(), QFileDialog::ExistingFile);
}

TEST(WindowSystemRules, FileNameBufferOf260Units)
{
    const auto name = [](int units) { return QStringLiteral("/") + QString(units - 1, QLatin1Char('a')); };
    // Multiple selection: "/d" and its zero, each name and its zero, a final zero.
    const auto twoNames = [](int units) { return QStringList{"/d/" + QString(250, 'a'), "/d/" + QString(units, 'b')}; };
    const struct { QStringList paths; bool multiSelect, fits; } cases[] = {
        {{name(259)}, false, true},  {{name(260)}, false, false}, {{}, false, true},
        {{name(258)}, true, true},   {{name(259)}, true, false},  // one file: its path and two zeros
        {twoNames(4), true, true},  {twoNames(5), true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitsFileNameBuffer(c.paths, c.multiSelect), c.fits) << "case " << &c - cases;
}

TEST(WindowSystemRules, FindWindowByTitleMatchesTopLevelWindowsExactlyPreferringShownOnes)
{
    QWidget first, second;
    for (QWidget* w : {&first, &second})
        w->setWindowTitle(kAppTitle);
    (new QWidget(&first))->setWindowTitle(QStringLiteral("Child title"));
    EXPECT_NE(FindWindowByTitle(kAppTitle), nullptr);  // hidden ones too
    for (QWidget* shown : {&first, &second}) {
        shown->show();
        EXPECT_EQ(FindWindowByTitle(kAppTitle), shown);
        shown->hide();
    }
    for (const char* title : {"Veltra", "veltra design & pattern creation tool", "Child title"})
        EXPECT_EQ(FindWindowByTitle(QString::fromLatin1(title)), nullptr) << title;
    QWidget* found = &first;
    std::thread worker([&found] { found = FindWindowByTitle(kAppTitle); });  // no widgets for other threads
    worker.join();
    EXPECT_EQ(found, nullptr);
}

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
    EXPECT_TRUE(font.italic() && font.strikeOut() && !font.underline());
}

TEST(WindowSystemFont, PointsAndLogicalHeightsRoundHalfAwayAndAChosenFontKeepsTheRest)
{
    EXPECT_EQ(LogHeightFromPoints(10, 96), -13);     // 13.33
    EXPECT_EQ(LogHeightFromPoints(9.375, 96), -13);  // 12.5
    EXPECT_EQ(LogHeightFromPoints(8, 120), -13);
    EXPECT_DOUBLE_EQ(PointFontFromLogFont(WithFace({.lfHeight = -20}), 120).pointSizeF(), 12.0);

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
