// The cost of a border in the full redraw: a 1920x1080 canvas with 200 plain
// figures and an outer border of 50 x 50 tiles cut from a 1000 x 1000
// picture, against the same redraw without the border.
//
// Before timing, the bordered redraw is checked once for having drawn the
// border: every tile position of the frame must differ from the redraw
// without it, so a redraw that skipped the tiles cannot look fast.
#include "BenchSupport.h"
#include "app/MainFrame.h"
#include "platform/Picture.h"
#include "platform/Screen.h"
#include "scene/ShapeFigure.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFigures = 200;

struct Scene {
    Scene()
    {
        SetScreenSizeForTesting(SIZE{kWidth, kHeight});
        frame = std::make_unique<CMainFrame>();
        frame->m_refreshMode = CMainFrame::RefreshMode::Whole;  // every refresh measured redraws the whole canvas
        FillRandomScene(*g_pFigures, kFigures, kWidth, kHeight, 20261206);
        // A 1000 x 1000 picture with detail everywhere, so every tile is a real shrink.
        QImage art(1000, 1000, QImage::Format_RGB32);
        for (int yy = 0; yy < art.height(); ++yy)
            for (int xx = 0; xx < art.width(); ++xx)
                art.setPixel(xx, yy, qRgb(xx % 256, yy % 256, (xx ^ yy) % 256));
        tile = dir.filePath(QStringLiteral("tile.png"));
        art.save(tile);
    }
    void Border(bool on)
    {
        const int index = frame->FindOuterBorder();
        if (on && index < 0)
            g_pFigures->Add(CShapeFigure::Border(RECT{0, 30, kWidth, kHeight - 20}, RGB(192, 192, 192), 50, 50, tile));
        if (!on && index >= 0)
            g_pFigures->RemoveAt(index);
    }
    QTemporaryDir dir;
    QString tile;
    std::unique_ptr<CMainFrame> frame;
};

Scene& SharedScene()
{
    static Scene s;
    return s;
}

// Whether the bordered redraw drew every tile: the top-left pixel of each
// tile position differs from the redraw without the border, or lies under
// a figure drawn over it (then it is white in neither).
bool BorderDrawn(benchmark::State& state)
{
    Scene& s = SharedScene();
    s.Border(false);
    s.frame->RefreshCanvas(false);
    const QImage plain = s.frame->m_bmpCanvas.copy();
    s.Border(true);
    s.frame->RefreshCanvas(false);
    const QImage& bordered = s.frame->m_bmpCanvas;
    long long tiles = 0, differing = 0;
    for (int y = 30; y + 50 <= kHeight - 20; y += 50)
        for (int x : {0, kWidth - 50}) {
            ++tiles;
            differing += bordered.copy(x, y, 50, 50) != plain.copy(x, y, 50, 50);
        }
    if (differing != tiles) {
        state.SkipWithError(("the border drew " + std::to_string(differing) + " of " + std::to_string(tiles) +
                             " column tiles")
                                .c_str());
        return false;
    }
    return true;
}

void BM_RedrawWithoutBorder(benchmark::State& state)
{
    Scene& s = SharedScene();
    s.Border(false);
    for (auto _ : state)
        s.frame->RefreshCanvas(false);
}
BENCHMARK(BM_RedrawWithoutBorder)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RedrawWithOuterBorder(benchmark::State& state)
{
    if (!BorderDrawn(state))
        return;
    Scene& s = SharedScene();
    s.Border(true);
    for (auto _ : state)
        s.frame->RefreshCanvas(false);
}
BENCHMARK(BM_RedrawWithOuterBorder)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, [] { SharedScene().frame.reset(); });
}
