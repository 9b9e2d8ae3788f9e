// The raster device context against QPainter on a QImage (anti-aliasing
// off), scene for scene, and PatBlt against a plain memset of the same bytes.
//   build/bin/bench_raster --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// A side that draws less must not look faster, so before any timing every
// benchmark draws its scene once on both sides and counts what each changed
// (see "Checking that both sides did the same work" below); when the counts
// differ by more than the stated tolerance the benchmark stops with an error
// that gives both counts. The check runs once per pair and its counts are
// reported as counters of each benchmark.
#include "platform/Gdi.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr QRgb kWhite = 0xFFFFFFFFu;

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

QImage Canvas(QRgb colour = kWhite)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

void Aliased(QPainter& p) { p.setRenderHint(QPainter::Antialiasing, false); }

// ---- Checking that both sides did the same work ------------------------------
//
// Two counts, each taken on both sides from the same starting surface:
//  - changed: the pixels that differ from the starting surface after the
//    whole scene is drawn once;
//  - written: the pixels each shape changes as the scene is drawn, summed
//    over the shapes. The scene is drawn by the very functions the timed
//    loops call, with a watch that notes, before each shape, the pixels the
//    shape can reach, and counts after it those that changed.
// Scenes (a) and (b) cover the surface many times over (the rectangles alone
// about eleven times), so nearly every pixel ends up changed whether a side
// draws all the shapes or leaves some out: "changed" alone could not catch a
// side that skips work. "written" grows with every shape drawn, so it can.
//
// Where the drawing rules agree, the results must be equal to the pixel: the
// whole-surface fills against memset, and the rubber band, whose two not-XOR
// passes must leave the surface as it was on both sides.
//
// Shapes: GDI's incremental ellipse and QPainter's ellipse differ by a pixel
// here and there along the edge (and in very flat boxes QPainter's ends in a
// spike past the box), and QPainter draws a line's last pixel where LineTo
// stops one short. Measured (docs/performance.md has the counts), the two
// sides are 0.2 % apart on scenes (a) and (b), where the edges are a small
// share of what is drawn, and 1.2 % on the rubber band, which is nothing but
// edges. The tolerances leave several times that room, and no more: 1 % on
// the scenes still fails a side that leaves out one shape in fifty, 2 % on
// the outlines one that draws its dashes with longer gaps (Qt's own dash
// pattern comes out 9 % short).
constexpr double kSceneTolerance = 0.01;
constexpr double kOutlineTolerance = 0.02;
constexpr double kExact = 0.0;

// Pixels of `image` that differ from `start`.
long long ChangedPixels(const QImage& image, const QImage& start)
{
    long long n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(start.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += a[x] != b[x];
    }
    return n;
}

// Pixels of a uniform starting surface that `image` no longer holds.
long long ChangedPixels(const QImage& image, QRgb start)
{
    long long n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += a[x] != start;
    }
    return n;
}

// Pixels named row by row: on row y, columns [x0, x1).
struct RowSpan {
    int y, x0, x1;
};
using Region = std::vector<RowSpan>;

constexpr int kMargin = 2;

// Everything a shape in a box can reach, clipped to the surface. The margin
// is for rasterisers that reach further than the box: QPainter's aliased
// ellipse in a very flat box ends in a spike past the box's ends, up to 13
// pixels for a 275 x 10 box (about 5 % of the long side), so an eighth of the
// long side is added to the usual two pixels.
Region RegionOf(const Box& b)
{
    Region region;
    const int m = kMargin + std::max(std::abs(b.r - b.l), std::abs(b.b - b.t)) / 8;
    const int x0 = std::max(std::min(b.l, b.r) - m, 0), x1 = std::min(std::max(b.l, b.r) + m, kWidth);
    for (int y = std::max(std::min(b.t, b.b) - m, 0); y < std::min(std::max(b.t, b.b) + m, kHeight); ++y)
        if (x0 < x1)
            region.push_back({y, x0, x1});
    return region;
}

