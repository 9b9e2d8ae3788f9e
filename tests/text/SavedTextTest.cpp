// Save burns each box's text into the canvas as the box shows it: for several
// fonts and sizes, four lines with a tab, a line that wraps and one that
// begins in Hebrew, every line of ink in the saved file lies where the box
// showed it, and lines the box cuts off are not in the file.
#include "text/TextFixture.h"

#include "resources/ResourceIds.h"

#include <QTemporaryDir>

#include <vector>

namespace {

using SavedTextTest = TextFixture;

// The bands of rows holding ink (pixels not white) in `image`, each with its
// first and last row and its leftmost and rightmost ink column.
struct InkLine {
    int top, bottom, left, right;
    friend bool operator==(const InkLine&, const InkLine&) = default;
};
std::ostream& operator<<(std::ostream& os, const InkLine& l)
{
    return os << "rows " << l.top << ".." << l.bottom << " columns " << l.left << ".." << l.right;
}

std::vector<InkLine> InkLines(const QImage& image)
{
    std::vector<InkLine> lines;
    for (int y = 0; y < image.height(); ++y) {
        int left = -1, right = -1;
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                if (left < 0)
                    left = x;
                right = x;
            }
        if (left < 0)
            continue;
        if (!lines.empty() && lines.back().bottom == y - 1) {
            InkLine& l = lines.back();
            l.bottom = y;
            l.left = std::min(l.left, left);
            l.right = std::max(l.right, right);
        } else {
            lines.push_back({y, y, left, right});
        }
    }
    return lines;
}

TEST_F(SavedTextTest, EachLineOfSavedTextLiesWhereItsBoxShowedIt)
{
    struct Font {
        const char* face;
        int height, weight;
        BYTE italic;
    };
    const Font fonts[] = {{"Times New Roman", -16, 0, 0},
                          {"Liberation Sans", -22, FW_BOLD, 0},
                          {"DejaVu Sans Mono", -13, FW_NORMAL, 1},
                          {"DejaVu Serif", -27, FW_NORMAL, 0}};
    const QString text = QStringLiteral(
        "First line\nSecond\tline, tabbed\n\u05e9\u05dc\u05d5\u05dd then a line long enough to wrap inside the box\n"
        "Fourth\nfifth\nsixth\nseventh\neighth, cut off");
    std::vector<CEditBox*> boxes;
    for (int i = 0; i < 4; ++i) {
        g_logfont.lfHeight = fonts[i].height;
        g_logfont.lfWeight = fonts[i].weight;
        g_logfont.lfItalic = fonts[i].italic;
        SetFaceName(g_logfont, QString::fromLatin1(fonts[i].face));
        const int x = 20 + 480 * (i % 2), y = 20 + 360 * (i / 2);
        boxes.push_back(Place(RECT{x, y, x + 300, y + 150}));
        boxes.back()->setPlainText(text);
    }
    FocusOn(frame->View());  // no caret in any box

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ws.QueueSaveFile(dir.filePath(QStringLiteral("boxes.bmp")));
    frame->OnCommand(ID_FILE_SAVE);
    QImage saved(dir.filePath(QStringLiteral("boxes.bmp")));
    ASSERT_FALSE(saved.isNull());

    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(fonts[i].face);
        CEditBox* box = boxes[i];
        // The client area: the box inside its one-pixel border.
        const QRect client = box->rect().adjusted(1, 1, -1, -1);
        const QImage shown = box->grab().toImage().copy(client);
        const RECT r = box->GetCanvasRect();
        const QImage burned = saved.copy(QRect(r.left + 1, r.top + 1, client.width(), client.height()));
        // The file holds the very pixels the box showed...
        int diff = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                diff += (shown.pixel(x, y) & 0xFFFFFF) != (burned.pixel(x, y) & 0xFFFFFF);
        EXPECT_EQ(diff, 0) << "pixels that differ between the box and the file";
        // ... and, where it does not, says which line moved.
        const std::vector<InkLine> shownLines = InkLines(shown), burnedLines = InkLines(burned);
        ASSERT_GE(shownLines.size(), 4u);
        ASSERT_EQ(burnedLines.size(), shownLines.size());
        for (std::size_t n = 0; n < shownLines.size(); ++n) {
            const InkLine& a = shownLines[n];
            const InkLine& b = burnedLines[n];
            EXPECT_LE(std::abs(a.top - b.top), 1) << "line " << n << ": " << a << " shown, " << b << " saved";
            EXPECT_LE(std::abs(a.bottom - b.bottom), 1) << "line " << n << ": " << a << " shown, " << b << " saved";
            EXPECT_LE(std::abs(a.left - b.left), 1) << "line " << n << ": " << a << " shown, " << b << " saved";
            EXPECT_LE(std::abs(a.right - b.right), 1) << "line " << n << ": " << a << " shown, " << b << " saved";
        }
        // Nothing of the text outside the client area.
        const QImage around = saved.copy(QRect(r.left - 6, r.top - 6, RectWidth(r) + 12, RectHeight(r) + 12));
        int outside = 0;
        for (int y = 0; y < around.height(); ++y)
            for (int x = 0; x < around.width(); ++x)
                outside += !QRect(7, 7, client.width(), client.height()).contains(x, y) &&
                           (around.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_EQ(outside, 0);
    }
}

}  // namespace
