// The oracle command language as rasterdump runs it: the dumps, the numbers,
// and the error message of each kind of bad command file.
#include "GdiTestSupport.h"

#include "platform/RasterScript.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace gditest;

namespace {

struct Result {
    bool ok = false;
    std::string error;
    std::map<std::string, QByteArray> dumps;
};

Result RunScript(const std::string& text, const std::string& outDir = {})
{
    Result r;
    RasterScript script(outDir, [&](const std::string& path, const QByteArray& bytes) {
        if (path.find("/nonexistent/") != std::string::npos)
            return false;
        r.dumps[path] = bytes;
        return true;
    });
    r.ok = script.Run("cmds.txt", text);
    r.error = script.Error();
    return r;
}

// The colour of pixel (x, y) of a dump of a w-wide surface.
COLORREF DumpPixel(const QByteArray& dump, int w, int x, int y)
{
    const auto* p = reinterpret_cast<const uchar*>(dump.constData()) + (static_cast<qsizetype>(y) * w + x) * 4;
    return RGB(p[2], p[1], p[0]);
}

}  // namespace

TEST(RasterScriptTest, DumpsAreTheSurfaceAsBlueGreenRedAndZero)
{
    const Result r = RunScript("size 8 4\nsetpixel 1 1 0x000000FF\ndump smoke.bin\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.dumps.size(), 1u);
    const QByteArray& dump = r.dumps.at("smoke.bin");
    ASSERT_EQ(dump.size(), 8 * 4 * 4);
    EXPECT_EQ(dump.mid((1 * 8 + 1) * 4, 4), QByteArray("\x00\x00\xff\x00", 4));
    EXPECT_EQ(dump.mid(0, 4), QByteArray("\xff\xff\xff\x00", 4));
}

TEST(RasterScriptTest, ScriptsDrawWhatTheSameCallsDraw)
{
    const Result r = RunScript(
        "# a comment line\n"
        "size 40 30   # trailing comment\n"
        "\n"
        "rop2 10\n"
        "pen 1 1 0x00C0C0C0\n"
        "brush solid 0x0000FF00\n"
        "bkmode 1\n"
        "bkcolor 0x00FF0000\n"
        "ellipse 2 3 30 25\n"
        "moveto 0 0\n"
        "lineto 39 29\n"
        "fillrect 30 20 40 30 0xFF\n"
        "brush white\n"
        "patblt 0 25 5 5\n"
        "\trect\t1 1 6 6\r\n"
        "dump a.bin\n");
    ASSERT_TRUE(r.ok) << r.error;
    QImage image = Surface(40, 30);
    CDC dc(image);
    dc.SetROP2(R2_NOTXORPEN);
    dc.SelectPen(CPen(PS_DASH, 1, RGB(192, 192, 192)));
    dc.SelectBrush(CBrush::Solid(RGB(0, 255, 0)));
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(RGB(0, 0, 255));
    dc.Ellipse(2, 3, 30, 25);
    dc.MoveTo(0, 0);
    dc.LineTo(39, 29);
    dc.FillRect(RECT{30, 20, 40, 30}, CBrush::Solid(RGB(255, 0, 0)));
    dc.SelectBrush(CBrush::White());
    dc.PatBlt(0, 25, 5, 5);
    dc.Rectangle(1, 1, 6, 6);
    EXPECT_EQ(r.dumps.at("a.bin"), RasterScript::DumpBytes(image));
}

TEST(RasterScriptTest, SizeStartsAFreshWhiteSurfaceWithDefaultState)
{
    const Result r = RunScript("size 4 4\nrop2 6\npen 0 1 0xFF\nsize 3 2\nmoveto 0 0\nlineto 3 0\ndump b.bin\n");
    ASSERT_TRUE(r.ok) << r.error;
    const QByteArray& dump = r.dumps.at("b.bin");
    ASSERT_EQ(dump.size(), 3 * 2 * 4);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(DumpPixel(dump, 3, x, 0), RGB(0, 0, 0));  // black pen, copy mode
    EXPECT_EQ(DumpPixel(dump, 3, 0, 1), RGB(255, 255, 255));
}

TEST(RasterScriptTest, NumbersAreReadAsA32BitStrtolReadsThem)
{
    // 0x0A, 012 (octal) and 10 are the same coordinate; colours may be given
    // in decimal; values out of range saturate.
    const Result r = RunScript("size 20 20\n"
                         "setpixel 0x0A 012 255\n"
                         "setpixel 99999999999 0 0\n"
                         "setpixel -5 -99999999999 0\n"
                         "setpixel 11 10 -1\n"  // 0xFFFFFFFF: a palette index out of range, black
                         "dump c.bin\n");
    ASSERT_TRUE(r.ok) << r.error;
    const QByteArray& dump = r.dumps.at("c.bin");
    EXPECT_EQ(DumpPixel(dump, 20, 10, 10), RGB(255, 0, 0));
    EXPECT_EQ(DumpPixel(dump, 20, 11, 10), RGB(0, 0, 0));
    int black = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            black += DumpPixel(dump, 20, x, y) == 0;
    EXPECT_EQ(black, 1);
}

TEST(RasterScriptTest, RelativeDumpNamesGoIntoTheOutputFolder)
{
    const Result r = RunScript("size 1 1\ndump x.bin\ndump /abs/y.bin\n", "/out/dir");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.dumps.count("/out/dir/x.bin"));
    EXPECT_TRUE(r.dumps.count("/abs/y.bin"));
    const Result slash = RunScript("size 1 1\ndump x.bin\n", "/out/dir/");
    EXPECT_TRUE(slash.dumps.count("/out/dir/x.bin"));
}