// Everything a one-pixel line can reach: on each row, the columns where the
// ideal segment passes within kMargin rows, widened by kMargin. (The line's
// box would do as well, but 10,000 boxes of random lines cover the surface
// a thousand times over.)
Region RegionOf(const Segment& s)
{
    Region region;
    const double ax = s.a.x, ay = s.a.y, dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
    const int y0 = std::max(std::min(s.a.y, s.b.y) - kMargin, 0);
    const int y1 = std::min(std::max(s.a.y, s.b.y) + kMargin, kHeight - 1);
    for (int y = y0; y <= y1; ++y) {
        double lo = std::min(ax, ax + dx), hi = std::max(ax, ax + dx);
        if (dy != 0) {
            const double t0 = std::clamp((y - kMargin - ay) / dy, 0.0, 1.0);
            const double t1 = std::clamp((y + kMargin - ay) / dy, 0.0, 1.0);
            lo = std::min(ax + dx * t0, ax + dx * t1);
            hi = std::max(ax + dx * t0, ax + dx * t1);
        }
        const int x0 = std::max(static_cast<int>(std::floor(lo)) - kMargin, 0);
        const int x1 = std::min(static_cast<int>(std::ceil(hi)) + kMargin + 1, kWidth);
        if (x0 < x1)
            region.push_back({y, x0, x1});
    }
    return region;
}

// What the timed loops pass as the watch: nothing, compiled away.
struct Unwatched {
    template <class Shape>
    void Before(const Shape&)
    {
    }
    template <class Shape>
    void After(const Shape&)
    {
    }
};

// Counts the pixels each shape changes: before a shape, keeps the pixels its
// region holds; after it, counts those that differ. The surface is read while
// the side draws on it, which both sides allow: the device context and
// QPainter's raster engine write straight into the image's pixels.
class PixelWatch {
public:
    explicit PixelWatch(const QImage& image) : m_image(image) {}
    template <class Shape>
    void Before(const Shape& shape)
    {
        m_region = RegionOf(shape);
        m_kept.clear();
        for (const RowSpan& s : m_region) {
            const auto* row = reinterpret_cast<const QRgb*>(m_image.constScanLine(s.y));
            m_kept.insert(m_kept.end(), row + s.x0, row + s.x1);
        }
    }
    template <class Shape>
    void After(const Shape&)
    {
        auto kept = m_kept.cbegin();
        for (const RowSpan& s : m_region) {
            const auto* row = reinterpret_cast<const QRgb*>(m_image.constScanLine(s.y));
            for (int x = s.x0; x < s.x1; ++x, ++kept)
                m_written += row[x] != *kept;
        }
    }
    long long Written() const { return m_written; }

private:
    const QImage& m_image;
    Region m_region;
    std::vector<QRgb> m_kept;
    long long m_written = 0;
};

// ---- The scenes, one function per side --------------------------------------
// The timed loops and the checks call the same functions.

// (a) filled rectangles, then filled ellipses.
template <class Watch>
void RectanglesAndEllipsesCDC(QImage& image, const std::vector<Box>& rects, const std::vector<Box>& ellipses,
                              Watch& watch)
{
    CDC dc(image);
    for (const Box& b : rects) {
        watch.Before(b);
        CPenSelection pen(dc, CPen(PS_SOLID, 1, b.pen));
        CBrushSelection brush(dc, CBrush::Solid(b.fill));
        dc.Rectangle(b.l, b.t, b.r, b.b);
        watch.After(b);
    }
    for (const Box& b : ellipses) {
        watch.Before(b);
        CPenSelection pen(dc, CPen(PS_SOLID, 1, b.pen));
        CBrushSelection brush(dc, CBrush::Solid(b.fill));
        dc.Ellipse(b.l, b.t, b.r, b.b);
        watch.After(b);
    }
}

template <class Watch>
void RectanglesAndEllipsesQPainter(QImage& image, const std::vector<Box>& rects, const std::vector<Box>& ellipses,
                                   Watch& watch)
{
    QPainter p(&image);
    Aliased(p);
    for (const Box& b : rects) {
        watch.Before(b);
        p.setPen(ToQColor(b.pen));
        p.setBrush(ToQColor(b.fill));
        p.drawRect(b.l, b.t, b.r - b.l - 1, b.b - b.t - 1);
        watch.After(b);
    }
    for (const Box& b : ellipses) {
        watch.Before(b);
        p.setPen(ToQColor(b.pen));
        p.setBrush(ToQColor(b.fill));
        p.drawEllipse(b.l, b.t, b.r - b.l - 1, b.b - b.t - 1);
        watch.After(b);
    }
}

