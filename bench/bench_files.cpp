// Whole redraws of a picture collage and File > Save, on a 1920x1080 canvas.
//
// Pictures: the whole redraw of a drawing of 50 picture rectangles of 180 x 204,
// each showing its own 640x480 JPEG (decoded pictures kept, as the program
// keeps them), over a 1920x1080 JPEG background, against the whole redraw of
// the same 50 rectangles drawn plain, on white. Before timing, both sides are
// checked once for drawing what they should: every picture rectangle exactly
// its picture shrunk by averaging, the background between them, a file
// changed on disk drawn new, moving one picture ending in the reference
// redraw's canvas; every plain rectangle its outline and fill, nothing else.
//
// Save: the command File > Save over a canvas with 20 text boxes (the dialog
// answered by a scripted window system), beside a plain QFile write of as many
// bytes to the same folder. Before timing, the saved file is checked for its
// size and its pixels, and the plain file for the same size. The save syncs
// its file to the disk before it replaces the old one, which a plain write
// does not; a plain write followed by fdatasync is measured for reference.
//
// A failed check stops the benchmarks concerned with an error that says what
// differed.
#include "app/MainFrame.h"
#include "platform/Picture.h"
#include "platform/Screen.h"
#include "support/ScriptedWindowSystem.h"
#include "scene/ShapeFigure.h"
#include "text/EditBox.h"
#include "text/TextState.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>  // getrusage
#include <unistd.h>        // fdatasync
#endif

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// ---- The picture scene ---------------------------------------------------------

constexpr int kPictures = 50;
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;
constexpr int kBackgroundOffset = 10;  // the background's top-left lands at (10, 10)
// The pictures sit in a grid of 10 x 5 cells of 192 x 216 pixels, each
// 6 pixels inside its cell, so the background shows between them.
constexpr int kColumns = 10;
constexpr int kCellWidth = kWidth / kColumns;
constexpr int kCellHeight = kHeight / (kPictures / kColumns);
constexpr int kInset = 6;
// The picture that is changed on disk, and moved, in the checks.
constexpr int kChanged = 17;

std::unique_ptr<QTemporaryDir> g_folder;

QString FolderPath(const QString& name)
{
    if (!g_folder)
        g_folder = std::make_unique<QTemporaryDir>();
    return g_folder->filePath(name);
}

QString PicturePath(int index)
{
    return FolderPath(QStringLiteral("picture%1.jpg").arg(index, 2, 10, QLatin1Char('0')));
}

QString BackgroundPath() { return FolderPath(QStringLiteral("background.jpg")); }

RECT PictureRect(int index)
{
    const int l = (index % kColumns) * kCellWidth + kInset;
    const int t = (index / kColumns) * kCellHeight + kInset;
    return RECT{l, t, l + kCellWidth - 2 * kInset, t + kCellHeight - 2 * kInset};
}

// The colours of plain rectangle `index`: its own outline and fill.
COLORREF PlainLine(int index) { return RGB(20 + index, 40, 60); }
COLORREF PlainFill(int index) { return RGB(200, 100 + index, 50 + 2 * index); }

// A gradient of its own for every index: red across, green down, blue along
// the diagonal, each shifted by the index, with a band of stripes whose width
// depends on the index too.
QImage Gradient(int width, int height, int index)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            int r = (x * 255 / (width - 1) + 23 * index) & 0xFF;
            int g = (y * 255 / (height - 1) + 61 * index) & 0xFF;
            const int b = ((x + y) * 255 / (width + height - 2) + 97 * index) & 0xFF;
            if (y > height / 3 && y < height / 2 && (x / (4 + index % 13)) % 2 == 0)
                std::swap(r, g);
            row[x] = qRgb(r, g, b);
        }
    }
    return image;
}

bool WriteJpeg(const QImage& image, const QString& path, int quality)
{
    return image.save(path, "JPG", quality);
}

