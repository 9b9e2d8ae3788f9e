#include "borders/GlyphBorder.h"

#include "app/FontEnum.h"
#include "app/MainFrame.h"
#include "files/BitmapFile.h"
#include "platform/DialogControls.h"
#include "platform/Screen.h"
#include "platform/WindowSystem.h"
#include "resources/DialogTemplates.h"
#include "scene/ShapeFigure.h"

#include <QDialog>
#include <QDir>
#include <QStandardPaths>

CString g_strGlyphText;
LOGFONT g_logfontGlyph{};
int g_bGlyphBounding = 0;
int g_bGlyphOuter = 0;
int g_nGlyphFileCount = 0;

namespace {

QString g_glyphTileFolder;

const QString kBorderFace = QStringLiteral("KORVA-TTBorder-1 Normal");
constexpr int kGlyphChars = 4;
// The outer border lies 30 pixels below the canvas top and ends 40 above its bottom.
constexpr int kOuterTop = 30;
constexpr int kOuterBottomGap = 40;

}  // namespace

QString GlyphTileFolder()
{
    if (!g_glyphTileFolder.isEmpty())
        return g_glyphTileFolder;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/tiles");
}

void SetGlyphTileFolder(const QString& folder)
{
    g_glyphTileFolder = folder;
}

double FitGlyphTile(int area, int extent)
{
    if (area <= 0 || extent <= 0)
        return 0.0;
    int n = area / extent;
    const int rest = area - n * extent;
    if (rest > extent / 2)
        ++n;
    // A side shorter than half a tile still gets one tile, the length of the side.
    if (n < 1)
        n = 1;
    return static_cast<double>(area) / n;
}

CSampleDialog::CSampleDialog(QWidget* parent) : CDialog(SampleDialogTemplate(), parent)
{
    MapCommand(IDC_GLYPH_CANCEL, [this] { OnCancel(); });
    MapSelChange(IDC_GLYPH_FACE, [this] { OnFaceChange(); });
    MapSelChange(IDC_GLYPH_STYLE, [this] { OnStyleChange(); });
    MapSelChange(IDC_GLYPH_SIZE, [this] { OnSizeChange(); });
}

BOOL CSampleDialog::OnInitDialog()
{
    if (auto* text = GetDlgItemAs<CMultiLineEdit>(IDC_GLYPH_TEXT))
        text->LimitText(kGlyphChars);
    CheckDlgButton(IDC_GLYPH_OUTER, BST_CHECKED);
    g_logfontGlyph = LOGFONT{};

    // The installed TrueType faces; the border face is chosen by name, also
    // when no installed font has it.
    if (auto* faces = GetDlgItemAs<CComboBox>(IDC_GLYPH_FACE)) {
        for (const QString& name : EnumTrueTypeFullNames())
            faces->AddString(name);
        faces->SelectString(-1, kBorderFace);
    }
    SetFaceName(g_logfontGlyph, kBorderFace);

    if (auto* styles = GetDlgItemAs<CComboBox>(IDC_GLYPH_STYLE)) {
        for (const char* style : {"Regular", "Bold", "Italic", "BoldItalic"})
            styles->AddString(QString::fromLatin1(style));
        styles->SetCurSel(0);
    }
    g_logfontGlyph.lfWeight = FW_NORMAL;

    if (auto* sizes = GetDlgItemAs<CComboBox>(IDC_GLYPH_SIZE)) {
        for (int size = 8; size <= 72; size += 2)
            sizes->AddString(QString::number(size));
        sizes->SelectString(-1, QStringLiteral("10"));
    }
    g_logfontGlyph.lfHeight = -MulDiv(10, GetScreenDpiY(), 72);
    ShowSample();
    return TRUE;
}

void CSampleDialog::ShowSample()
{
    m_pSampleFont = std::make_unique<CFont>(g_logfontGlyph);
    if (QWidget* text = GetDlgItem(IDC_GLYPH_TEXT))
        text->setFont(m_pSampleFont->GetQFont());
}

void CSampleDialog::OnFaceChange()
{
    const auto* faces = GetDlgItemAs<CComboBox>(IDC_GLYPH_FACE);
    if (!faces || faces->GetCurSel() < 0)
        return;
    SetFaceName(g_logfontGlyph, faces->GetLBText(faces->GetCurSel()));
    ShowSample();
}

void CSampleDialog::OnStyleChange()
{
    const auto* styles = GetDlgItemAs<CComboBox>(IDC_GLYPH_STYLE);
    if (!styles || styles->GetCurSel() < 0)
        return;
    const QString style = styles->GetLBText(styles->GetCurSel());
    if (style == QLatin1String("Bold")) {
        g_logfontGlyph.lfWeight = FW_BOLD;
        g_logfontGlyph.lfItalic = 0;
    } else if (style == QLatin1String("BoldItalic")) {
        g_logfontGlyph.lfWeight = FW_BOLD;
        g_logfontGlyph.lfItalic = 1;
    } else if (style == QLatin1String("Italic")) {
        g_logfontGlyph.lfWeight = FW_NORMAL;
        g_logfontGlyph.lfItalic = 1;
    } else if (style == QLatin1String("Regular")) {
        g_logfontGlyph.lfWeight = FW_NORMAL;
        g_logfontGlyph.lfItalic = 0;
    }
    ShowSample();
}

