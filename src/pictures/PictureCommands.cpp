// Format > BackGround and Format > Import..: the background picture under
// every figure, and a picture stretched over the selected rectangle. Only the
// paths are kept; the full redraw draws the pictures.
#include "app/MainFrame.h"
#include "platform/WindowSystem.h"
#include "scene/ShapeFigure.h"

void CMainFrame::OnBackground()
{
    // The switch is on even when the chooser is cancelled.
    m_bBackground = 1;
    const QStringList chosen = WindowSystem().GetOpenFileNames(this, kBitmapFilter, false);
    if (!chosen.isEmpty()) {
        m_strBackground = chosen.front();
        m_bBackground = 1;
    }
    // The selection keeps its handles over the redrawn canvas.
    RefreshCanvas(true);
}

void CMainFrame::OnImport()
{
    if (!m_pSelRect || m_nSelKind != FK_RECTANGLE) {
        WindowSystem().MessageBox(
            this, QStringLiteral("Plz select any rectangle so that image can be fitted in that rectangle"), QString(),
            MB_OK);
        return;
    }
    const QStringList chosen = WindowSystem().GetOpenFileNames(this, kBitmapFilter, false);
    if (chosen.isEmpty())
        return;
    // The rectangle becomes a picture rectangle, and its selection a picture
    // selection that can only be moved.
    m_dSelTileWidth = 0;
    m_dSelTileHeight = 0;
    m_bSelPicture = 1;
    m_strSelPicture = chosen.front();
    StoreSelectedFigure();
    RefreshCanvas(true);
}
