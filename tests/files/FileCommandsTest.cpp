// File > New, Open and Save through the main window: New destroys the boxes
// and empties everything; Open keeps the boxes and shows
// the picture as the background; an armed tool survives both; Save writes the
// canvas with the boxes' texts and without handles, bottom row first, asks
// before replacing the file its added ".bmp" names, and a save that cannot be
// written says so.
#include "support/WindowTest.h"


#include <QFile>

namespace {

using FileCommandsTest = WindowTest;

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(FileCommandsTest, NewDestroysTheBoxesAndEmptiesTheDrawing)
{
    for (int i = 0; i < 3; ++i)
        Place(RECT{10 + 100 * i, 10, 90 + 100 * i, 60});
    Add(FK_RECTANGLE, RECT{300, 300, 400, 400}, kBlack, kGreen);
    ws.QueueOpenFiles({Picture(QStringLiteral("bg.png"), 30, 30)});
    frame.OnCommand(ID_FORMAT_BACKGROUND);
    Click(POINT{350, 350});
    frame.OnCommand(ID_FILE_NEW);
    EXPECT_TRUE(frame.View()->findChildren<CEditBox*>().isEmpty());
    EXPECT_EQ(g_pFigures->GetSize() + g_pTextBoxes->GetSize(), 0);
    QImage white = Canvas();
    white.fill(Qt::white);
    EXPECT_TRUE(Canvas() == white) << "no figure, no handles, no background";
    EXPECT_EQ(Place(RECT{10, 10, 90, 60})->GetDlgCtrlID(), 1) << "ids start again at 1";
}

TEST_F(FileCommandsTest, AnArmedToolStaysArmedThroughNewAndOpen)
{
    const QString path = Picture(QStringLiteral("open.png"), 5, 5);
    for (const UINT command : {ID_FILE_NEW, ID_FILE_OPEN}) {
        frame.OnCommand(ID_INSERT_RECTANGLE);
        ws.QueueOpenFiles({path});
        frame.OnCommand(command);
        Drag(POINT{200, 200}, POINT{300, 260});
        ASSERT_EQ(g_pFigures->GetSize(), 1) << command;
        EXPECT_EQ(Fig(0).m_nKind, FK_RECTANGLE);
        EXPECT_EQ(Fig(0).m_rect, (RECT{200, 200, 300, 260}));
        g_pFigures->RemoveAll();
    }
}

TEST_F(FileCommandsTest, OpenEmptiesTheDrawingKeepsTheBoxesAndShowsThePictureAtTenTen)
{
    CEditBox* box = Place(RECT{500, 500, 600, 550});
    Add(FK_RECTANGLE, RECT{20, 20, 100, 100}, kBlack, kGreen);
    frame.RefreshCanvas(false);
    ws.QueueOpenFiles({Picture(QStringLiteral("open.png"), 50, 30)});
    frame.OnCommand(ID_FILE_OPEN);
    ASSERT_EQ(g_pFigures->GetSize(), 1) << "only the box's figure is left";
    EXPECT_EQ(Fig(0).m_nKind, FK_TEXT);
    EXPECT_EQ(frame.FindTextBoxWindow(1), box);
    frame.RefreshCanvas(false);  // the background of every later redraw
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(59, 39), kBlue);
    EXPECT_EQ(Pixel(60, 39), kWhite);
}