// (b) one-pixel lines.
template <class Watch>
void LinesCDC(QImage& image, const std::vector<Segment>& lines, Watch& watch)
{
    CDC dc(image);
    for (const Segment& s : lines) {
        watch.Before(s);
        CPenSelection pen(dc, CPen(PS_SOLID, 1, s.color));
        dc.MoveTo(s.a.x, s.a.y);
        dc.LineTo(s.b.x, s.b.y);
        watch.After(s);
    }
}

template <class Watch>
void LinesQPainter(QImage& image, const std::vector<Segment>& lines, Watch& watch)
{
    QPainter p(&image);
    Aliased(p);
    for (const Segment& s : lines) {
        watch.Before(s);
        p.setPen(ToQColor(s.color));
        p.drawLine(s.a.x, s.a.y, s.b.x, s.b.y);
        watch.After(s);
    }
}

// (c) the rubber band: an 1800 x 1000 dashed rectangle and ellipse in not-XOR,
// `passes` times (a step is two: the erase and the redraw).
void RubberBandCDC(QImage& image, int passes)
{
    CDC dc(image);
    dc.SetROP2(R2_NOTXORPEN);
    CPenSelection pen(dc, CPen(PS_DASH, 1, RGB(192, 192, 192)));
    for (int i = 0; i < passes; ++i) {
        dc.Rectangle(60, 40, 1860, 1040);
        dc.Ellipse(60, 40, 1860, 1040);
    }
}

void RubberBandQPainter(QImage& image, int passes)
{
    QPainter p(&image);
    Aliased(p);
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    // PS_DASH's own pattern, 18 pixels on and 6 off. Qt::DashLine would be 4
    // on and 2 off, which leaves a third of the outline out where the device
    // context leaves a quarter: QPainter would draw 9 % fewer pixels.
    QPen pen(QColor(192, 192, 192), 0);
    pen.setDashPattern({18, 6});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < passes; ++i) {
        p.drawRect(60, 40, 1799, 999);
        p.drawEllipse(60, 40, 1799, 999);
    }
}

// (d) the whole-surface fill.
void PatBltWhite(QImage& image)
{
    CDC dc(image);
    dc.PatBlt(0, 0, kWidth, kHeight, PATCOPY);
}

constexpr COLORREF kPatBltColour = RGB(0x12, 0x34, 0x56);

void PatBltColour(QImage& image)
{
    CDC dc(image);
    CBrushSelection brush(dc, CBrush::Solid(kPatBltColour));
    dc.PatBlt(0, 0, kWidth, kHeight, PATCOPY);
}

void MemsetWhite(QImage& image)
{
    std::memset(image.bits(), 0xFF, static_cast<std::size_t>(image.sizeInBytes()));
}

// ---- The verdicts ----------------------------------------------------------------

// One count taken on both sides.
struct Count {
    const char* name;  // the counter's name in the benchmark output
    const char* what;  // what was counted, for the error message
    long long ours;    // the device context
    long long theirs;  // QPainter or memset
    double tolerance;  // the largest difference allowed, as a share of the larger count
};

struct Verdict {
    std::vector<Count> counts;
    std::string error;  // empty when both sides did the same work
};

Verdict Judge(const char* scene, const char* theirName, std::vector<Count> counts, std::string error = {})
{
    for (const Count& c : counts) {
        if (!error.empty())
            break;
        const long long larger = std::max(c.ours, c.theirs);
        const long long difference = std::llabs(c.ours - c.theirs);
        if (static_cast<double>(difference) > c.tolerance * static_cast<double>(larger)) {
            char text[512];
            std::snprintf(text, sizeof text,
                          "%s: the two sides did not do the same work: %s: device context %lld, %s %lld "
                          "(%.2f %% apart, at most %.1f %% allowed)",
                          scene, c.what, c.ours, theirName, c.theirs,
                          100.0 * static_cast<double>(difference) / static_cast<double>(larger), 100.0 * c.tolerance);
            error = text;
        }
    }
    return Verdict{std::move(counts), std::move(error)};
}

enum class Side { Ours, Theirs };

