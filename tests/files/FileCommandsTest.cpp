// File > New, Open and Save through the main window: New destroys the boxes
// from the newest down and empties everything; Open keeps the boxes and shows
// the picture as the background; Save writes the canvas with the boxes' texts
// and without handles, bottom row first, and a save that cannot be written
// says so and leaves the old file alone.
#include "editing/EditingFixture.h"

#include "resources/ResourceIds.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

#include <QFile>

namespace {

using FileCommandsTest = EditingTest;

CEditBox* PlaceBox(CMainFrame& frame, RECT rc)
{
    frame.PlaceTextBox(rc);
    return frame.FindTextBoxWindow(g_nTextBoxCount);
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(FileCommandsTest, NewDestroysTheBoxesFromTheNewestDownAndEmptiesTheDrawing)
{
    std::vector<int> destroyed;
    for (int i = 0; i < 3; ++i) {
        CEditBox* box = PlaceBox(frame, RECT{10 + 100 * i, 10, 90 + 100 * i, 60});
        QObject::connect(box, &QObject::destroyed, [&destroyed, id = i + 1] { destroyed.push_back(id); });
    }
    Add(FK_RECTANGLE, RECT{300, 300, 400, 400}, kBlack, kGreen);
    frame.RefreshCanvas(false);
    Click(POINT{350, 350});
    frame.m_bBackground = 1;
    frame.OnCommand(ID_FILE_NEW);
    EXPECT_EQ(destroyed, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(g_pFigures->GetSize(), 0);
    EXPECT_EQ(g_pTextBoxes->GetSize(), 0);
    EXPECT_FALSE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_bBackground, 0);
    EXPECT_EQ(g_pActiveEdit, nullptr);
    EXPECT_TRUE(Diff(Canvas(), [&] { QImage w = Canvas(); w.fill(Qt::white); return w; }()).empty());
    EXPECT_EQ(PlaceBox(frame, RECT{10, 10, 90, 60})->GetDlgCtrlID(), 1) << "ids start again at 1";
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
    CEditBox* box = PlaceBox(frame, RECT{500, 500, 600, 550});
    Add(FK_RECTANGLE, RECT{20, 20, 100, 100}, kBlack, kGreen);
    frame.RefreshCanvas(false);
    const QString path = Picture(QStringLiteral("open.png"), 50, 30);
    ws.QueueOpenFiles({path});
    frame.OnCommand(ID_FILE_OPEN);
    ASSERT_EQ(g_pFigures->GetSize(), 1) << "only the box's figure is left";
    EXPECT_EQ(Fig(0).m_nKind, FK_TEXT);
    EXPECT_EQ(frame.FindTextBoxWindow(1), box);
    EXPECT_EQ(frame.m_strFilePath, path);
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(59, 39), kBlue);
    EXPECT_EQ(Pixel(60, 39), kWhite);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(10, 10), kRed) << "it is the background of every later redraw";
}

TEST_F(FileCommandsTest, SaveWritesTheCanvasBottomRowFirstWithTheTextsAndWithoutHandles)
{
    Add(FK_LINE, RECT{0, 767, 1024, 767}, kRed);  // the bottom row: first in the file
    Add(FK_RECTANGLE, RECT{300, 300, 400, 400}, kBlack, kGreen);
    CEditBox* box = PlaceBox(frame, RECT{100, 100, 300, 160});
    box->setPlainText(QStringLiteral("Burn me"));
    g_pTextBoxes->GetAt(0)->m_crText = kBlue;
    frame.RefreshCanvas(false);
    Click(POINT{350, 350});
    const QImage withHandles = Canvas();

    const QString path = dir.filePath(QStringLiteral("drawing"));
    ws.QueueSaveFile(path);
    frame.OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(ws.Shown(DialogKind::MessageBox).empty());
    EXPECT_EQ(frame.m_strFilePath, path + QStringLiteral(".bmp"));
    const QByteArray file = ReadAll(path + QStringLiteral(".bmp"));
    ASSERT_EQ(file.size(), 3145782);
    EXPECT_EQ(file.mid(54, 4), QByteArray("\x00\x00\xff\x00", 4)) << "blue, green, red, 0 of the bottom row";

    QImage saved;
    ASSERT_TRUE(saved.loadFromData(file, "BMP"));
    saved = saved.convertToFormat(QImage::Format_RGB32);
    // The file differs from the canvas on screen by the handles alone, and by
    // the burned text, which the canvas now also holds.
    const Pixels handles = Rings({{300, 300}, {350, 300}, {400, 300}, {400, 350}, {400, 400}, {350, 400},
                                  {300, 400}, {300, 350}});
    const Pixels differs = Diff(Canvas(), saved);
    EXPECT_EQ(differs, handles);
    int blue = 0;
    for (int y = 100; y < 160; ++y)
        for (int x = 100; x < 300; ++x)
            blue += PixelToColor(saved.pixel(x, y)) == kBlue;
    EXPECT_GT(blue, 20) << "the box's text in its own colour";
    const Pixels burned = Diff(withHandles, Canvas());
    EXPECT_FALSE(burned.empty());
    for (const auto& [x, y] : burned)
        EXPECT_TRUE(x >= 94 && x < 306 && y >= 94 && y < 166) << x << "," << y << " outside the box";
}

