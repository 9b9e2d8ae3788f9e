// The size of drawing the program handles: the full refresh of a 1920 x 1080
// canvas (white, every figure, the handles) holding more and more plain
// figures, and the refresh with the paint of the shown window holding more
// and more text boxes (each a child window over the canvas with its text
// figure). The limits in docs/reliability.md come from these figures: the
// counts whose refresh stays under 100 ms on these machines.
#include "BenchSupport.h"
#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "platform/Screen.h"
#include "text/EditBox.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::unique_ptr<CMainFrame> MakeFrame()
{
    SetScreenSizeForTesting(SIZE{kWidth, kHeight});
    auto frame = std::make_unique<CMainFrame>();
    // The limits are those of a drawing where no figure hides another: the
    // whole canvas, every figure drawn.
    frame->m_refreshMode = CMainFrame::RefreshMode::Reference;
    frame->resize(kWidth, kHeight);
    frame->show();
    return frame;
}

void BM_RefreshPlainFigures(benchmark::State& state)
{
    const auto frame = MakeFrame();
    FillRandomScene(*g_pFigures, static_cast<int>(state.range(0)), kWidth, kHeight, 20261206);
    frame->SelectFigure(0);
    for (auto _ : state) {
        frame->RefreshCanvas(true);
        benchmark::DoNotOptimize(frame->m_bmpCanvas.constBits());
    }
}
BENCHMARK(BM_RefreshPlainFigures)->Arg(1000)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

// The refresh, then the window painted as the screen shows it (the view and
// every box window over it).
void BM_RefreshAndPaintTextBoxes(benchmark::State& state)
{
    const auto frame = MakeFrame();
    std::mt19937 rng(20261206);
    std::uniform_int_distribution<int> x(0, kWidth - 200), y(0, kHeight - 60);
    for (int i = 0; i < state.range(0); ++i) {
        const int l = x(rng), t = y(rng);
        frame->PlaceTextBox(RECT{l, t, l + 160, t + 40});
        if (CEditBox* box = frame->FindTextBoxWindow(i + 1))
            box->setPlainText(QStringLiteral("box %1").arg(i));
    }
    QCoreApplication::processEvents();
    for (auto _ : state) {
        frame->RefreshCanvas(false);
        const QPixmap shown = frame->View()->grab();
        benchmark::DoNotOptimize(shown.cacheKey());
    }
}
BENCHMARK(BM_RefreshAndPaintTextBoxes)->Arg(100)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv, [] {});
}
