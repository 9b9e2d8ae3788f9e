// The command line's parse (app/CommandLine.cpp) and the window icon's sizes
// (resources/Menus.cpp), without starting the program.
#include "app/CommandLine.h"
#include "resources/Menus.h"

#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

using Outcome = CCommandLine::Outcome;

QStringList Args(std::initializer_list<const char*> rest)
{
    QStringList args{QStringLiteral("veltra")};
    for (const char* a : rest)
        args << QString::fromUtf8(a);
    return args;
}

TEST(CommandLine, NoArgumentsRunsWithoutAPicture)
{
    CCommandLine cl;
    EXPECT_EQ(cl.Parse(Args({})), Outcome::Run);
    EXPECT_TRUE(cl.Picture().isEmpty());
}

TEST(CommandLine, APictureIsMadeAbsolute)
{
    CCommandLine cl;
    ASSERT_EQ(cl.Parse(Args({"pictures/tile.png"})), Outcome::Run);
    EXPECT_EQ(cl.Picture(), QDir::current().absoluteFilePath(QStringLiteral("pictures/tile.png")));
    ASSERT_EQ(cl.Parse(Args({"/tmp/a picture.bmp"})), Outcome::Run);
    EXPECT_EQ(cl.Picture(), QStringLiteral("/tmp/a picture.bmp"));
}

TEST(CommandLine, AfterDoubleDashANameIsAPictureEvenWithADash)
{
    CCommandLine cl;
    ASSERT_EQ(cl.Parse(Args({"--", "-v.png"})), Outcome::Run);
    EXPECT_EQ(cl.Picture(), QDir::current().absoluteFilePath(QStringLiteral("-v.png")));
}

TEST(ApplicationIcon, HasEveryInstalledSize)
{
    const QIcon icon = ApplicationIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int n : {16, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(n, n))) << n;
}

TEST(ApplicationIcon, SmallestSizeIsTheSheetWithItsTileBorder)
{
    // The 16-pixel drawing: a dark edge, then the border's first tile in the
    // orange of the tile colours, and white canvas inside the border.
    const QImage image = ApplicationIcon().pixmap(QSize(16, 16)).toImage();
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(0xE0, 0x9A, 0x2A));
    EXPECT_EQ(QColor(image.pixel(3, 1)), QColor(0x2A, 0x6F, 0xB0));
    EXPECT_EQ(QColor(image.pixel(12, 4)), QColor(Qt::white));
}

}  // namespace
