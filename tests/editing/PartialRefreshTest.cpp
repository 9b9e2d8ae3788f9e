// Seeded random editing (editing/RandomEditing.h), each run played twice on
// fresh main windows: once as the program refreshes, redrawing only what
// changed, and once with the reference refresh that redraws every figure.
// After every operation the model's invariants must hold and the two
// canvases (and the canvas DC's mode, position and last picture size) must
// be identical. Every 25 operations of the long run the canvas is
// refreshed, its handles erased, and exactly the figures must remain.
//   VELTRA_COMPARE_FIRST, _SEEDS, _STEPS  the short runs (seeds 1 to 200 of 40 operations)
//   VELTRA_SOAK_SEED, VELTRA_SOAK_STEPS    the long run (seed 20261206, 2,000 operations)
#include "editing/RandomEditing.h"
#include "support/WindowTest.h"


#include <map>

namespace {

int EnvInt(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// The model's invariants, or what breaks them: the selection's index is in
// the list or none; every text figure names a box record; every box window
// has exactly one text figure.
std::string Inconsistency(const CMainFrame& frame)
{
    const int n = g_pFigures->GetSize();
    if (frame.m_nSelected < -1 || frame.m_nSelected >= n)
        return "selected " + std::to_string(frame.m_nSelected) + " of " + std::to_string(n);
    std::map<int, int> figures;  // text figures of each box
    for (const auto& f : *g_pFigures) {
        if (f->m_nKind != FK_TEXT)
            continue;
        ++figures[f->m_nTextId];
        if (frame.FindTextBoxInfo(f->m_nTextId) >= g_pTextBoxes->GetSize())
            return "a text figure of box " + std::to_string(f->m_nTextId) + " has no record";
    }
    for (int id = 1; id <= g_nTextBoxCount; ++id)
        if (frame.FindTextBoxWindow(id) && figures[id] != 1)
            return "box " + std::to_string(id) + " has " + std::to_string(figures[id]) + " text figures";
    return {};
}

// The canvas and the drawing state a later operation can see.
std::size_t StateOf(const CMainFrame& frame)
{
    const QImage& canvas = frame.m_bmpCanvas;
    const CDC& dc = *frame.m_pCanvasDC;
    return qHashMulti(qHashBits(canvas.constBits(), static_cast<std::size_t>(canvas.sizeInBytes())), dc.GetROP2(),
                      dc.GetCurrentPosition().x, dc.GetCurrentPosition().y, frame.m_fPictureWidth,
                      frame.m_fPictureHeight);
}

class RandomEditingTest : public ::testing::Test {
protected:
    RandomEditingTest() : pictures(RandomEditing::MakePictures(QDir(dir.path())))
    {
        SetWindowSystem(&ws);
        SetGlyphTileFolder(dir.filePath(QStringLiteral("tiles")));
    }
    ~RandomEditingTest() override
    {
        SetGlyphTileFolder(QString());
        SetWindowSystem(nullptr);
    }

    struct Run {
        std::vector<std::size_t> states;  // after each operation
        std::vector<std::string> operations;
        CMainFrame::RefreshCounts refreshes;
        int selected = 0, withBoxes = 0, mostFigures = 0;  // how much of the program the run reached
    };

    // One run on a fresh shown window, refreshing the reference way or the
    // program's; every `cleanEvery` operations the clean canvas is checked.
    void Play(unsigned seed, int steps, int cleanEvery, bool reference, Run& run)
    {
        CMainFrame frame;
        if (reference)
            frame.m_refreshMode = CMainFrame::RefreshMode::Reference;
        frame.resize(900, 650);
        frame.show();
        QApplication::setActiveWindow(&frame);
        RandomEditing editing(frame, ws, QDir(dir.path()), pictures, seed);
        for (int step = 0; step < steps; ++step) {
            run.operations.emplace_back(editing.Operate());
            const auto where = [&] {
                return "seed " + std::to_string(seed) + (reference ? " (reference)" : "") + ", operation " +
                       std::to_string(step) + " (" + run.operations.back() + "): ";
            };
            const std::string broken = Inconsistency(frame);
            ASSERT_TRUE(broken.empty()) << where() << broken;
            if (cleanEvery > 0 && step % cleanEvery == cleanEvery - 1) {
                frame.RefreshCanvas(true);
                frame.HideHandles();
                ASSERT_TRUE(frame.m_bmpCanvas == PlainRender(frame)) << where() << "handles or outlines left behind";
                frame.ShowHandles();
            }
            run.states.push_back(StateOf(frame));
            run.selected += frame.m_pSelRect != nullptr;
            run.withBoxes += frame.FindTextBoxWindow(g_nTextBoxCount) != nullptr;
            run.mostFigures = std::max(run.mostFigures, g_pFigures->GetSize());
            // The drawing stays small enough for the refreshes to stay quick.
            if (g_pFigures->GetSize() > 150)
                frame.OnCommand(ID_FILE_NEW);
        }
        run.refreshes = frame.m_refreshCounts;
    }

    // Plays `seed` both ways; the partial run's record, after the comparison.
    Run Compare(unsigned seed, int steps, int cleanEvery = 0)
    {
        Run whole, partial;
        Play(seed, steps, cleanEvery, true, whole);
        if (!HasFatalFailure())
            Play(seed, steps, cleanEvery, false, partial);
        if (HasFatalFailure())
            return partial;
        EXPECT_EQ(whole.refreshes.partial, 0);
        for (int step = 0; step < steps; ++step) {
            if (partial.states[step] == whole.states[step])
                continue;
            std::string recent;
            for (int i = std::max(0, step - 5); i <= step; ++i)
                recent += " " + std::to_string(i) + ":" + partial.operations[static_cast<std::size_t>(i)];
            ADD_FAILURE() << "seed " << seed << ", operation " << step << " (" << partial.operations[step]
                          << "): the canvas differs from the reference refresh's; the operations up to it:"
                          << recent;
            break;
        }
        return partial;
    }

    ScriptedWindowSystem ws;
    QTemporaryDir dir;
    std::vector<QString> pictures;
};

TEST_F(RandomEditingTest, ShortRunsFromAnEmptyWindowMatchTheReferenceRefreshAfterEveryOperation)
{
    const int first = EnvInt("VELTRA_COMPARE_FIRST", 1);
    const int seeds = EnvInt("VELTRA_COMPARE_SEEDS", 200);
    const int steps = EnvInt("VELTRA_COMPARE_STEPS", 40);
    CMainFrame::RefreshCounts counts;
    for (int seed = first; seed < first + seeds && !HasFailure(); ++seed) {
        const Run partial = Compare(static_cast<unsigned>(seed), steps);
        counts.partial += partial.refreshes.partial;
        counts.whole += partial.refreshes.whole;
    }
    std::printf("compared %d seeds of %d operations: %d partial and %d whole refreshes\n", seeds, steps,
                counts.partial, counts.whole);
    // The comparison means something only when most refreshes were partial.
    // (The test canvas is 1024 x 768 and the random figures large: about a
    // quarter of the refreshes have more than 40 % of it to redraw, and
    // redraw it whole.)
    if (seeds * steps >= 1000) {
        EXPECT_GT(counts.partial, 2 * counts.whole);
    }
}

using SoakTest = RandomEditingTest;

TEST_F(SoakTest, ALongRunKeepsTheModelConsistentAndMatchesTheReferenceRefresh)
{
    const int steps = EnvInt("VELTRA_SOAK_STEPS", 2000);
    const Run run = Compare(static_cast<unsigned>(EnvInt("VELTRA_SOAK_SEED", 20261206)), steps, 25);
    std::printf("soak: %d steps, a selection in %d, a text box in %d, at most %d figures\n", steps, run.selected,
                run.withBoxes, run.mostFigures);
    // A run that stopped doing anything fails instead of passing.
    if (steps >= 1000 && !HasFailure()) {
        EXPECT_GT(run.selected, steps / 10);
        EXPECT_GT(run.withBoxes, steps / 10);
        EXPECT_GT(run.mostFigures, 20);
    }
}

}  // namespace