struct Scene {
    Scene()
    {
        SetScreenSizeForTesting(SIZE{kWidth, kHeight});
        frame = std::make_unique<CMainFrame>();
        frame->m_refreshMode = CMainFrame::RefreshMode::Whole;  // every refresh measured redraws the whole canvas
        if (!QDir(FolderPath(QString())).exists())
            error = "no temporary folder for the pictures";
        for (int i = 0; i < kPictures && error.empty(); ++i) {
            if (!WriteJpeg(Gradient(kPictureWidth, kPictureHeight, i), PicturePath(i), 85))
                error = "could not write " + PicturePath(i).toStdString();
        }
        if (error.empty() && !WriteJpeg(Gradient(kWidth, kHeight, 1000), BackgroundPath(), 85))
            error = "could not write " + BackgroundPath().toStdString();
        ShowPictures();
    }
    // The collage: 50 picture rectangles over the background.
    void ShowPictures()
    {
        RemoveRectangles();
        for (int i = 0; i < kPictures; ++i)
            g_pFigures->Add(CShapeFigure::Picture(FK_RECTANGLE, PictureRect(i), RGB(0, 0, 0), PicturePath(i)));
        frame->m_bBackground = 1;
        frame->m_strBackground = BackgroundPath();
    }
    // The same rectangles drawn plain, on white.
    void ShowPlain()
    {
        RemoveRectangles();
        for (int i = 0; i < kPictures; ++i)
            g_pFigures->Add(CShapeFigure::Shape(FK_RECTANGLE, PictureRect(i), PlainLine(i), PlainFill(i)));
        frame->m_bBackground = 0;
        frame->m_strBackground.clear();
    }
    // The rectangles go; the text boxes' figures (the save's) stay.
    static void RemoveRectangles()
    {
        for (int i = g_pFigures->GetSize() - 1; i >= 0; --i)
            if (g_pFigures->GetAt(i)->m_nKind == FK_RECTANGLE)
                g_pFigures->RemoveAt(i);
    }
    // The canvas after a refresh in `mode`; the mode is put back.
    QImage Refreshed(CMainFrame::RefreshMode mode)
    {
        const CMainFrame::RefreshMode before = std::exchange(frame->m_refreshMode, mode);
        frame->RefreshCanvas(false);
        frame->m_refreshMode = before;
        return frame->m_bmpCanvas.copy();
    }
    std::unique_ptr<CMainFrame> frame;
    std::string error;  // the pictures could not be written
};

Scene& SharedScene()
{
    static Scene scene;
    return scene;
}

// Pixels that differ between two canvases, inside `rc` and outside it.
struct Difference {
    long long inside = 0, outside = 0;
};

Difference Compare(const QImage& a, const QImage& b, const RECT& rc)
{
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (ra[x] == rb[x])
                continue;
            const bool in = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
            ++(in ? d.inside : d.outside);
        }
    }
    return d;
}

long long Area(const RECT& rc) { return static_cast<long long>(rc.right - rc.left) * (rc.bottom - rc.top); }

