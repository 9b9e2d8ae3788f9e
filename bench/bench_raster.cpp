// The raster device context against QPainter on a QImage (anti-aliasing
// off), scene for scene, and PatBlt against a plain memset of the same bytes.
//   build/bin/bench_raster --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "platform/Gdi.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Box {
    int l, t, r, b;
    COLORREF pen, fill;
};

// 1,000 boxes of 10 to 300 pixels a side, anywhere on the surface.
std::vector<Box> Boxes(unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> side(10, 300), x(0, kWidth - 1), y(0, kHeight - 1), c(0, 0xFFFFFF);
    std::vector<Box> boxes;
    for (int i = 0; i < 1000; ++i) {
        const int l = x(rng), t = y(rng);
        boxes.push_back({l, t, l + side(rng), t + side(rng), static_cast<COLORREF>(c(rng)),
                         static_cast<COLORREF>(c(rng))});
    }
    return boxes;
}

struct Segment {
    POINT a, b;
    COLORREF color;
};

std::vector<Segment> Lines()
{
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1), c(0, 0xFFFFFF);
    std::vector<Segment> lines;
    for (int i = 0; i < 10000; ++i)
        lines.push_back({{x(rng), y(rng)}, {x(rng), y(rng)}, static_cast<COLORREF>(c(rng))});
    return lines;
}

QImage Canvas()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(0xFFFFFFFFu);
    return image;
}

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

void Aliased(QPainter& p) { p.setRenderHint(QPainter::Antialiasing, false); }

// (a) filled rectangles, then filled ellipses.
void BM_RectanglesAndEllipses_CDC(benchmark::State& state)
{
    const std::vector<Box> rects = Boxes(1), ellipses = Boxes(2);
    QImage image = Canvas();
    for (auto _ : state) {
        CDC dc(image);
        for (const Box& b : rects) {
            CPenSelection pen(dc, CPen(PS_SOLID, 1, b.pen));
            CBrushSelection brush(dc, CBrush::Solid(b.fill));
            dc.Rectangle(b.l, b.t, b.r, b.b);
        }
        for (const Box& b : ellipses) {
            CPenSelection pen(dc, CPen(PS_SOLID, 1, b.pen));
            CBrushSelection brush(dc, CBrush::Solid(b.fill));
            dc.Ellipse(b.l, b.t, b.r, b.b);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RectanglesAndEllipses_CDC)->Unit(benchmark::kMillisecond);

void BM_RectanglesAndEllipses_QPainter(benchmark::State& state)
{
    const std::vector<Box> rects = Boxes(1), ellipses = Boxes(2);
    QImage image = Canvas();
    for (auto _ : state) {
        QPainter p(&image);
        Aliased(p);
        for (const Box& b : rects) {
            p.setPen(ToQColor(b.pen));
            p.setBrush(ToQColor(b.fill));
            p.drawRect(b.l, b.t, b.r - b.l - 1, b.b - b.t - 1);
        }
        for (const Box& b : ellipses) {
            p.setPen(ToQColor(b.pen));
            p.setBrush(ToQColor(b.fill));
            p.drawEllipse(b.l, b.t, b.r - b.l - 1, b.b - b.t - 1);
        }
        p.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RectanglesAndEllipses_QPainter)->Unit(benchmark::kMillisecond);

// (b) 10,000 one-pixel lines.
void BM_Lines_CDC(benchmark::State& state)
{
    const std::vector<Segment> lines = Lines();
    QImage image = Canvas();
    for (auto _ : state) {
        CDC dc(image);
        for (const Segment& s : lines) {
            CPenSelection pen(dc, CPen(PS_SOLID, 1, s.color));
            dc.MoveTo(s.a.x, s.a.y);
            dc.LineTo(s.b.x, s.b.y);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Lines_CDC)->Unit(benchmark::kMillisecond);

void BM_Lines_QPainter(benchmark::State& state)
{
    const std::vector<Segment> lines = Lines();
    QImage image = Canvas();
    for (auto _ : state) {
        QPainter p(&image);
        Aliased(p);
        for (const Segment& s : lines) {
            p.setPen(ToQColor(s.color));
            p.drawLine(s.a.x, s.a.y, s.b.x, s.b.y);
        }
        p.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Lines_QPainter)->Unit(benchmark::kMillisecond);

// (c) one rubber-band step: an 1800 x 1000 dashed rectangle and ellipse,
// each drawn twice in not-XOR.
void BM_RubberBand_CDC(benchmark::State& state)
{
    QImage image = Canvas();
    for (auto _ : state) {
        CDC dc(image);
        dc.SetROP2(R2_NOTXORPEN);
        CPenSelection pen(dc, CPen(PS_DASH, 1, RGB(192, 192, 192)));
        for (int i = 0; i < 2; ++i) {
            dc.Rectangle(60, 40, 1860, 1040);
            dc.Ellipse(60, 40, 1860, 1040);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RubberBand_CDC)->Unit(benchmark::kMicrosecond);

void BM_RubberBand_QPainter(benchmark::State& state)
{
    QImage image = Canvas();
    for (auto _ : state) {
        QPainter p(&image);
        Aliased(p);
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        p.setPen(QPen(QColor(192, 192, 192), 0, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 2; ++i) {
            p.drawRect(60, 40, 1799, 999);
            p.drawEllipse(60, 40, 1799, 999);
        }
        p.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RubberBand_QPainter)->Unit(benchmark::kMicrosecond);

// (d) the whole-surface PatBlt that starts every refresh, and a memset of the
// same bytes.
void BM_PatBlt_CDC(benchmark::State& state)
{
    QImage image = Canvas();
    for (auto _ : state) {
        CDC dc(image);
        dc.PatBlt(0, 0, kWidth, kHeight, PATCOPY);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PatBlt_CDC)->Unit(benchmark::kMicrosecond);

// The same with a colour whose bytes differ, which memset cannot write.
void BM_PatBltColour_CDC(benchmark::State& state)
{
    QImage image = Canvas();
    for (auto _ : state) {
        CDC dc(image);
        CBrushSelection brush(dc, CBrush::Solid(RGB(0x12, 0x34, 0x56)));
        dc.PatBlt(0, 0, kWidth, kHeight, PATCOPY);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PatBltColour_CDC)->Unit(benchmark::kMicrosecond);

void BM_PatBlt_Memset(benchmark::State& state)
{
    QImage image = Canvas();
    for (auto _ : state) {
        std::memset(image.bits(), 0xFF, static_cast<std::size_t>(image.sizeInBytes()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PatBlt_Memset)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
