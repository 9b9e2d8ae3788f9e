// File > New, Open and Save. The program keeps no document: New empties the
// drawing, Open shows a picture as the background of an empty drawing, and
// Save writes what the canvas shows, with the texts of the boxes, as an
// uncompressed .bmp file.
#include "app/MainFrame.h"
#include "files/BitmapFile.h"
#include "platform/WindowSystem.h"
#include "scene/ShapeFigure.h"
#include "text/BoxText.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

#include <QDir>
#include <QFileInfo>

void CMainFrame::OnFileNew()
{
    ClearCanvas();
    // The boxes go from the newest id down; ids whose box was deleted are skipped.
    for (int id = g_nTextBoxCount; id >= 1; --id) {
        if (CEditBox* box = FindTextBoxWindow(id)) {
            g_pActiveEdit = box;
            delete box;  // a child window of the view: deleting it destroys the window
        }
    }
    g_pActiveEdit = nullptr;
    g_nActiveEditId = 0;
    g_nTextBoxCount = 0;
    g_pFigures->RemoveAll();
    g_pTextBoxes->RemoveAll();
    m_bBackground = 0;
    m_strBackground.clear();
    ClearSelection();
    EndTextFigureMode();
    Invalidate();
}

void CMainFrame::OnFileOpen()
{
    const QStringList chosen = WindowSystem().GetOpenFileNames(this, kBitmapFilter, false);
    if (!chosen.isEmpty())
        OpenPicture(chosen.front());
}

void CMainFrame::OpenPicture(const QString& path)
{
    // The drawing goes; the text boxes stay, each with its figure, so they
    // can still be moved, deleted and saved.
    for (int i = g_pFigures->GetSize() - 1; i >= 0; --i) {
        if (g_pFigures->GetAt(i)->m_nKind != FK_TEXT)
            g_pFigures->RemoveAt(i);
    }
    ClearSelection();
    EndTextFigureMode();
    m_strFilePath = path;
    m_strBackground = path;
    m_bBackground = 1;
    // The picture at (10, 10) at its own size, as every later redraw shows it.
    RefreshCanvas(false);
}

void CMainFrame::EndTextFigureMode()
{
    // An armed Insert tool stays armed; only the Resize selection of a text
    // figure, which just ended, gives way.
    if (m_nMode == MODE_TEXT_SIZING)
        m_nMode = MODE_NONE;
}

QString CMainFrame::SaveFileName(const QString& chosen)
{
    // The part after the last period of the file name, compared exactly.
    return QFileInfo(chosen).suffix() == QLatin1String("bmp") ? chosen : chosen + QStringLiteral(".bmp");
}

void CMainFrame::OnFileSave()
{
    const std::optional<QString> chosen = WindowSystem().GetSaveFileName(this, kBitmapFilter, QString());
    if (!chosen)
        return;
    // The chooser asked about the name as typed; the name written may have
    // ".bmp" added, and a file of that name is replaced only when the user
    // says so. No ends the Save as a Cancel does: nothing is burned in.
    const QString target = SaveFileName(*chosen);
    if (target != *chosen && QFileInfo::exists(target)) {
        const QString question = QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                     .arg(QFileInfo(target).fileName());
        if (WindowSystem().MessageBox(this, question, QStringLiteral("Save As"),
                                      MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
            return;
    }

    // The boxes are windows over the canvas: their texts are burned in, each
    // in its own font and colour on a transparent background, laid out and
    // placed as the box shows it (inside the figure's margin and the box's
    // border). They stay until the canvas is next redrawn.
    CDC& dc = *m_pCanvasDC;
    for (const auto& figure : *g_pFigures) {
        if (figure->m_nKind != FK_TEXT)
            continue;
        const RECT format = figure->m_pFormatRect.value_or(RECT{});
        const RECT client = InflatedRect(figure->m_rect, -(TEXT_FIGURE_MARGIN + CEditBox::kBorder));
        for (const auto& record : *g_pTextBoxes) {
            if (record->m_nId != figure->m_nTextId)
                continue;
            const CFont font(record->m_logfont);
            const CFontSelection selected(dc, font);
            dc.SetTextColor(record->m_crText);
            dc.SetBkMode(TRANSPARENT);
            DrawBoxText(dc, figure->m_strText, font.GetQFont(), client, format.left);
        }
    }

    // The file shows no handles: they go for the write and come back after.
    const std::optional<ShownHandles> shown = m_handlesShown;
    HideHandles();
    m_strFilePath = target;
    const QByteArray bytes = EncodeBitmapFile(m_bmpCanvas);
    if (bytes.isEmpty()) {
        WindowSystem().MessageBox(this, QStringLiteral("Error in Retrieving"), QString(), MB_OK);
    } else {
        QString reason;
        if (!WriteBitmapFile(m_strFilePath, bytes, &reason))
            WindowSystem().MessageBox(this,
                                      QStringLiteral("The drawing could not be saved as\n%1\n\n%2")
                                          .arg(QDir::toNativeSeparators(m_strFilePath), reason),
                                      QString(), MB_OK | MB_ICONEXCLAMATION);
    }
    if (shown)
        ShowHandlesAt(*shown);
    Invalidate();
}