// Before the timed loop: stops the benchmark with the verdict's error, or
// reports this side's counts. False when the benchmark must not run.
bool SameWork(benchmark::State& state, const Verdict& verdict, Side side)
{
    if (!verdict.error.empty()) {
        state.SkipWithError(verdict.error.c_str());
        return false;
    }
    for (const Count& c : verdict.counts)
        state.counters[c.name] = static_cast<double>(side == Side::Ours ? c.ours : c.theirs);
    return true;
}

// The two counts of a watched scene: `draw(image, watch)` draws it once.
template <class Draw>
std::pair<long long, long long> ChangedAndWritten(Draw draw)
{
    QImage image = Canvas();
    PixelWatch watch(image);
    draw(image, watch);
    return {ChangedPixels(image, kWhite), watch.Written()};
}

const Verdict& RectanglesAndEllipsesVerdict()
{
    static const Verdict verdict = [] {
        const std::vector<Box> rects = Boxes(1), ellipses = Boxes(2);
        const auto [oursChanged, oursWritten] = ChangedAndWritten(
            [&](QImage& image, PixelWatch& watch) { RectanglesAndEllipsesCDC(image, rects, ellipses, watch); });
        const auto [theirsChanged, theirsWritten] = ChangedAndWritten(
            [&](QImage& image, PixelWatch& watch) { RectanglesAndEllipsesQPainter(image, rects, ellipses, watch); });
        return Judge("rectangles and ellipses", "QPainter",
                     {{"changed", "pixels changed by the whole scene", oursChanged, theirsChanged, kSceneTolerance},
                      {"written", "pixels written shape by shape", oursWritten, theirsWritten, kSceneTolerance}});
    }();
    return verdict;
}

const Verdict& LinesVerdict()
{
    static const Verdict verdict = [] {
        const std::vector<Segment> lines = Lines();
        const auto [oursChanged, oursWritten] =
            ChangedAndWritten([&](QImage& image, PixelWatch& watch) { LinesCDC(image, lines, watch); });
        const auto [theirsChanged, theirsWritten] =
            ChangedAndWritten([&](QImage& image, PixelWatch& watch) { LinesQPainter(image, lines, watch); });
        return Judge("lines", "QPainter",
                     {{"changed", "pixels changed by the whole scene", oursChanged, theirsChanged, kSceneTolerance},
                      {"written", "pixels written line by line", oursWritten, theirsWritten, kSceneTolerance}});
    }();
    return verdict;
}

const Verdict& RubberBandVerdict()
{
    static const Verdict verdict = [] {
        QImage ours = Canvas(), theirs = Canvas();
        RubberBandCDC(ours, 1);
        RubberBandQPainter(theirs, 1);
        const long long oursDrawn = ChangedPixels(ours, kWhite), theirsDrawn = ChangedPixels(theirs, kWhite);
        // The second pass is the erase: it must take back exactly what the
        // first drew.
        RubberBandCDC(ours, 1);
        RubberBandQPainter(theirs, 1);
        return Judge("rubber band", "QPainter",
                     {{"changed", "pixels changed by one pass", oursDrawn, theirsDrawn, kOutlineTolerance},
                      {"left", "pixels still changed after the erase", ChangedPixels(ours, kWhite),
                       ChangedPixels(theirs, kWhite), kExact}});
    }();
    return verdict;
}

// The fills start from black, so that each of them changes every pixel: from
// the white the timed loops start from, a side that did nothing would look
// the same as one that filled.
constexpr QRgb kFillStart = 0xFF000000u;

const Verdict& PatBltWhiteVerdict()
{
    static const Verdict verdict = [] {
        QImage ours = Canvas(kFillStart), theirs = Canvas(kFillStart);
        PatBltWhite(ours);
        MemsetWhite(theirs);
        const long long apart = ChangedPixels(ours, theirs);
        std::string error;
        if (apart != 0)
            error = "PatBlt white: the device context's surface differs from memset's in " + std::to_string(apart) +
                    " pixels; both must be all white";
        return Judge("PatBlt white", "memset",
                     {{"changed", "pixels changed", ChangedPixels(ours, kFillStart),
                       ChangedPixels(theirs, kFillStart), kExact}},
                     error);
    }();
    return verdict;
}

