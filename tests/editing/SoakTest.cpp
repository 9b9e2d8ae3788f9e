// A soak of random editing: thousands of seeded operations of every kind
// (editing/RandomEditing.h), with the model's invariants checked after every
// step and the canvas checked against a fresh redraw.
//   VELTRA_SOAK_SEED   the seed (default 20261206)
//   VELTRA_SOAK_STEPS  the number of operations (default 10000)
#include "editing/EditingFixture.h"
#include "editing/RandomEditing.h"

#include "text/TextBoxInfo.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>

namespace {

int EnvInt(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

class SoakTest : public EditingTest {
protected:
    SoakTest()
        : editing(frame, ws, QDir(dir.path()), RandomEditing::MakePictures(QDir(dir.path())),
                  static_cast<unsigned>(EnvInt("VELTRA_SOAK_SEED", 20261206)))
    {
        SetGlyphTileFolder(dir.filePath(QStringLiteral("tiles")));
        frame.resize(900, 650);
        frame.show();
        QApplication::setActiveWindow(&frame);
    }
    ~SoakTest() override { SetGlyphTileFolder(QString()); }

    const char* Operate() { return editing.Operate(); }

    // The model's invariants: the selection's index is in the list or none;
    // every text figure names a box record; every box window has exactly one
    // text figure.
    void ExpectConsistent(int step, const char* what)
    {
        const int n = g_pFigures->GetSize();
        ASSERT_TRUE(frame.m_nSelected == -1 || (frame.m_nSelected >= 0 && frame.m_nSelected < n))
            << "step " << step << " (" << what << "): selected " << frame.m_nSelected << " of " << n;
        for (int i = 0; i < n; ++i) {
            if (Fig(i).m_nKind != FK_TEXT)
                continue;
            ASSERT_LT(frame.FindTextBoxInfo(Fig(i).m_nTextId), g_pTextBoxes->GetSize())
                << "step " << step << " (" << what << "): text figure " << i << " has no record";
        }
        for (int id = 1; id <= g_nTextBoxCount; ++id) {
            if (!frame.FindTextBoxWindow(id))
                continue;
            int figures = 0;
            for (int i = 0; i < n; ++i)
                figures += Fig(i).m_nKind == FK_TEXT && Fig(i).m_nTextId == id;
            ASSERT_EQ(figures, 1) << "step " << step << " (" << what << "): text figures of box " << id;
        }
    }

    // After a refresh the canvas is the figures with the selection's handles
    // on top, and erasing the handles leaves exactly the figures.
    void ExpectCleanRefresh(int step, const char* what)
    {
        frame.RefreshCanvas(true);
        frame.HideHandles();
        ASSERT_EQ(Canvas(), PlainRender()) << "step " << step << " (" << what << "): handles left behind";
        frame.ShowHandles();
    }

    RandomEditing editing;
};

TEST_F(SoakTest, ThousandsOfRandomOperationsKeepTheModelConsistentAndTheCanvasClean)
{
    const int steps = EnvInt("VELTRA_SOAK_STEPS", 10000);
    // How much of the program the run reached, so a soak that stopped doing
    // anything fails instead of passing.
    int selected = 0, withBoxes = 0, mostFigures = 0;
    for (int step = 0; step < steps; ++step) {
        const char* what = Operate();
        ExpectConsistent(step, what);
        selected += frame.m_pSelRect != nullptr;
        withBoxes += frame.FindTextBoxWindow(g_nTextBoxCount) != nullptr;
        mostFigures = std::max(mostFigures, g_pFigures->GetSize());
        if (step % 25 == 24)
            ExpectCleanRefresh(step, what);
        if (HasFatalFailure())
            return;
        // The drawing stays small enough for the refreshes to stay quick.
        if (g_pFigures->GetSize() > 150)
            frame.OnCommand(ID_FILE_NEW);
    }
    std::printf("soak: %d steps, a selection in %d, a text box in %d, at most %d figures\n", steps, selected,
                withBoxes, mostFigures);
    if (steps >= 1000) {
        EXPECT_GT(selected, steps / 10);
        EXPECT_GT(withBoxes, steps / 10);
        EXPECT_GT(mostFigures, 20);
    }
}

}  // namespace
