// Replays the committed GDI goldens: command files whose dumps were taken
// from real GDI (the oracle), run through our device context, compared pixel
// for pixel. tools/make_goldens.py writes them (and describes the layout).
#include "RasterScript.h"

#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace {

struct GoldenDump {
    std::uint32_t width = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB
};

// The dumps of a .gold file; none when it cannot be read whole.
std::map<std::string, GoldenDump> ReadGolden(const QString& path)
{
    QFile file(path);
    const QByteArray data = file.open(QIODevice::ReadOnly) ? qUncompress(file.readAll()) : QByteArray();
    qsizetype pos = 4;
    bool ok = data.startsWith("VGLD");
    auto read = [&](int n) {  // n bytes, little-endian
        std::uint32_t v = 0;
        ok = ok && pos + n <= data.size();
        for (int i = 0; ok && i < n; ++i)
            v |= std::uint32_t{static_cast<uchar>(data[pos + i])} << (8 * i);
        pos += n;
        return v;
    };
    std::map<std::string, GoldenDump> dumps;
    for (std::uint32_t count = read(4); count > 0 && ok; --count) {
        const int nameLength = static_cast<int>(read(2));
        GoldenDump& dump = dumps[data.mid(pos, nameLength).toStdString()];
        pos += nameLength;
        dump.width = read(4);
        const qsizetype pixels = static_cast<qsizetype>(dump.width) * read(4);
        std::vector<std::uint32_t> palette(read(2));
        for (std::uint32_t& color : palette)
            color = read(4);
        for (qsizetype k = 0; k < pixels && ok; ++k) {
            const std::uint32_t v = read(palette.empty() ? 3 : 1);
            ok = ok && (palette.empty() || v < palette.size());
            dump.pixels.push_back(palette.empty() || !ok ? v : palette[v]);
        }
    }
    return ok ? dumps : std::map<std::string, GoldenDump>{};
}

class GdiGoldenTest : public ::testing::TestWithParam<const char*> {};

TEST_P(GdiGoldenTest, OurDumpsAreTheOraclesDumps)
{
    const QString base = QStringLiteral(VELTRA_TEST_DATA "/platform/") + GetParam();
    const std::map<std::string, GoldenDump> expected = ReadGolden(base + ".gold");
    ASSERT_FALSE(expected.empty()) << "cannot read " << base.toStdString() << ".gold";

    std::map<std::string, QByteArray> ours;
    RasterScript script({}, [&](const std::string& path, const QByteArray& bytes) {
        ours[path] = bytes;
        return true;
    });
    QFile commands(base + ".txt");
    ASSERT_TRUE(commands.open(QIODevice::ReadOnly));
    ASSERT_TRUE(script.Run(GetParam(), commands.readAll().toStdString())) << script.Error();

    ASSERT_EQ(ours.size(), expected.size());
    for (const auto& [name, gold] : expected) {
        const QByteArray& bytes = ours[name];
        ASSERT_EQ(bytes.size(), static_cast<qsizetype>(gold.pixels.size()) * 4) << name;
        int differing = 0;
        std::string first;
        for (std::size_t k = 0; k < gold.pixels.size(); ++k) {
            const auto* b = reinterpret_cast<const uchar*>(bytes.constData()) + k * 4;
            if (static_cast<std::uint32_t>(b[0] | (b[1] << 8) | (b[2] << 16)) != gold.pixels[k] && differing++ < 5)
                first += " (" + std::to_string(k % gold.width) + "," + std::to_string(k / gold.width) + ")";
        }
        EXPECT_EQ(differing, 0) << GetParam() << "/" << name << " differs at" << first;
    }
}

INSTANTIATE_TEST_SUITE_P(Oracle, GdiGoldenTest,
                         ::testing::Values("ellipses_small", "ellipses_large", "lines", "rectangles", "rop2",
                                           "stretch"));

}  // namespace