std::string Format(const char* format, long long a, long long b = 0, long long c = 0)
{
    char text[512];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool SetModified(const QString& path, const QDateTime& when)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime);
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The file at `path` decoded on its own, as 32-bit pixels.
QImage Decoded(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

// Pixels of `canvas` in `rc` that differ from `expected` placed at rc's corner.
long long Mismatches(const QImage& canvas, const RECT& rc, const QImage& expected)
{
    long long n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += canvas.pixel(x, y) != expected.pixel(x - rc.left, y - rc.top);
    return n;
}

// The picture checks, once: an empty string when they all pass.
//  1. The canvas decoded afresh (cache emptied) and the canvas from the cache
//     are the same image, pixel for pixel, and the reference redraw's.
//  2. Every picture rectangle holds exactly its picture, decoded here on its
//     own, shrunk onto a surface of the rectangle's size in the averaging
//     HALFTONE mode; the background shows between the rectangles, pixel for
//     pixel the background picture.
//  3. A picture file rewritten with other content, another size in bytes and
//     a later modification time is drawn new at the next redraw: the canvas
//     changes inside its rectangle (at least half of it) and nowhere else.
//     Put back, the canvas is the first one again.
//  4. A picture moved over its neighbours with the partial refresh leaves
//     the canvas the reference redraw makes.
const std::string& PictureVerdict()
{
    static const std::string verdict = []() -> std::string {
        Scene& scene = SharedScene();
        if (!scene.error.empty())
            return scene.error;
        CMainFrame& frame = *scene.frame;
        if (frame.m_bmpCanvas.width() != kWidth || frame.m_bmpCanvas.height() != kHeight)
            return Format("the canvas is %lld x %lld, not 1920 x 1080", frame.m_bmpCanvas.width(),
                          frame.m_bmpCanvas.height());
        scene.ShowPictures();

        CPicture::ClearCache();
        const QImage decoded = scene.Refreshed(CMainFrame::RefreshMode::Whole);
        const QImage cached = scene.Refreshed(CMainFrame::RefreshMode::Whole);
        if (const Difference d = Compare(decoded, cached, RECT{}); d.outside != 0)
            return Format("the canvas decoded afresh and the canvas from the cache differ in %lld pixels", d.outside);
        if (const Difference d = Compare(cached, scene.Refreshed(CMainFrame::RefreshMode::Reference), RECT{});
            d.outside != 0)
            return Format("the whole redraw and the reference redraw differ in %lld pixels", d.outside);

        for (int i = 0; i < kPictures; ++i) {
            const RECT rc = PictureRect(i);
            QImage picture = Decoded(PicturePath(i));
            QImage shrunk(rc.right - rc.left, rc.bottom - rc.top, QImage::Format_RGB32);
            CDC to(shrunk);
            const CDC from(picture);
            to.SetStretchBltMode(HALFTONE);
            to.StretchBlt(0, 0, shrunk.width(), shrunk.height(), from, 0, 0, picture.width(), picture.height());
            if (const long long n = Mismatches(cached, rc, shrunk); n != 0)
                return Format("picture %lld is not its picture shrunk by averaging in %lld of its %lld pixels", i, n,
                              Area(rc));
        }
        // The gap between the first two columns, below the background's (10, 10).
        const RECT gap{kCellWidth - kInset, 20, kCellWidth + kInset, kHeight - 20};
        const QImage background = Decoded(BackgroundPath()).copy(gap.left - kBackgroundOffset, gap.top - kBackgroundOffset,
                                                                gap.right - gap.left, gap.bottom - gap.top);
        if (const long long n = Mismatches(cached, gap, background); n != 0)
            return Format("%lld of the %lld pixels between the pictures are not the background", n, Area(gap));

        const QString path = PicturePath(kChanged);
        const QByteArray original = ReadAll(path);
        const QDateTime originalTime = QFileInfo(path).lastModified();
        if (!WriteJpeg(Gradient(kPictureWidth, kPictureHeight, 500 + kChanged).mirrored(true, true), path, 95) ||
            !SetModified(path, originalTime.addSecs(60)))
            return "could not rewrite " + path.toStdString();
        const long long changedSize = QFileInfo(path).size();
        if (changedSize == original.size())
            return Format("the rewritten picture has the old size, %lld bytes", changedSize);
        const RECT rc = PictureRect(kChanged);
        const Difference changed = Compare(cached, scene.Refreshed(CMainFrame::RefreshMode::Whole), rc);
        if (!WriteBytes(path, original) || !SetModified(path, originalTime.addSecs(120)))
            return "could not put back " + path.toStdString();
        if (changed.inside * 2 < Area(rc) || changed.outside != 0)
            return Format("a picture changed on disk was not drawn new: %lld of the %lld pixels of its rectangle "
                          "changed, and %lld outside it",
                          changed.inside, Area(rc), changed.outside);
        if (const Difference back = Compare(cached, scene.Refreshed(CMainFrame::RefreshMode::Whole), RECT{});
            back.outside != 0)
            return Format("with the picture put back, the canvas differs from the first in %lld pixels", back.outside);

        // The partial refresh after a move, against the reference redraw.
        const int partial = frame.m_refreshCounts.partial;
        g_pFigures->SetAt(kChanged, CShapeFigure::Picture(FK_RECTANGLE, OffsetRectBy(rc, 97, 61), RGB(0, 0, 0), path));
        const QImage moved = scene.Refreshed(CMainFrame::RefreshMode::Damaged);
        const Difference reference = Compare(moved, scene.Refreshed(CMainFrame::RefreshMode::Reference), RECT{});
        scene.ShowPictures();
        if (frame.m_refreshCounts.partial != partial + 1)
            return "the move of a picture was not a partial refresh";
        if (reference.outside != 0 || Compare(moved, cached, RECT{}).outside == 0)
            return Format("after moving a picture, the partial refresh and the reference redraw differ in %lld pixels",
                          reference.outside);
        return {};
    }();
    return verdict;
}

// The plain side's checks, once: every rectangle is its outline in its line
// colour round its fill colour, and nothing else is drawn; the whole redraw
// is the reference redraw.
const std::string& PlainVerdict()
{
    static const std::string verdict = []() -> std::string {
        Scene& scene = SharedScene();
        scene.ShowPlain();
        const QImage canvas = scene.Refreshed(CMainFrame::RefreshMode::Whole);
        if (const Difference d = Compare(canvas, scene.Refreshed(CMainFrame::RefreshMode::Reference), RECT{});
            d.outside != 0)
            return Format("the whole redraw and the reference redraw differ in %lld pixels", d.outside);
        QImage expected(kWidth, kHeight, QImage::Format_RGB32);
        expected.fill(ColorToPixel(RGB(255, 255, 255)));
        for (int i = 0; i < kPictures; ++i) {
            const RECT rc = PictureRect(i);
            for (int y = rc.top; y < rc.bottom; ++y)
                for (int x = rc.left; x < rc.right; ++x) {
                    const bool edge = x == rc.left || x == rc.right - 1 || y == rc.top || y == rc.bottom - 1;
                    expected.setPixel(x, y, ColorToPixel(edge ? PlainLine(i) : PlainFill(i)));
                }
        }
        if (const Difference d = Compare(canvas, expected, RECT{}); d.outside != 0)
            return Format("%lld pixels of the plain drawing are not its rectangles' outlines and fills or white",
                          d.outside);
        return {};
    }();
    return verdict;
}

// Minor page faults of the process so far (the kernel handing it fresh
// memory), or 0 where they are not counted.
long long PageFaults()
{
#if defined(Q_OS_UNIX)
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        return usage.ru_minflt;
#endif
    return 0;
}

bool Checked(benchmark::State& state, const std::string& verdict)
{
    if (!verdict.empty()) {
        state.SkipWithError(verdict.c_str());
        return false;
    }
    return true;
}

// The collage redrawn whole, as the program redraws it (decoded pictures and
// their stretches kept).
void BM_WholeRedrawPictures(benchmark::State& state)
{
    if (!Checked(state, PictureVerdict()))
        return;
    Scene& scene = SharedScene();
    scene.ShowPictures();
    scene.frame->RefreshCanvas(false);
    const long long faults = PageFaults();
    for (auto _ : state) {
        scene.frame->RefreshCanvas(false);
        benchmark::DoNotOptimize(scene.frame->m_bmpCanvas.constBits());
    }
    if (state.iterations() > 0)
        state.counters["faults"] =
            static_cast<double>(PageFaults() - faults) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_WholeRedrawPictures)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

// The same rectangles plain, on white.
void BM_WholeRedrawPlainRectangles(benchmark::State& state)
{
    if (!Checked(state, PlainVerdict()))
        return;
    Scene& scene = SharedScene();
    scene.ShowPlain();
    scene.frame->RefreshCanvas(false);
    for (auto _ : state) {
        scene.frame->RefreshCanvas(false);
        benchmark::DoNotOptimize(scene.frame->m_bmpCanvas.constBits());
    }
}
BENCHMARK(BM_WholeRedrawPlainRectangles)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

// ---- Save ----------------------------------------------------------------------

constexpr int kBoxes = 20;
constexpr long long kFileSize = 54 + 4LL * kWidth * kHeight;

ScriptedWindowSystem& Scripted()
{
    static ScriptedWindowSystem ws;
    return ws;
}

QString SavePath() { return FolderPath(QStringLiteral("drawing.bmp")); }
QString PlainPath() { return FolderPath(QStringLiteral("plain.bin")); }

RECT BoxRect(int index)
{
    // 5 columns x 4 rows of 260 x 70 boxes over the drawing.
    const int l = 60 + (index % 5) * 370;
    const int t = 80 + (index / 5) * 250;
    return RECT{l, t, l + 260, t + 70};
}

// The text boxes go on the picture scene's drawing (text figures take no part
// in a redraw): 20 boxes of a few words each.
void PlaceBoxes()
{
    static const bool placed = [] {
        CMainFrame& frame = *SharedScene().frame;
        for (int i = 0; i < kBoxes; ++i) {
            frame.PlaceTextBox(BoxRect(i));
            if (CEditBox* box = frame.FindTextBoxWindow(g_nTextBoxCount))
                box->setPlainText(QStringLiteral("Pattern %1: blue tiles on a sand border").arg(i + 1));
        }
        return true;
    }();
    (void)placed;
}

// The save checks, once: an empty string when they all pass.
//  1. File > Save shows no message and writes exactly 54 + 4 * 1920 * 1080
//     bytes, which read back as a bitmap are the canvas after the save.
//  2. The texts were burned in: the canvas changed inside the boxes' figures
//     and nowhere else.
//  3. The plain write writes a file of the same size.
const std::string& SaveVerdict()
{
    static const std::string verdict = []() -> std::string {
        Scene& scene = SharedScene();
        if (!scene.error.empty())
            return scene.error;
        CMainFrame& frame = *scene.frame;
        scene.ShowPictures();
        PlaceBoxes();
        frame.RefreshCanvas(false);
        const QImage before = frame.m_bmpCanvas.copy();

        ScriptedWindowSystem& ws = Scripted();
        ws.Reset();
        QFile::remove(SavePath());
        ws.QueueSaveFile(SavePath());
        frame.OnFileSave();
        if (!ws.Shown(DialogKind::MessageBox).empty())
            return "File > Save showed a message: " + ws.MessageTexts().join(QStringLiteral(" / ")).toStdString();
        ws.Reset();
        const QByteArray file = ReadAll(SavePath());
        if (file.size() != kFileSize)
            return Format("the saved file has %lld bytes, not 54 + 4 * 1920 * 1080 = %lld", file.size(), kFileSize);
        QImage saved;
        if (!saved.loadFromData(file, "BMP"))
            return "the saved file does not read back as a bitmap";
        saved = saved.convertToFormat(QImage::Format_RGB32);
        const Difference fileAgainstCanvas = Compare(saved, frame.m_bmpCanvas, RECT{0, 0, 0, 0});
        if (saved.size() != frame.m_bmpCanvas.size() || fileAgainstCanvas.outside != 0)
            return Format("the saved file differs from the canvas in %lld pixels", fileAgainstCanvas.outside);

        long long inside = 0, outside = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (before.pixel(x, y) == frame.m_bmpCanvas.pixel(x, y))
                    continue;
                bool inBox = false;
                for (int i = 0; i < kBoxes && !inBox; ++i) {
                    const RECT rc = BoxRect(i);
                    inBox = x >= rc.left - TEXT_FIGURE_MARGIN && x < rc.right + TEXT_FIGURE_MARGIN &&
                            y >= rc.top - TEXT_FIGURE_MARGIN && y < rc.bottom + TEXT_FIGURE_MARGIN;
                }
                ++(inBox ? inside : outside);
            }
        }
        if (inside < 100LL * kBoxes || outside != 0)
            return Format("the texts were not burned in as they should be: %lld pixels changed inside the boxes, "
                          "%lld outside",
                          inside, outside);

        const QByteArray plain(static_cast<qsizetype>(kFileSize), 'x');
        if (!WriteBytes(PlainPath(), plain) || QFileInfo(PlainPath()).size() != kFileSize)
            return Format("the plain write left %lld bytes, not %lld", QFileInfo(PlainPath()).size(), kFileSize);
        return {};
    }();
    return verdict;
}