TEST(RasterScriptTest, EachKindOfBadLineStopsTheRunWithItsFileLineAndMessage)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"size 4 4\nbogus 1\n", "cmds.txt:2: error: unknown command: bogus"},
        {"size 4 4\ndump /nonexistent/dir/x.bin\n", "cmds.txt:2: error: cannot open for writing: /nonexistent/dir/x.bin"},
        {"rect 1 2 3 4\n", "cmds.txt:1: error: no surface yet (use 'size W H' first)"},
        {"size 4\n", "cmds.txt:1: error: 'size' expects 2 argument(s), got 1"},
        {"size 0 5\n", "cmds.txt:1: error: size must be positive"},
        {"size 4 4\n\n# c\nlineto 1 x\n", "cmds.txt:4: error: bad integer: x"},
        {"size 4 4\nmoveto 0x 1\n", "cmds.txt:2: error: bad integer: 0x"},
        {"size 4 4\nbkcolor 12z\n", "cmds.txt:2: error: bad number: 12z"},
        {"size 4 4\nrop2 17\n", "cmds.txt:2: error: SetROP2 failed"},
        {"size 4 4\nbkmode 3\n", "cmds.txt:2: error: SetBkMode failed"},
        {"size 4 4\npen 7 1 0\n", "cmds.txt:2: error: CreatePen failed"},
        {"size 4 4\nbrush hatched\n", "cmds.txt:2: error: brush: expected 'solid COLORREF', 'white' or 'null'"},
        {"size 4 4\nbrush solid\n", "cmds.txt:2: error: 'brush' expects 2 argument(s), got 1"},
        {"size 4 4\nellipse 1 2 3 4 5\n", "cmds.txt:2: error: 'ellipse' expects 4 argument(s), got 5"},
        {"size 4 4\nstretchblt 0 0 1 1 0 0 1 1\n", "cmds.txt:2: error: no source yet (use 'source W H SEED' first)"},
    };
    for (const auto& [text, message] : cases) {
        const Result r = RunScript(text);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_EQ(r.error, message) << text;
    }
    // Dumps made before the bad line stay made.
    const Result partial = RunScript("size 2 2\ndump first.bin\nnope\n");
    EXPECT_TRUE(partial.dumps.count("first.bin"));
}

TEST(RasterScriptTest, ALineLongerThanTheReadBufferCountsAsTwoLines)
{
    std::string text = "size 2 2\nmoveto 1 1" + std::string(5000, ' ') + "\nbogus\n";
    const Result r = RunScript(text);
    EXPECT_EQ(r.error, "cmds.txt:4: error: unknown command: bogus");
}

TEST(RasterScriptTest, RunFileReadsAFileAndWritesItsDumps)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString cmds = dir.filePath("c.txt");
    QFile file(cmds);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("size 3 3\nsetpixel 1 1 0\ndump out.bin\n");
    file.close();
    RasterScript script(dir.path().toStdString());
    ASSERT_TRUE(script.RunFile(cmds.toStdString())) << script.Error();
    QFile dump(dir.filePath("out.bin"));
    ASSERT_TRUE(dump.open(QIODevice::ReadOnly));
    EXPECT_EQ(dump.size(), 3 * 3 * 4);
    RasterScript missing;
    EXPECT_FALSE(missing.RunFile(dir.filePath("none.txt").toStdString()));
    EXPECT_EQ(missing.Error(), "cannot open " + dir.filePath("none.txt").toStdString());
}
