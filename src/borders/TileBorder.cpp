#include "borders/TileBorder.h"

#include "app/MainFrame.h"
#include "platform/Screen.h"
#include "platform/WindowSystem.h"
#include "resources/DialogTemplates.h"
#include "scene/ShapeFigure.h"

#include <QDialog>

#include <cmath>

double g_dTileWidth = 0.0;
double g_dTileHeight = 0.0;
CString g_strTilePicture;
int g_bOuterBorder = 0;
int g_bLeftRight = 0;
int g_bAllSides = 0;

namespace {
// The outer border lies 30 pixels below the top of the full-screen client
// area and ends 20 above its bottom.
constexpr int kOuterTop = 30;
constexpr int kOuterBottomGap = 20;
// Width and Height are read as at most 18 characters.
constexpr int kSizeChars = 18;

// The leading decimal digits of a field, as a number; none gives 0.
double LeadingNumber(const QString& text)
{
    double value = 0;
    for (const QChar c : text.left(kSizeChars)) {
        if (!c.isDigit())
            break;
        value = value * 10 + c.digitValue();
    }
    return value;
}
}  // namespace

double FitTileSize(int length, double tile)
{
    if (length <= 0 || !(tile > 0) || !std::isfinite(tile))
        return 0.0;
    double n = std::trunc(length / tile);
    const double rest = std::trunc(length - n * tile);
    if (rest > tile / 2)
        n += 1;
    // A tile twice as long as the side or more leaves no whole tile: one
    // tile then fills the side.
    if (n < 1)
        n = 1;
    return length / n;
}

CRectDialog::CRectDialog(QWidget* parent) : CDialog(RectDialogTemplate(), parent)
{
    MapCommand(IDC_BORDER_OK, [this] { OnOK(); });
    MapCommand(IDC_BORDER_BROWSE, [this] { OnBrowseTile(); });
}

BOOL CRectDialog::OnInitDialog()
{
    CheckDlgButton(IDC_BORDER_ALL, BST_CHECKED);
    SetDlgItemText(IDC_BORDER_WIDTH, QStringLiteral("50"));
    SetDlgItemText(IDC_BORDER_HEIGHT, QStringLiteral("50"));
    return TRUE;
}

void CRectDialog::OnBrowseTile()
{
    const QStringList chosen = WindowSystem().GetOpenFileNames(Window(), kBitmapFilter, false);
    if (chosen.isEmpty())
        return;
    g_strTilePicture = chosen.front();
    SetDlgItemText(IDC_BORDER_FILE, g_strTilePicture);
}

void CRectDialog::OnOK()
{
    if (GetDlgItemText(IDC_BORDER_FILE).isEmpty()) {
        WindowSystem().MessageBox(Window(), QStringLiteral("Plz select a file that need to be applied as a border"),
                                  QString(), MB_OK);
        return;
    }
    const double width = LeadingNumber(GetDlgItemText(IDC_BORDER_WIDTH));
    const double height = LeadingNumber(GetDlgItemText(IDC_BORDER_HEIGHT));
    if (width < 1 || height < 1) {
        // A tile of no size cannot be laid along a side.
        WindowSystem().MessageBox(Window(), QStringLiteral("The tile width and height must be at least 1."),
                                  QString(), MB_OK);
        return;
    }
    g_dTileWidth = width;
    g_dTileHeight = height;
    g_bLeftRight = IsDlgButtonChecked(IDC_BORDER_LEFTRIGHT) == BST_CHECKED ? 1 : 0;
    g_bAllSides = IsDlgButtonChecked(IDC_BORDER_ALL) == BST_CHECKED ? 1 : 0;
    g_bOuterBorder = IsDlgButtonChecked(IDC_BORDER_OUTER) == BST_CHECKED ? 1 : 0;
    EndDialog(IDC_BORDER_OK);
}

void CRectDialog::OnCancel()
{
    EndDialog(0);
}

int CMainFrame::FindOuterBorder() const
{
    for (int i = 0; i < g_pFigures->GetSize(); ++i)
        if (g_pFigures->GetAt(i)->m_nKind == FK_BORDER)
            return i;
    return -1;
}

void CMainFrame::PutOuterBorder(std::unique_ptr<CShapeFigure> border)
{
    // Applied again, a border replaces the first one.
    const int index = FindOuterBorder();
    if (index < 0)
        g_pFigures->Add(std::move(border));
    else
        g_pFigures->SetAt(index, std::move(border));
}

void CMainFrame::OnBorder()
{
    CRectDialog dialog(this);
    if (dialog.DoModal() != IDC_BORDER_OK)
        return;

    if (g_bOuterBorder == 1) {
        const SIZE screen = GetFullScreenClientSize();
        g_dTileWidth = FitTileSize(screen.cx, g_dTileWidth);
        g_dTileHeight = FitTileSize(screen.cy - kOuterTop - kOuterBottomGap, g_dTileHeight);
        PutOuterBorder(CShapeFigure::Border(RECT{0, kOuterTop, screen.cx, screen.cy - kOuterBottomGap}, m_crLine,
                                            g_dTileWidth, g_dTileHeight, g_strTilePicture));
        RefreshCanvas(true);
        return;
    }

    if (!m_pSelRect) {
        WindowSystem().MessageBox(
            this, QStringLiteral("Either select outer border option or select any rectangle to Apply Bounded Border"),
            QString(), MB_OK);
        return;
    }
    if (m_crFill != CR_FIGURE_WHITE) {
        WindowSystem().MessageBox(this, QStringLiteral("Border can't be applied on coloured rectangle"), QString(),
                                  MB_OK);
        return;
    }
    if (m_nSelKind != FK_RECTANGLE)
        return;  // a white line or ellipse takes no border
    const RECT rc = *m_pSelRect;
    g_dTileWidth = FitTileSize(rc.right - rc.left, g_dTileWidth);
    g_dTileHeight = FitTileSize(rc.bottom - rc.top, g_dTileHeight);
    // The rectangle becomes a bordered one, and its selection a picture
    // selection that can only be moved.
    m_bSelPicture = 1;
    m_dSelTileWidth = g_dTileWidth;
    m_dSelTileHeight = g_dTileHeight;
    m_strSelPicture = g_strTilePicture;
    StoreSelectedFigure();
    RefreshCanvas(true);
}
