// Fuzz target for the one place the program reads a user's file: a picture
// through CPicture::Load (the background picture, Import, the glyph tiles, the
// slide show all come this way). Each input is written to a private file and
// loaded; a picture that comes back is then used the way the program uses
// pictures: composited over white, stretched for a border tile, and drawn at
// its natural size and stretched onto a device context, at places that clip on
// every side. A few properties of the result are checked as well, so a wrong
// answer is reported as surely as a crash.
#include "platform/Gdi.h"
#include "platform/Picture.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <QtGlobal>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

std::string g_dir;   // private folder of this process
std::string g_path;  // the input file in it, rewritten for every input

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "PictureFuzzer: %s\n", what);
    std::abort();
}

void Check(bool ok, const char* what)
{
    if (!ok)
        Fail(what);
}

// The decoders' warnings about bad files would be printed for nearly every input.
void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

void RemoveInputFile()
{
    if (!g_path.empty())
        ::unlink(g_path.c_str());
    if (!g_dir.empty())
        ::rmdir(g_dir.c_str());
}

void WriteInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = ::open(g_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        Fail("cannot write the input file");
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail("cannot write the input file");
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    ::close(fd);
}

// The top-left w x h of two 32-bit surfaces hold the same pixels (alpha ignored).
bool SameRgb(const QImage& a, const QImage& b, int w, int h)
{
    for (int y = 0; y < h; ++y) {
        const auto* pa = reinterpret_cast<const std::uint32_t*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const std::uint32_t*>(b.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (((pa[x] ^ pb[x]) & 0xFFFFFFu) != 0)
                return false;
    }
    return true;
}

bool AllOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* p = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((p[x] >> 24) != 0xFF)
                return false;
    }
    return true;
}

// The work on the whole picture (compositing it over white, stretching it for
// tiles) grows with its size: a file of a few dozen bytes can announce a
// picture of close to 100 million pixels, which the limits accept, and which
// under the sanitizers takes longer than the fuzzer's timeout. Larger pictures
// are still loaded and drawn onto the small surface, whose work does not grow.
constexpr long long kWholePictureBudget = 16LL * 1000 * 1000;

void ExerciseWholePicture(const CPicture& picture)
{
    const int pw = picture.GetWidth(), ph = picture.GetHeight();
    const QImage& onWhite = picture.OnWhite();
    Check(onWhite.width() == pw && onWhite.height() == ph, "OnWhite has another size");
    Check(onWhite.format() == QImage::Format_RGB32, "OnWhite is not RGB32");

    // Border tiles: small stretches in every mode, and the cache of the last few.
    const int sizes[][3] = {{1, 1, BLACKONWHITE}, {3, 2, WHITEONBLACK}, {17, 9, COLORONCOLOR}, {5, 23, HALFTONE},
                            {pw < 64 ? pw : 64, ph < 64 ? ph : 64, COLORONCOLOR}};
    for (const auto& s : sizes) {
        const QImage tile = picture.StretchedOnWhite(s[0], s[1], s[2]);
        Check(tile.width() == s[0] && tile.height() == s[1], "StretchedOnWhite has another size");
        Check(AllOpaque(tile), "StretchedOnWhite has a transparent pixel");
    }
    Check(picture.StretchedOnWhite(3, 2, WHITEONBLACK) == picture.StretchedOnWhite(3, 2, WHITEONBLACK),
          "StretchedOnWhite differs from its cached copy");
    Check(picture.StretchedOnWhite(0, 5, COLORONCOLOR).isNull() && picture.StretchedOnWhite(5, 0, COLORONCOLOR).isNull(),
          "StretchedOnWhite of an empty size is not null");
    Check(picture.StretchedOnWhite(-5, 23, HALFTONE) == picture.StretchedOnWhite(5, 23, HALFTONE).mirrored(true, false),
          "a mirrored stretch is not the stretch mirrored");
    if (pw <= 64 && ph <= 64)
        Check(picture.StretchedOnWhite(pw, ph, COLORONCOLOR) == onWhite, "a stretch to the same size changed pixels");
}

void Exercise(const CPicture& picture)
{
    const int pw = picture.GetWidth(), ph = picture.GetHeight();
    // What Load promises: a picture within the limits, in the drawing code's format.
    Check(pw > 0 && ph > 0 && pw <= 16384 && ph <= 16384, "picture outside the size limits");
    Check(static_cast<long long>(pw) * ph <= 100LL * 1000 * 1000, "picture over 100 million pixels");
    Check(picture.Image().format() == QImage::Format_ARGB32_Premultiplied, "picture not premultiplied ARGB");
    Check(picture.GetWidthF() == static_cast<float>(pw) && picture.GetHeightF() == static_cast<float>(ph),
          "float size differs");
    const bool whole = static_cast<long long>(pw) * ph <= kWholePictureBudget;
    if (whole)
        ExerciseWholePicture(picture);

    // Small device contexts, white as a fresh canvas area.
    constexpr int kW = 48, kH = 40;
    const RECT all{0, 0, kW, kH};
    CMemoryDC canvas(kW, kH), natural(kW, kH);
    CDC& dc = canvas.DC();
    dc.FillRect(all, CBrush::White());
    natural.DC().FillRect(all, CBrush::White());

    // At (0, 0) over white the picture gives the pixels of OnWhite, and
    // stretched to its own size the same pixels again.
    const int cw = pw < kW ? pw : kW, ch = ph < kH ? ph : kH;
    DrawPicture(natural.DC(), picture, 0, 0);
    if (whole)
        Check(SameRgb(natural.Image(), picture.OnWhite(), cw, ch), "DrawPicture over white differs from OnWhite");
    DrawPictureStretched(dc, picture, 0, 0, pw, ph);
    Check(SameRgb(canvas.Image(), natural.Image(), kW, kH), "a stretch to its own size differs from DrawPicture");

    // Places that clip on every side, natural size and stretched (mirrored too).
    const int places[][2] = {{-3, -2}, {kW - 2, kH - 1}, {1 - pw, 1 - ph}, {kW / 2 - pw / 2, kH / 2 - ph / 2}};
    for (const auto& p : places)
        DrawPicture(dc, picture, p[0], p[1]);
    const int stretches[][4] = {{0, 0, kW, kH},        {kW - 1, kH - 1, -kW, -kH}, {-5, -5, 2 * kW + 7, 3},
                                {3, 4, 1, 1},          {10, 10, -7, 13},           {-100000, 2, 200000, 5},
                                {kW, kH, -3 * pw, -2}, {0, 0, 0, 9}};
    for (const auto& s : stretches)
        DrawPictureStretched(dc, picture, s[0], s[1], s[2], s[3]);
    Check(AllOpaque(canvas.Image()), "drawing left a transparent pixel on the surface");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The toolkit gets an argument list of its own, not the fuzzer's flags.
    static int argc = 1;
    static char name[] = "picture_fuzzer";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    qInstallMessageHandler(DropMessage);

    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/veltra-picture-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        Fail("cannot make a private folder");
    g_dir = pattern;
    g_path = g_dir + "/input";
    std::atexit(RemoveInputFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WriteInput(data, size);
    // Every input is decoded afresh: the cache would answer from the last
    // input when size and modification time happen to match.
    CPicture::ClearCache();
    const auto picture = CPicture::Load(QString::fromStdString(g_path));
    if (picture)
        Exercise(*picture);
    CPicture::ClearCache();
    return 0;
}
