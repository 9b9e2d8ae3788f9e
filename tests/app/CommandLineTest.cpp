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
    EXPECT_FALSE(CCommandLine::AsksForText(Args({"--", "-v"})));
}

TEST(CommandLine, HelpAndVersion)
{
    CCommandLine cl;
    EXPECT_EQ(cl.Parse(Args({"--help"})), Outcome::ShowHelp);
    EXPECT_EQ(cl.Parse(Args({"-h"})), Outcome::ShowHelp);
    EXPECT_EQ(cl.Parse(Args({"--help-all"})), Outcome::ShowHelp);
    EXPECT_EQ(cl.Parse(Args({"--version"})), Outcome::ShowVersion);
    EXPECT_EQ(cl.Parse(Args({"-v"})), Outcome::ShowVersion);
    EXPECT_EQ(cl.Parse(Args({"--version", "x.png"})), Outcome::ShowVersion);
    EXPECT_TRUE(CCommandLine::AsksForText(Args({"x.png", "--version"})));
    EXPECT_TRUE(CCommandLine::AsksForText(Args({"-h"})));
    EXPECT_FALSE(CCommandLine::AsksForText(Args({"x.png"})));
    EXPECT_FALSE(CCommandLine::AsksForText(Args({"--versions"})));
}

TEST(CommandLine, HelpNamesTheOptionsAndThePicture)
{
    CCommandLine cl;
    const QString help = cl.HelpText();
    EXPECT_TRUE(help.contains(QStringLiteral("[options] [PICTURE]"))) << help.toStdString();
    EXPECT_TRUE(help.contains(QStringLiteral("--version")));
    EXPECT_TRUE(help.contains(QStringLiteral("--help")));
}

TEST(CommandLine, VersionTextIsNameAndVersion)
{
    const QString oldName = QCoreApplication::applicationName();
    const QString oldVersion = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationName(QStringLiteral("Veltra"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
    EXPECT_EQ(CCommandLine::VersionText(), QStringLiteral("Veltra 1.2.3\n"));
    QCoreApplication::setApplicationName(oldName);
    QCoreApplication::setApplicationVersion(oldVersion);
}

TEST(CommandLine, UnknownOptionsAndSecondPicturesAreErrors)
{
    CCommandLine cl;
    ASSERT_EQ(cl.Parse(Args({"--frobnicate"})), Outcome::Error);
    EXPECT_EQ(cl.ErrorText(), QStringLiteral("Unknown option 'frobnicate'."));
    EXPECT_TRUE(cl.Picture().isEmpty());
    ASSERT_EQ(cl.Parse(Args({"a.png", "b.png"})), Outcome::Error);
    EXPECT_TRUE(cl.ErrorText().contains(QStringLiteral("one picture")));
    EXPECT_TRUE(cl.Picture().isEmpty());
    // A later good parse forgets the error.
    ASSERT_EQ(cl.Parse(Args({"a.png"})), Outcome::Run);
    EXPECT_TRUE(cl.ErrorText().isEmpty());
    EXPECT_EQ(CCommandLine::kUsageError, 2);
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