TEST_F(FileCommandsTest, SaveWritesTheCanvasBottomRowFirstWithTheTextsAndWithoutHandles)
{
    Add(FK_LINE, RECT{0, 767, 1024, 767}, kRed);  // the bottom row: first in the file
    Add(FK_RECTANGLE, RECT{300, 300, 400, 400}, kBlack, kGreen);
    Place(RECT{100, 100, 300, 160})->setPlainText(QStringLiteral("Burn me"));
    g_pTextBoxes->GetAt(0)->m_crText = kBlue;
    frame.RefreshCanvas(false);
    Click(POINT{350, 350});
    const QString path = dir.filePath(QStringLiteral("drawing"));
    ws.QueueSaveFile(path);
    frame.OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(Messages().isEmpty());
    const QByteArray file = ReadAll(path + QStringLiteral(".bmp"));
    ASSERT_EQ(file.size(), 3145782);
    EXPECT_EQ(file.mid(54, 4), QByteArray("\x00\x00\xff\x00", 4)) << "blue, green, red, 0 of the bottom row";
    QImage saved;
    ASSERT_TRUE(saved.loadFromData(file, "BMP"));
    // The file differs from the canvas on screen by the handles alone, and by
    // the burned text, which the canvas now also holds.
    EXPECT_EQ(Diff(Canvas(), saved.convertToFormat(QImage::Format_RGB32)),
              Rings({{300, 300}, {350, 300}, {400, 300}, {400, 350}, {400, 400}, {350, 400}, {300, 400}, {300, 350}}));
    int blue = 0;
    for (int y = 100; y < 160; ++y)
        for (int x = 100; x < 300; ++x)
            blue += Pixel(x, y) == kBlue;
    EXPECT_GT(blue, 20) << "the box's text in its own colour";
}

TEST_F(FileCommandsTest, TheSavedNameEndsInBmpUnlessItAlreadyEndsSoExactly)
{
    const std::pair<const char*, const char*> table[] = {
        {"/d/picture", "/d/picture.bmp"},         {"/d/picture.bmp", "/d/picture.bmp"},
        {"/d/picture.BMP", "/d/picture.BMP.bmp"}, {"/d/picture.jpg", "/d/picture.jpg.bmp"},
        {"/d.v2/picture", "/d.v2/picture.bmp"},   {"/d/archive.tar.bmp", "/d/archive.tar.bmp"},
    };
    for (const auto& [chosen, saved] : table)
        EXPECT_EQ(CMainFrame::SaveFileName(QString::fromUtf8(chosen)), QString::fromUtf8(saved));
}

TEST_F(FileCommandsTest, AFileTheAddedExtensionNamesIsReplacedOnlyWhenTheUserSaysSo)
{
    Place(RECT{100, 100, 300, 160})->setPlainText(QStringLiteral("Burn me"));
    const QString typed = dir.filePath(QStringLiteral("out1")), written = typed + QStringLiteral(".bmp");
    QFile existing(written);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly) && existing.write("keep me") == 7);
    existing.close();
    const QImage before = Canvas();
    // No (also the answer of Escape and of no answer at all) leaves the file
    // and the canvas as they were; Yes writes it.
    for (const std::optional<int> answer : {std::optional<int>(IDNO), std::optional<int>(), std::optional<int>(IDYES)}) {
        ws.Reset();
        ws.QueueSaveFile(typed);
        if (answer)
            ws.QueueMessageBoxAnswer(*answer);
        frame.OnCommand(ID_FILE_SAVE);
        EXPECT_EQ(Messages(), QStringList{"out1.bmp already exists.\nDo you want to replace it? | Save As | 134 | main"});
        if (answer == IDYES)
            break;
        EXPECT_EQ(ReadAll(written), QByteArray("keep me"));
        EXPECT_TRUE(Canvas() == before) << "no text burned in";
    }
    EXPECT_EQ(ReadAll(written).size(), 3145782);
    // A name the chooser itself asked about is not asked about again.
    ws.Reset();
    ws.QueueSaveFile(written);
    frame.OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(FileCommandsTest, ASaveThatCannotBeWrittenSaysWhereAndCreatesNothing)
{
    const QString path = dir.filePath(QStringLiteral("missing/x.bmp"));
    ws.QueueSaveFile(path);
    frame.OnCommand(ID_FILE_SAVE);
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains(QDir::toNativeSeparators(path))) << Messages()[0].toStdString();
    EXPECT_TRUE(Messages()[0].endsWith(" | main"));
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
