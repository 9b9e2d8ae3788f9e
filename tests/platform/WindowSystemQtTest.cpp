// The toolkit window system, driven as a user would drive it: each modal
// dialog is answered from the event loop it runs, as soon as it is the
// active modal window (no waiting on a clock).
#include "platform/FontMapping.h"
#include "platform/QtWindowSystem.h"
#include "platform/WindowSystemUtil.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

// Calls `answer` with the first modal dialog of type T that becomes the
// active modal window (checked on every pass of the event loop). A dialog
// that never comes is reported, and any modal window then open is closed so
// that the test ends.
template <typename T>
void WhenModal(std::function<void(T*)> answer)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(0);
    auto passes = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, passes, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
            return;
        }
        if (++*passes > 200000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the expected dialog was never shown";
            if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                open->reject();
        }
    });
    timer->start();
}

void Click(QMessageBox* box, QMessageBox::StandardButton which)
{
    QAbstractButton* button = box->button(which);
    ASSERT_NE(button, nullptr);
    button->click();
}

// The dialog's OK (Open, Save), as its button presses it.
void Accept(QFileDialog* dialog)
{
    static_cast<QDialog*>(dialog)->accept();
}

void SendKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

}  // namespace

TEST(WindowSystemQt, QuestionBoxShowsTitleTextIconAndBothButtons)
{
    QWidget main;
    const auto box = MakeMessageBox(&main, QStringLiteral("Would you like to continue"), QString(),
                                    MB_OKCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(box->windowTitle(), kAppTitle);
    EXPECT_EQ(box->text(), QStringLiteral("Would you like to continue"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Ok));
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::Cancel));
    EXPECT_EQ(box->parentWidget(), &main);
}

TEST(WindowSystemQt, OkBoxWithoutOwnerHasTheDefaultCaptionAndEscapeAnswersOk)
{
    const auto box = MakeMessageBox(nullptr, QStringLiteral("<b>not markup</b>"), QString(), MB_OK | MB_ICONHAND);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(MessageBoxResult(*box), IDOK);  // closed without a click: its escape button
}

TEST(WindowSystemQt, IconsFollowTheIconBits)
{
    EXPECT_EQ(MakeMessageBox(nullptr, {}, {}, MB_OK | MB_ICONEXCLAMATION)->icon(), QMessageBox::Warning);
    EXPECT_EQ(MakeMessageBox(nullptr, {}, {}, MB_OK | MB_ICONASTERISK)->icon(), QMessageBox::Information);
    EXPECT_EQ(MakeMessageBox(nullptr, {}, {}, MB_OK)->icon(), QMessageBox::NoIcon);
}

TEST(WindowSystemQt, AnswersOfARunningMessageBox)
{
    QtWindowSystem ws;
    WhenModal<QMessageBox>([](QMessageBox* box) { Click(box, QMessageBox::Cancel); });
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q"), QString(), MB_OKCANCEL), IDCANCEL);
    WhenModal<QMessageBox>([](QMessageBox* box) { Click(box, QMessageBox::Ok); });
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q"), QString(), MB_OKCANCEL), IDOK);
    WhenModal<QMessageBox>([](QMessageBox* box) { SendKey(box, Qt::Key_Escape); });
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q"), QString(), MB_OKCANCEL), IDCANCEL);
    WhenModal<QMessageBox>([](QMessageBox* box) { SendKey(box, Qt::Key_Escape); });
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("info"), QString(), MB_OK), IDOK);
}

TEST(WindowSystemQt, WorkerThreadMessageIsShownByTheInterfaceThread)
{
    QtWindowSystem ws;
    QEventLoop loop;
    std::atomic<int> answer{0};
    QString title;
    bool shownOnUiThread = false;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        shownOnUiThread = box->thread() == qApp->thread();
        Click(box, QMessageBox::Ok);
    });
    std::thread worker([&] {
        answer = ws.MessageBox(nullptr, QStringLiteral("No picture selected"), QString(), MB_OKCANCEL);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    EXPECT_EQ(answer.load(), IDOK);
    EXPECT_EQ(title, QStringLiteral("Error"));
    EXPECT_TRUE(shownOnUiThread);
}

TEST(WindowSystemQt, OpenWithMultipleSelectionReportsTheTypedFilesInOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"a.bmp", "c.bmp"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QtWindowSystem ws;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        dialog->setDirectory(dir.path());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QStringLiteral("\"c.bmp\" \"a.bmp\""));
        Accept(dialog);
    });
    const QStringList files = ws.GetOpenFileNames(nullptr, kBitmapFilter, true);
    EXPECT_EQ(files, (QStringList{dir.filePath("c.bmp"), dir.filePath("a.bmp")}));
}

TEST(WindowSystemQt, OpenCancelledGivesNoFile)
{
    QtWindowSystem ws;
    WhenModal<QFileDialog>([](QFileDialog* dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        dialog->reject();
    });
    EXPECT_TRUE(ws.GetOpenFileNames(nullptr, kBitmapFilter, false).isEmpty());
}

