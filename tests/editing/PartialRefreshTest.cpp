// The refresh that redraws only what changed, against the refresh that
// redraws everything: the same seeded random editing runs twice on fresh main
// windows, once each way, and after every operation the canvases (and the
// canvas DC's mode, position and the last picture size) must be identical.
//   VELTRA_COMPARE_FIRST  the first seed (default 1)
//   VELTRA_COMPARE_SEEDS  how many seeds (default 200)
//   VELTRA_COMPARE_STEPS  operations per seed (default 40)
#include "editing/RandomEditing.h"

#include "app/MainFrame.h"
#include "borders/GlyphBorder.h"
#include "support/ScriptedWindowSystem.h"
#include "platform/WindowSystem.h"

#include <QApplication>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int EnvInt(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

class PartialRefreshTest : public ::testing::Test {
protected:
    PartialRefreshTest()
    {
        SetWindowSystem(&ws);
        SetGlyphTileFolder(dir.filePath(QStringLiteral("tiles")));
        pictures = RandomEditing::MakePictures(QDir(dir.path()));
    }
    ~PartialRefreshTest() override
    {
        SetGlyphTileFolder(QString());
        SetWindowSystem(nullptr);
    }

    struct Run {
        std::vector<std::size_t> states;  // after each operation
        std::vector<std::string> operations;
        CMainFrame::RefreshCounts refreshes;
    };

    // The canvas and the drawing state a later operation can see.
    static std::size_t StateOf(const CMainFrame& frame)
    {
        const QImage& canvas = frame.m_bmpCanvas;
        const CDC& dc = *frame.m_pCanvasDC;
        float sizes[2] = {frame.m_fPictureWidth, frame.m_fPictureHeight};
        std::size_t bits;
        std::memcpy(&bits, sizes, sizeof bits);
        return qHashMulti(qHashBits(canvas.constBits(), static_cast<std::size_t>(canvas.sizeInBytes())),
                          dc.GetROP2(), dc.GetCurrentPosition().x, dc.GetCurrentPosition().y, bits);
    }

    Run Play(unsigned seed, int steps, bool wholeOnly)
    {
        Run run;
        CMainFrame frame;
        if (wholeOnly)
            frame.m_refreshMode = CMainFrame::RefreshMode::Reference;
        frame.resize(900, 650);
        frame.show();
        QApplication::setActiveWindow(&frame);
        RandomEditing editing(frame, ws, QDir(dir.path()), pictures, seed);
        for (int step = 0; step < steps; ++step) {
            run.operations.emplace_back(editing.Operate());
            run.states.push_back(StateOf(frame));
        }
        run.refreshes = frame.m_refreshCounts;
        return run;
    }

    ScriptedWindowSystem ws;
    QTemporaryDir dir;
    std::vector<QString> pictures;
};

TEST_F(PartialRefreshTest, RandomEditingLeavesTheSameCanvasAsTheWholeRefreshAfterEveryOperation)
{
    const int first = EnvInt("VELTRA_COMPARE_FIRST", 1);
    const int seeds = EnvInt("VELTRA_COMPARE_SEEDS", 200);
    const int steps = EnvInt("VELTRA_COMPARE_STEPS", 40);
    CMainFrame::RefreshCounts partialRun, wholeRun;
    for (int seed = first; seed < first + seeds; ++seed) {
        const Run whole = Play(static_cast<unsigned>(seed), steps, true);
        const Run partial = Play(static_cast<unsigned>(seed), steps, false);
        for (int step = 0; step < steps; ++step) {
            if (partial.states[step] == whole.states[step])
                continue;
            std::string recent;
            for (int i = std::max(0, step - 5); i <= step; ++i)
                recent += " " + std::to_string(i) + ":" + partial.operations[static_cast<std::size_t>(i)];
            FAIL() << "seed " << seed << ", operation " << step << " (" << partial.operations[step]
                   << "): the canvas differs from the whole refresh's; the operations up to it:" << recent;
        }
        partialRun.partial += partial.refreshes.partial;
        partialRun.whole += partial.refreshes.whole;
        wholeRun.partial += whole.refreshes.partial;
        wholeRun.whole += whole.refreshes.whole;
    }
    std::printf("compared %d seeds of %d operations: %d partial and %d whole refreshes against %d whole\n", seeds,
                steps, partialRun.partial, partialRun.whole, wholeRun.whole);
    // The comparison means something only when most refreshes were partial.
    // (The test canvas is 1024 x 768 and the random figures large: about a
    // quarter of the refreshes have more than 40 % of it to redraw, and
    // redraw it whole.)
    EXPECT_EQ(wholeRun.partial, 0);
    if (seeds * steps >= 1000) {
        EXPECT_GT(partialRun.partial, 2 * partialRun.whole);
    }
}

}  // namespace