const Verdict& PatBltColourVerdict()
{
    static const Verdict verdict = [] {
        QImage ours = Canvas(kFillStart), theirs = Canvas(kFillStart);
        PatBltColour(ours);
        MemsetWhite(theirs);
        const long long wrong = ChangedPixels(ours, ColorToPixel(kPatBltColour));
        std::string error;
        if (wrong != 0)
            error = "PatBlt in a colour: " + std::to_string(wrong) + " pixels do not hold the brush's colour";
        return Judge("PatBlt in a colour", "memset",
                     {{"changed", "pixels changed", ChangedPixels(ours, kFillStart),
                       ChangedPixels(theirs, kFillStart), kExact}},
                     error);
    }();
    return verdict;
}

// ---- The benchmarks ------------------------------------------------------------

// (a) filled rectangles, then filled ellipses.
void BM_RectanglesAndEllipses_CDC(benchmark::State& state)
{
    if (!SameWork(state, RectanglesAndEllipsesVerdict(), Side::Ours))
        return;
    const std::vector<Box> rects = Boxes(1), ellipses = Boxes(2);
    QImage image = Canvas();
    Unwatched unwatched;
    for (auto _ : state) {
        RectanglesAndEllipsesCDC(image, rects, ellipses, unwatched);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RectanglesAndEllipses_CDC)->Unit(benchmark::kMillisecond);

void BM_RectanglesAndEllipses_QPainter(benchmark::State& state)
{
    if (!SameWork(state, RectanglesAndEllipsesVerdict(), Side::Theirs))
        return;
    const std::vector<Box> rects = Boxes(1), ellipses = Boxes(2);
    QImage image = Canvas();
    Unwatched unwatched;
    for (auto _ : state) {
        RectanglesAndEllipsesQPainter(image, rects, ellipses, unwatched);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RectanglesAndEllipses_QPainter)->Unit(benchmark::kMillisecond);

// (b) 10,000 one-pixel lines.
void BM_Lines_CDC(benchmark::State& state)
{
    if (!SameWork(state, LinesVerdict(), Side::Ours))
        return;
    const std::vector<Segment> lines = Lines();
    QImage image = Canvas();
    Unwatched unwatched;
    for (auto _ : state) {
        LinesCDC(image, lines, unwatched);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Lines_CDC)->Unit(benchmark::kMillisecond);

void BM_Lines_QPainter(benchmark::State& state)
{
    if (!SameWork(state, LinesVerdict(), Side::Theirs))
        return;
    const std::vector<Segment> lines = Lines();
    QImage image = Canvas();
    Unwatched unwatched;
    for (auto _ : state) {
        LinesQPainter(image, lines, unwatched);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Lines_QPainter)->Unit(benchmark::kMillisecond);

// (c) one rubber-band step: an 1800 x 1000 dashed rectangle and ellipse,
// each drawn twice in not-XOR.
void BM_RubberBand_CDC(benchmark::State& state)
{
    if (!SameWork(state, RubberBandVerdict(), Side::Ours))
        return;
    QImage image = Canvas();
    for (auto _ : state) {
        RubberBandCDC(image, 2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RubberBand_CDC)->Unit(benchmark::kMicrosecond);

void BM_RubberBand_QPainter(benchmark::State& state)
{
    if (!SameWork(state, RubberBandVerdict(), Side::Theirs))
        return;
    QImage image = Canvas();
    for (auto _ : state) {
        RubberBandQPainter(image, 2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RubberBand_QPainter)->Unit(benchmark::kMicrosecond);

// (d) the whole-surface PatBlt that starts every refresh, and a memset of the
// same bytes.
void BM_PatBlt_CDC(benchmark::State& state)
{
    if (!SameWork(state, PatBltWhiteVerdict(), Side::Ours))
        return;
    QImage image = Canvas();
    for (auto _ : state) {
        PatBltWhite(image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PatBlt_CDC)->Unit(benchmark::kMicrosecond);

// The same with a colour whose bytes differ, which memset cannot write.
void BM_PatBltColour_CDC(benchmark::State& state)
{
    if (!SameWork(state, PatBltColourVerdict(), Side::Ours))
        return;
    QImage image = Canvas();
    for (auto _ : state) {
        PatBltColour(image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PatBltColour_CDC)->Unit(benchmark::kMicrosecond);

void BM_PatBlt_Memset(benchmark::State& state)
{
    if (!SameWork(state, PatBltWhiteVerdict(), Side::Theirs))
        return;
    QImage image = Canvas();
    for (auto _ : state) {
        MemsetWhite(image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PatBlt_Memset)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
