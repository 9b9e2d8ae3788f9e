#include "platform/QtWindowSystem.h"

#include "platform/FontMapping.h"
#include "platform/Screen.h"
#include "platform/WindowSystemUtil.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QThread>

#include <type_traits>

namespace {

bool HaveWidgets()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// Asks, when a dialog can be shown: only the user-interface thread of a
// widget application shows one (other threads hand their messages to it);
// otherwise the answer is `fallback`.
template <typename F, typename R = std::invoke_result_t<F>>
R OnUiThread(F&& ask, R fallback)
{
    if (!HaveWidgets() || QThread::currentThread() != qApp->thread())
        return fallback;
    return ask();
}

bool IsOkCancel(UINT type)
{
    return (type & MB_TYPEMASK) == MB_OKCANCEL;
}

QMessageBox::Icon IconOf(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// A dialog while it runs modally. Its owner may be destroyed meanwhile, and
// the dialog with it, so it is held by a guarded pointer: it counts as
// cancelled then and is not deleted twice.
template <typename Dialog>
class ModalRun {
public:
    explicit ModalRun(std::unique_ptr<Dialog> dialog) : m_dialog(dialog.release()) {}
    ~ModalRun() { delete m_dialog.data(); }
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;

    // Runs the dialog; null afterwards when it was destroyed meanwhile.
    Dialog* Run()
    {
        m_dialog->exec();
        return m_dialog.data();
    }
    // Runs the dialog: true when it ended accepted and still exists.
    bool Accepted()
    {
        const int result = m_dialog->exec();
        return m_dialog && result == QDialog::Accepted;
    }
    Dialog* operator->() const { return m_dialog.data(); }

private:
    QPointer<Dialog> m_dialog;
};

// A title bar shows its caption in a bold face, beside the window's icon and
// its buttons; the box is made at least that wide, so the caption is not cut.
void KeepCaptionWhole(QMessageBox& box)
{
    constexpr int kTitleBarButtonsAndIcon = 120;
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarButtonsAndIcon;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const QString& text, const QString& caption,
                                            UINT type)
{
    const UINT buttonsOf = type & MB_TYPEMASK;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton first = QMessageBox::Ok, second = QMessageBox::NoButton;
    if (buttonsOf == MB_OKCANCEL) {
        second = QMessageBox::Cancel;
    } else if (buttonsOf == MB_YESNO) {
        first = QMessageBox::Yes;
        second = QMessageBox::No;
    }
    buttons = QMessageBox::StandardButtons(first) | second;
    auto box = std::make_unique<QMessageBox>(IconOf(type), MessageBoxCaption(owner, caption), text, buttons, owner);
    box->setTextFormat(Qt::PlainText);  // message texts are plain, whatever characters they hold
    box->setDefaultButton((type & MB_DEFBUTTON2) && second != QMessageBox::NoButton ? second : first);
    // Escape answers the second button where there is one, else OK, as a
    // Windows box does.
    box->setEscapeButton(second != QMessageBox::NoButton ? second : first);
    KeepCaptionWhole(*box);
    return box;
}

int MessageBoxResult(const QMessageBox& box)
{
    const QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        clicked = box.escapeButton();
    const std::pair<QMessageBox::StandardButton, int> results[] = {
        {QMessageBox::Cancel, IDCANCEL}, {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    for (const auto& [button, result] : results)
        if (clicked && clicked == box.button(button))
            return result;
    return IDOK;
}

int QtWindowSystem::MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type)
{
    const int fallback = IsOkCancel(type) ? IDCANCEL : (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    QPointer<QWidget> guardedOwner(owner);
    return OnUiThread(
        [=]() -> int {
            ModalRun<QMessageBox> box(MakeMessageBox(guardedOwner.data(), text, caption, type));
            const QMessageBox* closed = box.Run();
            return closed ? MessageBoxResult(*closed) : fallback;
        },
        fallback);
}

void QtWindowSystem::ShowMessageWithoutOwner(const QString& text, UINT type)
{
    if (!HaveWidgets() || QThread::currentThread() != qApp->thread())
        return;
    // A box without owner is modal to nothing: the main window stays usable.
    QMessageBox* box = MakeMessageBox(nullptr, text, QString(), type).release();
    box->setWindowModality(Qt::NonModal);
    // It does not keep the program running once the main window is closed,
    // and it goes when it is answered or when the program ends.
    box->setAttribute(Qt::WA_QuitOnClose, false);
    QObject::connect(box, &QDialog::finished, box, &QObject::deleteLater);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, box, &QObject::deleteLater);
    box->show();
}

std::unique_ptr<QFileDialog> MakeOpenFileDialog(QWidget* owner, const QString& filter, bool multiSelect)
{
    auto dialog = std::make_unique<QFileDialog>(owner, QStringLiteral("Open"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog->setNameFilter(QtFileFilter(filter));
    return dialog;
}

QStringList QtWindowSystem::GetOpenFileNames(QWidget* owner, const QString& filter, bool multiSelect)
{
    QPointer<QWidget> guardedOwner(owner);
    return OnUiThread(
        [=]() -> QStringList {
            ModalRun<QFileDialog> dialog(MakeOpenFileDialog(guardedOwner.data(), filter, multiSelect));
            if (!dialog.Accepted())
                return {};
            QStringList files = dialog->selectedFiles();
            if (!multiSelect && files.size() > 1)
                files = files.mid(0, 1);
            return FitsFileNameBuffer(files, multiSelect) ? files : QStringList{};
        },
        QStringList{});
}

CSaveFileDialog::CSaveFileDialog(QWidget* owner, const QString& filter, const QString& defaultExt)
    : QFileDialog(owner, QStringLiteral("Save As"))
{
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilter(QtFileFilter(filter));
    QString suffix = defaultExt;
    while (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    setDefaultSuffix(suffix);
}

void CSaveFileDialog::accept()
{
    const QStringList files = selectedFiles();
    if (files.size() == 1) {
        const QFileInfo info(files.front());
        // An existing name is a folder to enter or a file the toolkit's own
        // overwrite question deals with; a new name is asked about here.
        if (!info.exists()) {
            if (!info.absoluteDir().exists()) {
                QMessageBox::warning(this, windowTitle(),
                                     info.fileName() + QLatin1String("\nPath does not exist.\n"
                                                                     "Check the path and try again."));
                return;
            }
            const auto answer = QMessageBox::question(
                this, windowTitle(),
                info.fileName() + QLatin1String("\nThis file does not exist.\nDo you want to create it?"),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
            if (answer != QMessageBox::Yes)
                return;
        }
    }
    QFileDialog::accept();
}

std::optional<QString> QtWindowSystem::GetSaveFileName(QWidget* owner, const QString& filter,
                                                       const QString& defaultExt)
{
    QPointer<QWidget> guardedOwner(owner);
    return OnUiThread(
        [=]() -> std::optional<QString> {
            ModalRun<CSaveFileDialog> dialog(
                std::make_unique<CSaveFileDialog>(guardedOwner.data(), filter, defaultExt));
            if (!dialog.Accepted())
                return std::nullopt;
            const QStringList files = dialog->selectedFiles();
            if (files.isEmpty() || !FitsFileNameBuffer(files.mid(0, 1), false))
                return std::nullopt;
            return files.front();
        },
        std::optional<QString>{});
}

std::unique_ptr<QColorDialog> MakeColorDialog(QWidget* owner, COLORREF initial)
{
    auto dialog = std::make_unique<QColorDialog>(QColorFromColorRef(initial), owner);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    dialog->setWindowTitle(QStringLiteral("Color"));
    return dialog;
}

std::optional<COLORREF> QtWindowSystem::ChooseColor(QWidget* owner, COLORREF initial)
{
    QPointer<QWidget> guardedOwner(owner);
    return OnUiThread(
        [=]() -> std::optional<COLORREF> {
            ModalRun<QColorDialog> dialog(MakeColorDialog(guardedOwner.data(), initial));
            if (!dialog.Accepted())
                return std::nullopt;
            return ColorRefFromQColor(dialog->selectedColor());
        },
        std::optional<COLORREF>{});
}

std::unique_ptr<QFontDialog> MakeFontDialog(QWidget* owner, const LOGFONT& lf)
{
    // The chooser lists installed families: a face the font configuration
    // substitutes ("Times New Roman") starts at the family it resolves to.
    QFont initial = PointFontFromLogFont(lf, GetScreenDpiY());
    initial.setFamilies({QFontInfo(initial).family()});
    auto dialog = std::make_unique<QFontDialog>(initial, owner);
    dialog->setOption(QFontDialog::DontUseNativeDialog);
    dialog->setWindowTitle(QStringLiteral("Font"));
    return dialog;
}

bool QtWindowSystem::ChooseFont(QWidget* owner, LOGFONT& lf)
{
    QPointer<QWidget> guardedOwner(owner);
    const LOGFONT initial = lf;
    const std::optional<LOGFONT> chosen = OnUiThread(
        [=]() -> std::optional<LOGFONT> {
            ModalRun<QFontDialog> dialog(MakeFontDialog(guardedOwner.data(), initial));
            if (!dialog.Accepted())
                return std::nullopt;
            return LogFontFromQFont(dialog->selectedFont(), initial, GetScreenDpiY());
        },
        std::optional<LOGFONT>{});
    if (!chosen)
        return false;
    lf = *chosen;
    return true;
}
