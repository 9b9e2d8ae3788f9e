// The oracle command language as rasterdump runs it: the reading of lines and
// numbers, where dumps go, and the error message of each kind of bad file.
// The goldens check what the commands draw.
#include "GdiTestSupport.h"

#include "platform/RasterScript.h"

#include <QFile>
#include <QFileInfo>
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

}  // namespace

TEST(RasterScriptTest, CommentsBlanksAndNumbersAreReadAsTheOracleReadsThem)
{
    // 0x0A, 012 (octal) and 10 are the same coordinate; colours may be given
    // in decimal; values out of range saturate.
    const Result r = RunScript("# a comment line\n"
                               "size 20 20   # trailing comment\n"
                               "\n"
                               "\tsetpixel\t0x0A 012 255\r\n"
                               "setpixel 99999999999 0 0\n"
                               "setpixel -5 -99999999999 0\n"
                               "setpixel 11 10 -1\n"  // 0xFFFFFFFF: a palette index out of range, black
                               "dump c.bin\n");
    ASSERT_TRUE(r.ok) << r.error;
    QImage image = Surface(20, 20);
    CDC dc(image);
    dc.SetPixel(10, 10, RGB(255, 0, 0));
    dc.SetPixel(11, 10, 0);
    EXPECT_EQ(r.dumps.at("c.bin"), RasterScript::DumpBytes(image));
    EXPECT_EQ(r.dumps.at("c.bin").left(4), QByteArray("\xff\xff\xff\x00", 4));  // blue, green, red, zero
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
        // A line longer than the oracle's read buffer counts as two lines.
        {"size 2 2\nmoveto 1 1" + std::string(5000, ' ') + "\nbogus\n", "cmds.txt:4: error: unknown command: bogus"},
    };
    for (const auto& [text, message] : cases) {
        const Result r = RunScript(text);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_EQ(r.error, message) << text;
    }
    // Dumps made before the bad line stay made.
    EXPECT_TRUE(RunScript("size 2 2\ndump first.bin\nnope\n").dumps.count("first.bin"));
}

TEST(RasterScriptTest, RunFileReadsAFileAndWritesRelativeDumpNamesIntoTheOutputFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("c.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("size 3 3\nsetpixel 1 1 0\ndump out.bin\n");
    file.close();
    RasterScript script(dir.path().toStdString() + "/");
    ASSERT_TRUE(script.RunFile(file.fileName().toStdString())) << script.Error();
    EXPECT_EQ(QFileInfo(dir.filePath("out.bin")).size(), 3 * 3 * 4);
    EXPECT_TRUE(RunScript("size 1 1\ndump x.bin\ndump /abs/y.bin\n", "/out/dir").dumps.count("/abs/y.bin"));
    EXPECT_TRUE(RunScript("size 1 1\ndump x.bin\n", "/out/dir").dumps.count("/out/dir/x.bin"));
    RasterScript missing;
    EXPECT_FALSE(missing.RunFile(dir.filePath("none.txt").toStdString()));
    EXPECT_EQ(missing.Error(), "cannot open " + dir.filePath("none.txt").toStdString());
}