TEST_F(FileCommandsTest, TheSavedNameEndsInBmpUnlessItAlreadyEndsSoExactly)
{
    const std::pair<const char*, const char*> table[] = {
        {"/d/picture", "/d/picture.bmp"},
        {"/d/picture.bmp", "/d/picture.bmp"},
        {"/d/picture.BMP", "/d/picture.BMP.bmp"},
        {"/d/picture.jpg", "/d/picture.jpg.bmp"},
        {"/d.v2/picture", "/d.v2/picture.bmp"},
        {"/d/archive.tar.bmp", "/d/archive.tar.bmp"},
    };
    for (const auto& [chosen, saved] : table)
        EXPECT_EQ(CMainFrame::SaveFileName(QString::fromUtf8(chosen)), QString::fromUtf8(saved));
}

TEST_F(FileCommandsTest, AFileTheAddedExtensionNamesIsReplacedOnlyWhenTheUserSaysSo)
{
    CEditBox* box = PlaceBox(frame, RECT{100, 100, 300, 160});
    box->setPlainText(QStringLiteral("Burn me"));
    const QString typed = dir.filePath(QStringLiteral("out1")), written = typed + QStringLiteral(".bmp");
    QFile existing(written);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly) && existing.write("keep me") == 7);
    existing.close();
    frame.m_strFilePath = QStringLiteral("/before");
    const QImage before = Canvas();

    // No (also the answer of Escape and of no answer at all) leaves the file,
    // the canvas and the remembered path as they were.
    for (const std::optional<int> answer : {std::optional<int>(IDNO), std::optional<int>()}) {
        ws.Reset();
        ws.QueueSaveFile(typed);
        if (answer)
            ws.QueueMessageBoxAnswer(*answer);
        frame.OnCommand(ID_FILE_SAVE);
        const auto shown = ws.Shown(DialogKind::MessageBox);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, QStringLiteral("out1.bmp already exists.\nDo you want to replace it?"));
        EXPECT_EQ(shown[0].shownCaption, QStringLiteral("Save As"));
        EXPECT_EQ(shown[0].type, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
        EXPECT_EQ(shown[0].owner, &frame);
        EXPECT_EQ(ReadAll(written), QByteArray("keep me"));
        EXPECT_EQ(Canvas(), before) << "no text burned in";
        EXPECT_EQ(frame.m_strFilePath, QStringLiteral("/before"));
    }
    ws.Reset();
    ws.QueueSaveFile(typed);
    ws.QueueMessageBoxAnswer(IDYES);
    frame.OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(ReadAll(written).size(), 3145782);
    EXPECT_EQ(frame.m_strFilePath, written);

    // A name the chooser itself asked about is not asked about again.
    ws.Reset();
    ws.QueueSaveFile(written);
    frame.OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(ws.Shown(DialogKind::MessageBox).empty());
}

TEST_F(FileCommandsTest, ASaveThatCannotBeWrittenSaysSoAndLeavesTheOldFileAlone)
{
    QFile notFolder(dir.filePath(QStringLiteral("plain.txt")));
    ASSERT_TRUE(notFolder.open(QIODevice::WriteOnly) && notFolder.write("x") == 1);
    notFolder.close();
    const QString old = dir.filePath(QStringLiteral("old.bmp"));
    QFile oldFile(old);
    ASSERT_TRUE(oldFile.open(QIODevice::WriteOnly) && oldFile.write("keep me") == 7);
    oldFile.close();
    for (const QString& path : {dir.filePath(QStringLiteral("missing/x.bmp")), notFolder.fileName() + "/x.bmp"}) {
        ws.Reset();
        ws.QueueSaveFile(path);
        frame.OnCommand(ID_FILE_SAVE);
        const auto shown = ws.Shown(DialogKind::MessageBox);
        ASSERT_EQ(shown.size(), 1u) << path.toStdString();
        EXPECT_TRUE(shown[0].text.contains(QStringLiteral("x.bmp"))) << shown[0].text.toStdString();
        EXPECT_EQ(shown[0].owner, &frame);
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_EQ(ReadAll(old), QByteArray("keep me"));
}

}  // namespace