void CSampleDialog::OnSizeChange()
{
    const auto* sizes = GetDlgItemAs<CComboBox>(IDC_GLYPH_SIZE);
    if (!sizes || sizes->GetCurSel() < 0)
        return;
    // The entry is taken as a cell height in pixels, as chosen.
    g_logfontGlyph.lfHeight = sizes->GetLBText(sizes->GetCurSel()).toInt();
    ShowSample();
}

void CSampleDialog::OnOK()
{
    const QString text = GetDlgItemText(IDC_GLYPH_TEXT);
    if (text.trimmed().isEmpty()) {
        // Nothing to render: a tile of no width cannot be laid.
        WindowSystem().MessageBox(Window(), QStringLiteral("Type up to 4 characters for the border tiles."),
                                  QString(), MB_OK);
        return;
    }
    g_bGlyphBounding = IsDlgButtonChecked(IDC_GLYPH_BOUNDING) == BST_CHECKED ? 1 : 0;
    g_bGlyphOuter = IsDlgButtonChecked(IDC_GLYPH_OUTER) == BST_CHECKED ? 1 : 0;
    g_strGlyphText = text;
    m_pSampleFont.reset();
    EndDialog(IDOK);
}

void CSampleDialog::OnCancel()
{
    EndDialog(IDC_GLYPH_CANCEL);
}

void CMainFrame::OnGlyphBorder()
{
    CSampleDialog dialog(this);
    if (dialog.DoModal() != IDOK)
        return;

    const bool outer = g_bGlyphOuter == 1;
    if (!outer) {
        if (!m_pSelRect) {
            WindowSystem().MessageBox(
                this,
                QStringLiteral("Either select outer border option or select any rectangle to Apply Bounded Border"),
                QString(), MB_OK);
            return;
        }
        if (m_nSelKind == FK_TEXT) {
            if (m_crFill != CR_FIGURE_WHITE)
                WindowSystem().MessageBox(this, QStringLiteral("Border can't be applied on coloured rectangle"),
                                          QString(), MB_OK);
            return;
        }
    }

    // The characters, black on white, at their own extent.
    const CFont font(g_logfontGlyph);
    SIZE extent{};
    {
        CMemoryDC measure(1, 1);
        const CFontSelection selected(measure.DC(), font);
        extent = measure.DC().GetTextExtent(g_strGlyphText);
    }
    if (extent.cx <= 0 || extent.cy <= 0)
        return;
    CMemoryDC glyph(extent.cx, extent.cy);
    glyph.DC().FillRect(RECT{0, 0, extent.cx, extent.cy}, CBrush::White());
    {
        const CFontSelection selected(glyph.DC(), font);
        glyph.DC().SetTextColor(RGB(0, 0, 0));
        glyph.DC().SetBkMode(OPAQUE);
        glyph.DC().SetBkColor(RGB(255, 255, 255));
        RECT rc{0, 0, extent.cx, extent.cy};
        glyph.DC().DrawText(g_strGlyphText, rc, 0);
    }

    // A new numbered tile file for every use: earlier borders keep theirs.
    ++g_nGlyphFileCount;
    const QString folder = GlyphTileFolder();
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QString::number(g_nGlyphFileCount) + QStringLiteral(".bmp"));
    const QByteArray bytes = EncodeBitmapFile(glyph.Image());
    if (bytes.isEmpty()) {
        WindowSystem().MessageBox(this, QStringLiteral("Error in Retrieving"), QString(), MB_OK);
        return;
    }
    QString reason;
    if (!WriteBitmapFile(path, bytes, &reason)) {
        // Without its tile file the border would show nothing.
        WindowSystem().MessageBox(this,
                                  QStringLiteral("The border tile could not be written as\n%1\n\n%2")
                                      .arg(QDir::toNativeSeparators(path), reason),
                                  QString(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }

    if (outer) {
        const double w = FitGlyphTile(m_cxCanvas, extent.cx);
        const double h = FitGlyphTile(m_cyCanvas - kOuterTop - kOuterBottomGap, extent.cy);
        PutOuterBorder(
            CShapeFigure::Border(RECT{0, kOuterTop, m_cxCanvas, m_cyCanvas - kOuterBottomGap}, m_crLine, w, h, path));
    } else {
        const RECT rc = *m_pSelRect;
        m_dSelTileWidth = FitGlyphTile(rc.right - rc.left, extent.cx);
        m_dSelTileHeight = FitGlyphTile(rc.bottom - rc.top, extent.cy);
        m_bSelPicture = 1;
        m_strSelPicture = path;
        StoreSelectedFigure();
    }
    RefreshCanvas(true);
}
