// Replays the committed GDI goldens: command files whose dumps were taken
// from real GDI (the oracle), run through our device context, compared byte
// for byte. tools/make_goldens.py writes them.
#include "platform/RasterScript.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <map>

namespace {

struct GoldenDump {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB
};

// Reads a .gold file (see tools/make_goldens.py for the layout).
bool ReadGolden(const QString& path, std::map<std::string, GoldenDump>& dumps, std::string& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot open " + path.toStdString();
        return false;
    }
    const QByteArray raw = qUncompress(file.readAll());
    const auto* p = reinterpret_cast<const uchar*>(raw.constData());
    const auto* end = p + raw.size();
    auto need = [&](qsizetype n) { return end - p >= n; };
    if (!need(8) || QByteArray(reinterpret_cast<const char*>(p), 4) != "VGLD") {
        error = "not a golden file";
        return false;
    }
    const quint32 count = qFromLittleEndian<quint32>(p + 4);
    p += 8;
    for (quint32 i = 0; i < count; ++i) {
        if (!need(2))
            return false;
        const quint16 nameLength = qFromLittleEndian<quint16>(p);
        p += 2;
        if (!need(nameLength + 10))
            return false;
        const std::string name(reinterpret_cast<const char*>(p), nameLength);
        p += nameLength;
        GoldenDump dump;
        dump.width = static_cast<int>(qFromLittleEndian<quint32>(p));
        dump.height = static_cast<int>(qFromLittleEndian<quint32>(p + 4));
        const quint16 paletteSize = qFromLittleEndian<quint16>(p + 8);
        p += 10;
        const qsizetype pixels = static_cast<qsizetype>(dump.width) * dump.height;
        if (paletteSize == 0) {
            if (!need(pixels * 3))
                return false;
            for (qsizetype k = 0; k < pixels; ++k, p += 3)
                dump.pixels.push_back(p[0] | (p[1] << 8) | (p[2] << 16));
        } else {
            if (!need(paletteSize * 4 + pixels))
                return false;
            std::vector<std::uint32_t> palette;
            for (int k = 0; k < paletteSize; ++k, p += 4)
                palette.push_back(qFromLittleEndian<quint32>(p));
            for (qsizetype k = 0; k < pixels; ++k, ++p) {
                if (*p >= palette.size())
                    return false;
                dump.pixels.push_back(palette[*p]);
            }
        }
        dumps[name] = std::move(dump);
    }
    return true;
}

class GdiGoldenTest : public ::testing::TestWithParam<const char*> {};

TEST_P(GdiGoldenTest, OurDumpsAreTheOraclesDumps)
{
    const QString base = QStringLiteral(VELTRA_TEST_DATA "/platform/") + GetParam();
    std::map<std::string, GoldenDump> expected;
    std::string error;
    ASSERT_TRUE(ReadGolden(base + ".gold", expected, error)) << error;
    ASSERT_FALSE(expected.empty());

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
        ASSERT_TRUE(ours.count(name)) << name;
        const QByteArray& bytes = ours[name];
        ASSERT_EQ(bytes.size(), static_cast<qsizetype>(gold.pixels.size()) * 4) << name;
        int differing = 0;
        std::string first;
        for (std::size_t k = 0; k < gold.pixels.size(); ++k) {
            const auto* b = reinterpret_cast<const uchar*>(bytes.constData()) + k * 4;
            const std::uint32_t mine = b[0] | (b[1] << 8) | (b[2] << 16);
            if (mine != gold.pixels[k] && differing++ < 5)
                first += " (" + std::to_string(k % gold.width) + "," + std::to_string(k / gold.width) + ")";
        }
        EXPECT_EQ(differing, 0) << GetParam() << "/" << name << " differs at" << first;
    }
}

INSTANTIATE_TEST_SUITE_P(Oracle, GdiGoldenTest,
                         ::testing::Values("ellipses_small", "ellipses_large", "lines", "rectangles", "rop2",
                                           "stretch"));

}  // namespace