TEST(WindowSystemQt, SaveAsksBeforeCreatingANewFileAndNoKeepsTheDialogOpen)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtWindowSystem ws;
    QStringList prompts;
    bool openAfterNo = false;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Save As"));
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("bmp"));
        dialog->setDirectory(dir.path());
        dialog->selectFile(dir.filePath(QStringLiteral("drawing")));
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            prompts.append(box->text());
            Click(box, QMessageBox::No);
        });
        Accept(dialog);
        openAfterNo = dialog->isVisible();
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            prompts.append(box->text());
            Click(box, QMessageBox::Yes);
        });
        Accept(dialog);
    });
    const auto path = ws.GetSaveFileName(nullptr, kBitmapFilter, QStringLiteral("bmp"));
    ASSERT_EQ(prompts.size(), 2);
    EXPECT_EQ(prompts[0], QStringLiteral("drawing.bmp\nThis file does not exist.\nDo you want to create it?"));
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ(path, std::optional<QString>(dir.filePath(QStringLiteral("drawing.bmp"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("drawing.bmp"))));  // the caller writes it
}

TEST(WindowSystemQt, SaveOverAnExistingFileAsksToReplaceItInstead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        QFile file(dir.filePath(QStringLiteral("old.bmp")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QtWindowSystem ws;
    QString prompt;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->setDirectory(dir.path());
        dialog->selectFile(dir.filePath(QStringLiteral("old.bmp")));
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            prompt = box->text();
            Click(box, QMessageBox::Yes);
        });
        Accept(dialog);
    });
    const auto path = ws.GetSaveFileName(nullptr, kBitmapFilter, QStringLiteral("bmp"));
    EXPECT_TRUE(prompt.contains(QStringLiteral("already exists"))) << prompt.toStdString();
    EXPECT_FALSE(prompt.contains(QStringLiteral("does not exist")));
    EXPECT_EQ(path, std::optional<QString>(dir.filePath(QStringLiteral("old.bmp"))));
}

TEST(WindowSystemQt, SaveIntoAMissingFolderIsRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtWindowSystem ws;
    QString warning;
    bool stillOpen = false;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectFile(dir.filePath(QStringLiteral("missing/x.bmp")));
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            warning = box->text();
            Click(box, QMessageBox::Ok);
        });
        Accept(dialog);
        stillOpen = dialog->isVisible();
        dialog->reject();
    });
    EXPECT_EQ(ws.GetSaveFileName(nullptr, kBitmapFilter, QStringLiteral("bmp")), std::nullopt);
    EXPECT_TRUE(warning.contains(QStringLiteral("Path does not exist")));
    EXPECT_TRUE(stillOpen);
}

TEST(WindowSystemQt, ColourDialogStartsAtTheInitialColourAndAnswersTheChoice)
{
    EXPECT_EQ(MakeColorDialog(nullptr, RGB(10, 20, 30))->currentColor(), QColor(10, 20, 30));
    QtWindowSystem ws;
    WhenModal<QColorDialog>([](QColorDialog* dialog) {
        dialog->setCurrentColor(QColor(255, 0, 0));
        dialog->accept();
    });
    EXPECT_EQ(ws.ChooseColor(nullptr, 0), std::optional<COLORREF>(0x000000FFu));
    WhenModal<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(ws.ChooseColor(nullptr, 0), std::nullopt);
}

TEST(WindowSystemQt, FontDialogStartsFromTheLogFontInPoints)
{
    LOGFONT lf{};
    lf.lfHeight = -16;  // 12 points at 96 dpi
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfUnderline = 1;
    SetFaceName(lf, QStringLiteral("DejaVu Serif"));
    const QFont initial = MakeFontDialog(nullptr, lf)->currentFont();
    EXPECT_EQ(initial.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_DOUBLE_EQ(initial.pointSizeF(), 12.0);
    EXPECT_EQ(initial.weight(), QFont::Bold);
    EXPECT_TRUE(initial.italic());
    EXPECT_TRUE(initial.underline());
    EXPECT_FALSE(initial.strikeOut());
}

TEST(WindowSystemQt, FontDialogWritesTheChoiceIntoTheLogFontOnlyOnOk)
{
    LOGFONT lf{};
    lf.lfHeight = -16;
    lf.lfCharSet = 0;
    lf.lfPitchAndFamily = 18;
    SetFaceName(lf, QStringLiteral("Times New Roman"));
    const LOGFONT start = lf;
    QtWindowSystem ws;
    WhenModal<QFontDialog>([](QFontDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(ws.ChooseFont(nullptr, lf));
    EXPECT_EQ(lf, start);

    WhenModal<QFontDialog>([](QFontDialog* dialog) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(10);
        font.setWeight(QFont::Bold);
        font.setStrikeOut(true);
        dialog->setCurrentFont(font);
        dialog->accept();
    });
    ASSERT_TRUE(ws.ChooseFont(nullptr, lf));
    EXPECT_EQ(FaceName(lf), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(lf.lfHeight, -13);  // 10 points at 96 dpi, rounded
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_EQ(lf.lfPitchAndFamily, 18);  // kept from the caller's record
}
