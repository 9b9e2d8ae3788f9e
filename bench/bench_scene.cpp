// The cost of redrawing the scene: the refresh sequence over 1,000 plain
// figures on a 1920x1080 canvas beside QPainter drawing the same scene, and
// one rubber-band step (erase, draw, and the copy of what changed to the
// window) beside a full refresh.
#include "app/MainFrame.h"
#include "platform/Screen.h"
#include "scene/ShapeFigure.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFigures = 1000;

// Lines, rectangles and ellipses of 10 to 400 pixels, in random colours, the
// same scene every run.
void FillScene(CFigureList& list)
{
    std::mt19937 rng(20240601);
    std::uniform_int_distribution<int> size(10, 400), kind(0, 2), colour(0, 0xFFFFFF);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1);
    list.RemoveAll();
    for (int i = 0; i < kFigures; ++i) {
        const int l = x(rng), t = y(rng);
        const RECT rc{l, t, l + size(rng), t + size(rng)};
        const auto k = static_cast<FigureKind>(kind(rng));
        const auto line = static_cast<COLORREF>(colour(rng));
        const auto fill = static_cast<COLORREF>(colour(rng));
        list.Add(CShapeFigure::Shape(k, rc, line, fill));
    }
}

QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

struct Frame {
    Frame()
    {
        SetScreenSizeForTesting(SIZE{kWidth, kHeight});
        frame = std::make_unique<CMainFrame>();
        FillScene(*g_pFigures);
    }
    std::unique_ptr<CMainFrame> frame;
};

Frame& SharedFrame()
{
    static Frame f;
    return f;
}

void BM_RefreshSequence(benchmark::State& state)
{
    CMainFrame& frame = *SharedFrame().frame;
    for (auto _ : state) {
        frame.RefreshCanvas(false);
        benchmark::DoNotOptimize(frame.m_bmpCanvas.constBits());
    }
}
BENCHMARK(BM_RefreshSequence)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same scene as the refresh paints it, drawn the usual QPainter way:
// white, then each figure's 1-pixel outline with its fill inside; an ellipse
// inside white first, then its fill, which leaves the white ring.
void BM_QPainterSameScene(benchmark::State& state)
{
    SharedFrame();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        p.fillRect(image.rect(), Qt::white);
        for (const auto& f : *g_pFigures) {
            const RECT& r = f->m_rect;
            p.setPen(QPen(ToQColor(f->LineColor()), 0));
            switch (f->m_nKind) {
            case FK_LINE:
                p.setBrush(Qt::NoBrush);
                p.drawLine(r.left, r.top, r.right, r.bottom);
                break;
            case FK_RECTANGLE:
                // A 1-pixel outline round columns l..r-1, rows t..b-1, filled inside.
                p.setBrush(ToQColor(f->FillColor()));
                p.drawRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 2, r.bottom - 2)));
                break;
            case FK_ELLIPSE:
                p.setBrush(Qt::white);
                p.drawEllipse(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
                p.setPen(Qt::NoPen);
                p.setBrush(ToQColor(f->FillColor()));
                p.drawEllipse(r.left + 1, r.top + 1, r.right - r.left - 3, r.bottom - r.top - 3);
                break;
            default:
                break;
            }
        }
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QPainterSameScene)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One step of a 400 x 300 rectangle band over the drawn scene: the handler
// erases and redraws the band, then the window copies the two band
// rectangles from the canvas, as its paint does.
void BM_RubberBandStep(benchmark::State& state)
{
    CMainFrame& frame = *SharedFrame().frame;
    frame.RefreshCanvas(false);
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    frame.OnInsertRectangle();
    frame.OnLButtonDown(MK_LBUTTON, POINT{600, 400});
    int step = 0;
    for (auto _ : state) {
        const POINT before = frame.m_ptCurrent;
        const POINT next{1000 + (step & 1), 700 + (step & 1)};
        ++step;
        frame.OnMouseMove(MK_LBUTTON, next);
        QPainter p(&window);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        for (const POINT corner : {before, next}) {
            const QRect r = QRect(QPoint(600, 400), QPoint(corner.x, corner.y)).normalized().adjusted(-1, -1, 1, 1);
            p.drawImage(r, frame.m_bmpCanvas, r);
        }
        p.end();
        benchmark::DoNotOptimize(window.constBits());
    }
    frame.OnLButtonUp(0, frame.m_ptCurrent);
    g_pFigures->RemoveAt(g_pFigures->GetSize() - 1);  // the band's figure leaves the shared scene
}
BENCHMARK(BM_RubberBandStep)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SharedFrame().frame.reset();
    return 0;
}