bool SaveChecked(benchmark::State& state)
{
    const std::string& verdict = SaveVerdict();
    if (!verdict.empty()) {
        state.SkipWithError(verdict.c_str());
        return false;
    }
    state.counters["bytes"] = static_cast<double>(kFileSize);
    return true;
}

// File > Save: the texts burned in, the canvas encoded, the file written
// whole beside the target and renamed over it.
void BM_SaveCommand(benchmark::State& state)
{
    if (!SaveChecked(state))
        return;
    CMainFrame& frame = *SharedScene().frame;
    SharedScene().ShowPictures();
    frame.RefreshCanvas(false);
    ScriptedWindowSystem& ws = Scripted();
    ws.Reset();
    for (auto _ : state) {
        ws.QueueSaveFile(SavePath());
        frame.OnFileSave();
    }
    if (!ws.Shown(DialogKind::MessageBox).empty()) {
        const std::string message =
            "File > Save showed a message: " + ws.MessageTexts().join(QStringLiteral(" / ")).toStdString();
        state.SkipWithError(message.c_str());
    }
    ws.Reset();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kFileSize);
}
BENCHMARK(BM_SaveCommand)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same number of bytes, already in memory, written with QFile.
void BM_PlainWrite(benchmark::State& state)
{
    if (!SaveChecked(state))
        return;
    const QByteArray bytes(static_cast<qsizetype>(kFileSize), 'x');
    for (auto _ : state) {
        QFile f(PlainPath());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
            state.SkipWithError("the plain write failed");
            break;
        }
        f.close();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kFileSize);
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// For reference: the plain write made as durable as the save makes its file
// (the save's file is synced to the disk before it replaces the old one).
void BM_PlainWriteSynced(benchmark::State& state)
{
    if (!SaveChecked(state))
        return;
#if defined(Q_OS_UNIX)
    const QByteArray bytes(static_cast<qsizetype>(kFileSize), 'x');
    for (auto _ : state) {
        QFile f(PlainPath());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() || !f.flush() ||
            fdatasync(f.handle()) != 0) {
            state.SkipWithError("the synced plain write failed");
            break;
        }
        f.close();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kFileSize);
#else
    state.SkipWithError("no fdatasync on this system");
#endif
}
BENCHMARK(BM_PlainWriteSynced)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetWindowSystem(&Scripted());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SharedScene().frame.reset();
    SetWindowSystem(nullptr);
    CPicture::ClearCache();
    g_folder.reset();
    return 0;
}
