// Pictures at every redraw and File > Save, on a 1920x1080 canvas.
//
// Pictures: 50 picture rectangles, each showing its own 640x480 JPEG, over a
// 1920x1080 JPEG background. The full refresh is measured twice: as a design
// that decodes every picture from its file at every redraw would run it (the
// picture cache emptied before each refresh), and as the program runs it (the
// cache kept). Before timing, both are checked once for drawing the same
// canvas, and a file changed on disk is checked to be drawn new at the next
// redraw.
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
// The pictures sit in a grid of 10 x 5 cells of 192 x 216 pixels, each
// 6 pixels inside its cell, so the background shows between them.
constexpr int kColumns = 10;
constexpr int kCellWidth = kWidth / kColumns;
constexpr int kCellHeight = kHeight / (kPictures / kColumns);
constexpr int kInset = 6;
// The picture that is changed on disk in the check.
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
        for (int i = 0; i < kPictures; ++i)
            g_pFigures->Add(CShapeFigure::Picture(FK_RECTANGLE, PictureRect(i), RGB(0, 0, 0), PicturePath(i)));
        frame->m_bBackground = 1;
        frame->m_strBackground = BackgroundPath();
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

long long NonWhite(const QImage& image, const RECT& rc)
{
    long long n = 0;
    for (int y = std::max<int>(rc.top, 0); y < std::min<int>(rc.bottom, image.height()); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = std::max<int>(rc.left, 0); x < std::min<int>(rc.right, image.width()); ++x)
            n += (row[x] & 0xFFFFFFu) != 0xFFFFFFu;
    }
    return n;
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

// The picture checks, once: an empty string when they all pass.
//  1. The canvas decoded afresh (cache emptied) and the canvas from the cache
//     are the same image, pixel for pixel.
//  2. Every picture rectangle was drawn (at least 90 % of it not white), and
//     the background shows between the rectangles.
//  3. A picture file rewritten with other content, another size in bytes and
//     a later modification time is drawn new at the next redraw: the canvas
//     changes inside its rectangle (at least half of it) and nowhere else.
//     Put back, the canvas is the first one again.
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

        CPicture::ClearCache();
        frame.RefreshCanvas(false);
        const QImage decoded = frame.m_bmpCanvas.copy();
        frame.RefreshCanvas(false);
        const QImage cached = frame.m_bmpCanvas.copy();
        const Difference same = Compare(decoded, cached, RECT{0, 0, 0, 0});
        if (same.outside != 0)
            return Format("the canvas decoded afresh and the canvas from the cache differ in %lld pixels",
                          same.outside);

        for (int i = 0; i < kPictures; ++i) {
            const RECT rc = PictureRect(i);
            const long long drawn = NonWhite(cached, rc);
            if (drawn * 10 < Area(rc) * 9)
                return Format("picture %lld was not drawn: %lld of its %lld pixels are not white", i, drawn, Area(rc));
        }
        // The gap between the first two columns, below the background's (10, 10).
        const RECT gap{kCellWidth - kInset, 20, kCellWidth + kInset, kHeight - 20};
        const long long background = NonWhite(cached, gap);
        if (background * 10 < Area(gap) * 9)
            return Format("the background was not drawn: %lld of %lld pixels between the pictures are not white",
                          background, Area(gap));

        const QString path = PicturePath(kChanged);
        const QByteArray original = ReadAll(path);
        const QDateTime originalTime = QFileInfo(path).lastModified();
        if (!WriteJpeg(Gradient(kPictureWidth, kPictureHeight, 500 + kChanged).mirrored(true, true), path, 95) ||
            !SetModified(path, originalTime.addSecs(60)))
            return "could not rewrite " + path.toStdString();
        const long long changedSize = QFileInfo(path).size();
        if (changedSize == original.size())
            return Format("the rewritten picture has the old size, %lld bytes", changedSize);
        frame.RefreshCanvas(false);
        const RECT rc = PictureRect(kChanged);
        const Difference changed = Compare(cached, frame.m_bmpCanvas, rc);
        if (!WriteBytes(path, original) || !SetModified(path, originalTime.addSecs(120)))
            return "could not put back " + path.toStdString();
        if (changed.inside * 2 < Area(rc) || changed.outside != 0)
            return Format("a picture changed on disk was not drawn new: %lld of the %lld pixels of its rectangle "
                          "changed, and %lld outside it",
                          changed.inside, Area(rc), changed.outside);
        frame.RefreshCanvas(false);
        const Difference back = Compare(cached, frame.m_bmpCanvas, RECT{0, 0, 0, 0});
        if (back.outside != 0)
            return Format("with the picture put back, the canvas differs from the first in %lld pixels", back.outside);
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

// Reports the page faults per refresh of a timed loop that began at `before`.
void CountFaults(benchmark::State& state, long long before)
{
    if (state.iterations() > 0)
        state.counters["faults"] =
            static_cast<double>(PageFaults() - before) / static_cast<double>(state.iterations());
}

bool PicturesChecked(benchmark::State& state)
{
    const std::string& verdict = PictureVerdict();
    if (!verdict.empty()) {
        state.SkipWithError(verdict.c_str());
        return false;
    }
    state.counters["pictures"] = kPictures + 1;
    return true;
}

// A design that decodes every picture from its file at every redraw.
void BM_RedrawDecodingEveryPicture(benchmark::State& state)
{
    if (!PicturesChecked(state))
        return;
    CMainFrame& frame = *SharedScene().frame;
    const long long faults = PageFaults();
    for (auto _ : state) {
        CPicture::ClearCache();
        frame.RefreshCanvas(false);
        benchmark::DoNotOptimize(frame.m_bmpCanvas.constBits());
    }
    CountFaults(state, faults);
}
BENCHMARK(BM_RedrawDecodingEveryPicture)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The program: decoded pictures stay in the cache between redraws.
void BM_RedrawCachedPictures(benchmark::State& state)
{
    if (!PicturesChecked(state))
        return;
    CMainFrame& frame = *SharedScene().frame;
    frame.RefreshCanvas(false);  // the cache holds every picture
    const long long faults = PageFaults();
    for (auto _ : state) {
        frame.RefreshCanvas(false);
        benchmark::DoNotOptimize(frame.m_bmpCanvas.constBits());
    }
    CountFaults(state, faults);
}
BENCHMARK(BM_RedrawCachedPictures)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

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
