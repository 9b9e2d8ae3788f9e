// Save burns each box's text into the canvas as the box shows it: for several
// fonts and sizes, four lines with a tab, a line that wraps and one that
// begins in Hebrew, the saved file holds exactly the pixels the box showed,
// and lines the box cuts off are not in the file.
#include "support/WindowTest.h"

namespace {

using SavedTextTest = ShownWindowTest;

// The bands of rows holding ink (pixels not white) in `image`, and how many
// ink pixels lie outside `inside`.
std::pair<int, int> InkBands(const QImage& image, const QRect& inside)
{
    int bands = 0, outside = 0;
    bool previous = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                ink = true;
                outside += !inside.contains(x, y);
            }
        bands += ink && !previous;
        previous = ink;
    }
    return {bands, outside};
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
    FocusOn(frame.View());  // no caret in any box
    ws.QueueSaveFile(dir.filePath(QStringLiteral("boxes.bmp")));
    frame.OnCommand(ID_FILE_SAVE);
    const QImage saved(dir.filePath(QStringLiteral("boxes.bmp")));
    ASSERT_FALSE(saved.isNull());

    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(fonts[i].face);
        // The client area: the box inside its one-pixel border.
        const QRect client = boxes[i]->rect().adjusted(1, 1, -1, -1);
        const QImage shown = boxes[i]->grab().toImage().copy(client);
        const RECT r = boxes[i]->GetCanvasRect();
        const QImage burned = saved.copy(QRect(r.left + 1, r.top + 1, client.width(), client.height()));
        EXPECT_GE(InkBands(shown, shown.rect()).first, 4) << "the box shows its lines";
        int diff = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                diff += (shown.pixel(x, y) & 0xFFFFFF) != (burned.pixel(x, y) & 0xFFFFFF);
        EXPECT_EQ(diff, 0) << "pixels that differ between the box and the file";
        // Nothing of the text outside the client area.
        const QImage around = saved.copy(QRect(r.left - 6, r.top - 6, RectWidth(r) + 12, RectHeight(r) + 12));
        EXPECT_EQ(InkBands(around, QRect(7, 7, client.width(), client.height())).second, 0);
    }
}

}  // namespace
