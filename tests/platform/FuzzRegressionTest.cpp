// Files that once gave the picture fuzzer (fuzz/PictureFuzzer.cpp) trouble,
// kept under tests/data/fuzz/: each one is loaded as the program loads a
// picture and comes back, at its size, or is refused as listed.
#include "platform/Picture.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

struct KeptFile {
    const char* name;
    QSize size;  // of the picture, or empty when the file gives none
};

const KeptFile kKeptFiles[] = {
    // An uncompressed TGA of 42 bytes whose header announces 816 x 10753
    // pixels: cut short, so no picture. The decoder read it byte by byte up to
    // the announced size, for seconds, and gave a black picture.
    {"tga-42-bytes-announcing-816x10753.tga", QSize()},
    // A GIF of 34 bytes whose screen is 10504 x 8344 with one 8 x 6 image on
    // it: more than its data could fill, so no picture. Decoding it took
    // seconds and 700 MB.
    {"gif-34-bytes-announcing-10504x8344.gif", QSize()},
};

}  // namespace

TEST(FuzzRegressionTest, EachKeptFileIsListedAndLoadsOrIsRefusedAsListed)
{
    const QDir folder(VELTRA_TEST_DATA "/fuzz");
    const QStringList present = folder.entryList(QDir::Files);
    EXPECT_EQ(present.size(), std::ssize(kKeptFiles));
    for (const QString& name : present) {
        SCOPED_TRACE(name.toStdString());
        const auto* kept = std::find_if(std::begin(kKeptFiles), std::end(kKeptFiles),
                                        [&](const KeptFile& f) { return name == QString::fromUtf8(f.name); });
        ASSERT_NE(kept, std::end(kKeptFiles)) << "a kept file that is not listed";
        CPicture::ClearCache();
        const auto picture = CPicture::Load(folder.filePath(name));
        EXPECT_EQ(picture ? QSize(picture->GetWidth(), picture->GetHeight()) : QSize(), kept->size);
    }
}
