// The toolkit window system, driven as a user would drive it: each modal
// dialog is answered from the event loop it runs, as soon as it is the
// active modal window (no waiting on a clock).
#include "platform/QtWindowSystem.h"
#include "platform/WindowSystemUtil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Calls `answer` with the first modal dialog of type T that becomes the
// active modal window (checked on every pass of the event loop). A dialog
// that never comes is reported, and any modal window then open is closed so
// that the test ends.
template <typename T>
void WhenModal(std::function<void(T*)> answer)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, passes = 0]() mutable {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && ++passes <= 200000)
            return;
        timer->stop();
        timer->deleteLater();
        if (dialog)
            return answer(dialog);
        ADD_FAILURE() << "the expected dialog was never shown";
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            open->reject();
    });
    timer->start(0);
}

void Click(QMessageBox* box, QMessageBox::StandardButton which)
{
    QAbstractButton* button = box->button(which);
    ASSERT_NE(button, nullptr);
    button->click();
}

// Accepts `dialog` with `file` chosen, as its Save button does, and answers
// the message box this raises with `button`; gives the box's text.
QString AcceptAnswering(QFileDialog* dialog, const QString& file, QMessageBox::StandardButton button)
{
    auto text = std::make_shared<QString>();
    WhenModal<QMessageBox>([text, button](QMessageBox* box) {
        *text = box->text();
        Click(box, button);
    });
    dialog->selectFile(file);
    static_cast<QDialog*>(dialog)->accept();
    return *text;
}

}  // namespace

TEST(WindowSystemQt, MessageBoxesShowPlainTextUnderTheirCaptionAnswerAsClickedOrKeyedAndFitTheirCaption)
{
    // Owned or not, with a caption or none; answered by a click on a button,
    // or with none by a key.
    using Q = QMessageBox;
    const struct { UINT type; bool owned; const char* caption; const char* title; Q::Icon icon; Q::StandardButton click;
                   int key; int result; } cases[] = {
        {MB_OKCANCEL | MB_ICONQUESTION, true, "", "Veltra Design & Pattern Creation Tool", Q::Question, Q::Cancel, 0, IDCANCEL},
        {MB_OKCANCEL | MB_ICONHAND, false, "", "Error", Q::Critical, Q::NoButton, Qt::Key_Return, IDOK},
        {MB_OKCANCEL | MB_ICONEXCLAMATION, true, "Border", "Border", Q::Warning, Q::NoButton, Qt::Key_Escape, IDCANCEL},
        {MB_OK | MB_ICONASTERISK, false, "Border", "Border", Q::Information, Q::NoButton, Qt::Key_Escape, IDOK},
        {MB_YESNO, false, "Save As", "Save As", Q::NoIcon, Q::Yes, 0, IDYES},
        {MB_YESNO, false, "Save As", "Save As", Q::NoIcon, Q::No, 0, IDNO},
        {MB_YESNO | MB_DEFBUTTON2, false, "Save As", "Save As", Q::NoIcon, Q::NoButton, Qt::Key_Return, IDNO},
        {MB_YESNO | MB_DEFBUTTON2, false, "Save As", "Save As", Q::NoIcon, Q::NoButton, Qt::Key_Escape, IDNO},
    };
    QtWindowSystem ws;
    QWidget owner;
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        WhenModal<QMessageBox>([c](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), QString::fromLatin1(c.title));
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
            if (c.key)
                QApplication::sendEvent(box, &press);
            else
                Click(box, c.click);
        });
        const QString caption = QString::fromLatin1(c.caption);
        EXPECT_EQ(ws.MessageBox(c.owned ? &owner : nullptr, QStringLiteral("<b>q</b>"), caption, c.type), c.result);
    }

    // A short question under the long title: the box is as wide as the
    // title set in the bold face of a title bar, with room for its buttons.
    auto question = MakeMessageBox(nullptr, QStringLiteral("Delete?"), kAppTitle, MB_OKCANCEL);
    question->setWindowModality(Qt::NonModal);
    question->show();
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    EXPECT_GE(question->width(), QFontMetrics(bold).horizontalAdvance(kAppTitle) + 100);
}

TEST(WindowSystemQt, SaveAsksAboutMissingFoldersExistingAndNewFilesAndOnlyYesEndsIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("old.bmp"))).open(QIODevice::WriteOnly));
    QtWindowSystem ws;
    QStringList prompts;
    bool openAfterRefusals = false;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Save As"));
        dialog->setDirectory(dir.path());
        prompts << AcceptAnswering(dialog, dir.filePath(QStringLiteral("missing/x.bmp")), QMessageBox::Ok);
        prompts << AcceptAnswering(dialog, dir.filePath(QStringLiteral("old.bmp")), QMessageBox::No);
        prompts << AcceptAnswering(dialog, dir.filePath(QStringLiteral("drawing")), QMessageBox::No);
        openAfterRefusals = dialog->isVisible();
        prompts << AcceptAnswering(dialog, dir.filePath(QStringLiteral("drawing")), QMessageBox::Yes);
    });
    const auto path = ws.GetSaveFileName(nullptr, kBitmapFilter, QStringLiteral("bmp"));
    ASSERT_EQ(prompts.size(), 4);
    EXPECT_EQ(prompts[0], QStringLiteral("x.bmp\nPath does not exist.\nCheck the path and try again."));
    EXPECT_TRUE(prompts[1].contains(QStringLiteral("already exists"))) << prompts[1].toStdString();
    EXPECT_EQ(prompts[2], QStringLiteral("drawing.bmp\nThis file does not exist.\nDo you want to create it?"));
    EXPECT_TRUE(openAfterRefusals);
    EXPECT_EQ(path, std::optional<QString>(dir.filePath(QStringLiteral("drawing.bmp"))));  // the default extension
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("drawing.bmp"))));  // the caller writes it
}

TEST(WindowSystemQt, TheFontChooserStartsAtTheFaceSizeAndStyleOfTheCurrentFormat)
{
    LOGFONT lf{};
    lf.lfHeight = -MulDiv(12, 96, 72);
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    SetFaceName(lf, QStringLiteral("Times New Roman"));
    // The face the font configuration gives for the name, as the chooser lists it.
    const QString resolved = QFontInfo(QFont(QStringLiteral("Times New Roman"))).family();
    ASSERT_NE(resolved, QStringLiteral("Times New Roman")) << "the test needs a substituted face";
    QtWindowSystem ws;
    QFont shown;
    WhenModal<QFontDialog>([&](QFontDialog* dialog) {
        shown = dialog->currentFont();
        dialog->reject();
    });
    EXPECT_FALSE(ws.ChooseFont(nullptr, lf));
    EXPECT_EQ(shown.family(), resolved);
    EXPECT_EQ(shown.pointSize(), 12);
    EXPECT_TRUE(shown.bold());
    EXPECT_TRUE(shown.italic());
}
