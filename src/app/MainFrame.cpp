#include "app/MainFrame.h"

#include "app/CanvasView.h"
#include "platform/FocusKeeper.h"
#include "platform/Screen.h"
#include "resources/Menus.h"
#include "scene/CanvasRecord.h"
#include "scene/ShapeFigure.h"
#include "slideshow/SlideShow.h"
#include "text/TextBoxInfo.h"
#include "platform/WindowSystem.h"
#include "text/TextState.h"

#include <QGridLayout>
#include <QMenuBar>
#include <QShortcut>
#include <QScrollBar>

int g_nScrollX = 0;
int g_nScrollY = 0;
CDC* g_hCanvasDC = nullptr;

namespace {
// The lists live as long as the main window that made them.
std::unique_ptr<CFigureList> s_figures;
std::unique_ptr<CTextBoxList> s_textBoxes;
}  // namespace

CMainFrame::CMainFrame()
{
    // Members start in their declared state: no mode, no shape, no selection.
    ResetTextState();
    g_nScrollX = 0;
    g_nScrollY = 0;

    // The frame window: title, both scroll bars, the menu, then its creation
    // step (toolbar and font box).
    setWindowTitle(kAppTitle);
    setWindowIcon(ApplicationIcon());
    // The keyboard comes back after dialogs, also without a window manager.
    InstallFocusKeeper(kAppTitle);
    BuildClientArea();
    BuildMenus();
    OnCreate();
    BuildCommandTable();
    // F10 selects the menu bar, from the canvas and from a text box alike.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menuKey->setContext(Qt::WindowShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().first());
    });

    // The canvas is as large as the screen, whatever the window's size.
    const SIZE screen = GetScreenSize();
    m_cxCanvas = screen.cx;
    m_cyCanvas = screen.cy;

    // The canvas bitmap and its device context, painted white with a pattern
    // copy of the stock white brush, which stays selected: every later
    // pattern copy on the canvas paints white too.
    m_bmpCanvas = QImage(m_cxCanvas, m_cyCanvas, QImage::Format_RGB32);
    m_pCanvasDC = std::make_unique<CDC>(m_bmpCanvas);
    m_pCanvasDC->SelectBrush(CBrush::White());
    m_pCanvasRecord = std::make_unique<CCanvasRecord>();
    ClearCanvas();
    // From now on the DC notes every pixel drawn outside a refresh.
    m_pCanvasDC->RecordDamage(&m_canvasDamage);

    // No selection.
    m_pSelRect.reset();
    m_pOldSelRect.reset();
    m_nSelKind = FK_NONE;
    m_nOldSelKind = FK_NONE;

    // The text font: 12 point "Times New Roman", weight 0.
    g_logfont = LOGFONT{};
    g_logfont.lfHeight = -MulDiv(12, GetScreenDpiY(), 72);
    g_logfont.lfItalic = 0;
    g_logfont.lfUnderline = 0;
    SetFaceName(g_logfont, QStringLiteral("Times New Roman"));

    // Nothing held; the canvas DC for code without the window.
    m_nClipState = 0;
    g_hCanvasDC = m_pCanvasDC.get();

    // The two empty lists.
    s_figures = std::make_unique<CFigureList>();
    s_textBoxes = std::make_unique<CTextBoxList>();
    g_pFigures = s_figures.get();
    g_pTextBoxes = s_textBoxes.get();
}

CMainFrame::~CMainFrame()
{
    // No slide-show worker outlives the window it hands its pictures to.
    EndSlideShows();
    // Text box windows are children of the view and go with it; the lists and
    // the canvas outlive none of them.
    delete m_pView;
    m_pView = nullptr;
    if (g_hCanvasDC == m_pCanvasDC.get())
        g_hCanvasDC = nullptr;
    g_pActiveEdit = nullptr;
    g_pFigures = nullptr;
    g_pTextBoxes = nullptr;
    s_figures.reset();
    s_textBoxes.reset();
}

void CMainFrame::BuildClientArea()
{
    // The client area is the canvas view with the frame's two scroll bars.
    auto* client = new QWidget(this);
    auto* grid = new QGridLayout(client);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    m_pView = new CCanvasView(*this, client);
    m_pHBar = new QScrollBar(Qt::Horizontal, client);
    m_pVBar = new QScrollBar(Qt::Vertical, client);
    for (QScrollBar* bar : {m_pHBar, m_pVBar}) {
        bar->setRange(0, 0);
        bar->setSingleStep(8);
        bar->setFocusPolicy(Qt::NoFocus);
    }
    grid->addWidget(m_pView, 0, 0);
    grid->addWidget(m_pVBar, 0, 1);
    grid->addWidget(m_pHBar, 1, 0);
    setCentralWidget(client);
    connect(m_pHBar, &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(m_pHBar, true, action); });
    connect(m_pVBar, &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollAction(m_pVBar, false, action); });
    connect(m_pHBar, &QScrollBar::sliderReleased, this, [this] { OnHScroll(SB_THUMBPOSITION, m_pHBar->value()); });
    connect(m_pVBar, &QScrollBar::sliderReleased, this, [this] { OnVScroll(SB_THUMBPOSITION, m_pVBar->value()); });
    m_pView->setFocus();
}

void CMainFrame::Invalidate()
{
    if (m_pView)
        m_pView->update();
}
