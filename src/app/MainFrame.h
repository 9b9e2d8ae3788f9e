// CMainFrame: the one main window. It owns the canvas, the menus, the toolbar
// and all editing state, and every command, mouse and key message ends in one
// of its handlers. This header is the map of the program: members and
// handlers are grouped by room, and each group is defined in its room's
// folder (the file named in the group's comment).
#pragma once

#include "platform/DamageRegion.h"
#include "platform/Gdi.h"
#include "platform/WinTypes.h"
#include "scene/ShapeFigure.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QMenu;
class QScrollBar;
class QToolBar;
class CCanvasRecord;
class CCanvasView;
class CEditBox;
class CPicture;
class CTextBoxInfo;

// Tool modes (m_nMode). The numbers are the design's: no other value is ever
// stored.
enum ToolMode : int {
    MODE_NONE = -1,
    MODE_DRAW = 1,
    MODE_PLACE_TEXT = 4,
    MODE_TEXT_SIZING = 9,
    MODE_MOVE = 11,
    MODE_SIZE_NW = 12,
    MODE_SIZE_N = 13,
    MODE_SIZE_NE = 14,
    MODE_SIZE_E = 15,
    MODE_SIZE_SE = 16,
    MODE_SIZE_S = 17,
    MODE_SIZE_SW = 18,
    MODE_SIZE_W = 19,
    MODE_LINE_START = 20,
    MODE_LINE_END = 21,
    MODE_LINE_MOVE = 22,
};

// The modes of a move or resize drag (11 to 22).
constexpr bool IsDragMode(ToolMode mode)
{
    return mode >= MODE_MOVE && mode <= MODE_LINE_MOVE;
}

// Flags of a left-button release that a text box forwards to the main window;
// its point is in the box's own client coordinates.
constexpr UINT FORWARDED_UP = 100;

// The scroll position: canvas pixel shown at the client area's top-left corner.
extern int g_nScrollX;
extern int g_nScrollY;
// The canvas's device context, for code without access to the main window.
extern CDC* g_hCanvasDC;

class CMainFrame : public QMainWindow {
public:
    // Builds the whole main window: frame, menus, toolbar and font box, the
    // white screen-sized canvas, the text font and the two empty lists.
    CMainFrame();
    ~CMainFrame() override;

    // ---- Commands (app/CommandTable.cpp) -------------------------------------
    // Runs the handler of a menu, toolbar or context-menu command id; an id
    // without a handler does nothing (its items are shown disabled).
    void OnCommand(UINT id);
    bool HasHandler(UINT id) const;
    QAction* FindAction(UINT id) const;  // the menu or toolbar action of an id
    void OnFileExit();                   // File > Exit: close as the close box does

    // ---- Window creation: menus, toolbar, font box (app/MainFrameCreate.cpp) -
    int OnCreate();
    QComboBox* m_pFontCombo = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QStringList m_fontNames;  // full names of the installed TrueType fonts

    // ---- Canvas, painting, scrolling and sizing (app/CanvasView.cpp, app/Scrolling.cpp)
    CCanvasView* View() const { return m_pView; }
    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, int nPos);
    void OnVScroll(UINT nSBCode, int nPos);
    void Invalidate();  // repaint the whole client area from the canvas
    int m_cxCanvas = 0;
    int m_cyCanvas = 0;
    QImage m_bmpCanvas;                 // the canvas, 32-bit, screen sized
    std::unique_ptr<CDC> m_pCanvasDC;   // draws into m_bmpCanvas
    int m_nHMax = 0, m_nHPage = 0;
    int m_nVMax = 0, m_nVPage = 0;
    float m_fPictureWidth = 0;   // size of the last picture the full redraw loaded
    float m_fPictureHeight = 0;

    // ---- Scene rendering and handles (scene/Renderer.cpp, scene/Handles.cpp) -
    // Draws the background and every figure over the canvas as it is.
    void RedrawFigures();
    // The refresh sequence: the canvas made what clearing it white and
    // RedrawFigures would make it, then the handles of the kept selection
    // when `withHandles`, then invalidate. Only the rectangles where the
    // canvas can differ from the design are cleared and redrawn; the whole
    // canvas when the record of what it holds cannot tell.
    void RefreshCanvas(bool withHandles);
    // What the canvas was last drawn from (scene/CanvasRecord.h), and every
    // pixel drawn over it since, as the canvas DC records it.
    std::unique_ptr<CCanvasRecord> m_pCanvasRecord;
    CDamageRegion m_canvasDamage;
    // How a refresh redraws: only the damaged rectangles (or the whole canvas
    // when they are most of it); the whole canvas, skipping the figures later
    // figures hide; or the whole canvas with every figure in order, the
    // reference the other two are compared with.
    enum class RefreshMode { Damaged, Whole, Reference };
    RefreshMode m_refreshMode = RefreshMode::Damaged;
    // How many refreshes redrew the whole canvas and how many only a part.
    struct RefreshCounts {
        int whole = 0;
        int partial = 0;
    };
    RefreshCounts m_refreshCounts;
    void DrawHandles(const RECT* pOld, const RECT* pNew);
    // The handles as the canvas holds them: HideHandles erases exactly the
    // handles that are shown (whatever the selection has become since), and
    // ShowHandles puts up the current selection's handles in their place.
    // Everything that draws over the canvas in copy mode hides them first, so
    // a later erase never paints squares into a figure.
    void HideHandles();
    void ShowHandles();
    // Puts handles back as HideHandles found them (drawing that covers
    // them hides them first and then calls this).
    struct ShownHandles;
    void ShowHandlesAt(const ShownHandles& handles);
    // The canvas cleared white with a pattern copy of its white brush; no
    // handles are left on it.
    void ClearCanvas();
    // The rectangle whose handles a selection of `kind` shows: a text figure's
    // handles sit 3 pixels inside its rectangle, every other kind's on it.
    static std::optional<RECT> HandleRect(const RECT* pRect, int kind);

    // ---- Editing state (scene model) -----------------------------------------
    POINT m_ptAnchor{};
    POINT m_ptCurrent{};
    CreationCode m_nShape = CC_NONE;
    ToolMode m_nMode = MODE_NONE;
    int m_nSelected = -1;                 // -1 when nothing is selected; typing points it at the text figure
    std::shared_ptr<RECT> m_pSelRect;     // shared: after Paste it is the paste rectangle too
    std::shared_ptr<RECT> m_pOldSelRect;
    FigureKind m_nSelKind = FK_NONE;
    FigureKind m_nOldSelKind = FK_NONE;
    COLORREF m_crLine = CR_FIGURE_GREY;
    COLORREF m_crFill = CR_FIGURE_WHITE;
    int m_bSelPicture = 0;
    double m_dSelTileWidth = 0;
    double m_dSelTileHeight = 0;
    CString m_strSelPicture;
    RECT m_rcGrab{};  // left, top: press point relative to the selection; right, bottom: its width, height
    // A press started a drag (a creation band, a move or a resize) that no
    // release has ended yet, and the selection rectangle it started from.
    bool m_bDragging = false;
    RECT m_rcDragStart{};
    // The handles on the canvas: rectangle and kind, none after a refresh.
    struct ShownHandles {
        RECT rect;
        FigureKind kind;
    };
    std::optional<ShownHandles> m_handlesShown;

    // ---- The selection as a whole (editing/Selection.cpp) --------------------
    // The index of the topmost figure a press at (x, y) hits, or -1. Only
    // reads the list.
    int FindFigureAt(int x, int y) const;
    // Takes the selection state from the figure at `index` (kind, index,
    // colours, picture and tiles) and returns its selection rectangle.
    RECT SelectFigure(int index);
    // The selected figure re-made from the selection state at `rect`: a
    // picture or bordered figure keeps its picture and tiles on white, a
    // plain one its kind and colours. Null for kinds the selection cannot
    // re-make on its own (text, border, none).
    std::unique_ptr<CShapeFigure> MakeSelectedFigure(const RECT& rect) const;
    // Stores MakeSelectedFigure(selection rectangle) at m_nSelected; false
    // when nothing was stored.
    bool StoreSelectedFigure();
    // Ends the selection: handles erased, no rectangle, kind and index none.
    void ClearSelection();
    // Ends a drag that no release will end (a menu, a dialog or another
    // window took the input): its band or outline is erased, the selection
    // goes back to where the drag found it, and the next press starts afresh.
    void CancelDrag();

    // ---- Mouse and keyboard editing (editing/) ---------------------------------
    // Points are canvas points: the view adds the scroll position to what the
    // mouse delivers, except for a release forwarded by a text box.
    void OnLButtonDown(UINT nFlags, POINT point);   // editing/MouseHandlers.cpp
    void OnMouseMove(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    // A release that text box `box` forwards (FORWARDED_UP), `point` in the
    // box's own client coordinates; the box it came over is kept so the
    // point can be placed on the canvas through it.
    void OnForwardedLButtonUp(CEditBox& box, POINT point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);  // editing/Keys.cpp
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnContextMenu(QPoint screenPoint);          // editing/ContextMenu.cpp
    // Context menu 104's first pop-up, its items carrying their command ids.
    std::unique_ptr<QMenu> BuildContextMenu();

    // Insert commands and the creation drags (editing/CreateDrag.cpp).
    void OnInsertLine();
    void OnInsertRectangle();
    void OnInsertCircle();
    void OnInsertEditBox();
    void CreatePress(POINT point);
    void CreateMove(UINT nFlags, POINT point);
    void CreateRelease(UINT nFlags, POINT point);
    void EraseBand();  // the band of the creation drag, where it was last drawn

    // Selection by pressing (editing/Selection.cpp).
    void SelectPress(POINT point);  // a press in MODE_NONE
    std::shared_ptr<RECT> HitTestFigures(int x, int y);
    static bool HitTestLine(int x1, int y1, int x2, int y2, int px, int py);
    void PickHandle(int x, int y);
    bool PickTextHandle(int x, int y);  // false when the press lies in no zone
    void SetModeCursor(ToolMode mode);  // the cursor of a drag mode, or the window's own

    // Move and resize (editing/MoveResize.cpp).
    void DragMove(UINT nFlags, POINT point);
    void DragRelease(UINT nFlags, POINT point);
    void OutlineStep(POINT point);
    void RebuildSelectedFigure(UINT nFlags, POINT point);
    void RebuildTextFigure(UINT nFlags, POINT point);  // the text box part of the release
    void ApplyForwardedRelease(int x, int y);
    QPointer<CEditBox> m_pForwardingBox;  // the box the release being handled came over
    void OnResize();
    // Repaints the part of the window that shows canvas rectangle `rc` (any
    // corner order), grown by `margin` pixels.
    void InvalidateCanvasRect(const RECT& rc, int margin);

    // Cut, Copy, Paste, Delete and the stacking order (editing/Clipboard.cpp, editing/Order.cpp).
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnDelete();
    void DeleteActiveTextBox();  // the box, its text figure and its record
    void OnBringForward();
    void OnSendBackward();

    // ---- Colours, background and pictures (pictures/ColorCommands.cpp, pictures/PictureCommands.cpp)
    // Layout > Line Color and Fill color: the selected figure recoloured
    // straight on the canvas, then re-made with the new colour.
    void OnLineColor();
    void OnFillColor();
    // Format > BackGround: the picture drawn at (10, 10) under every figure;
    // Format > Import..: a picture stretched over the selected rectangle.
    void OnBackground();
    void OnImport();
    int m_bBackground = 0;
    CString m_strBackground;

    // ---- Borders (borders/TileBorder.cpp) -------------------------------------
    // Insert > Border and Format > Border: the Border dialog, then an outer
    // border round the whole window or tiles round the selected white rectangle.
    void OnBorder();
    // The index of the first border figure, or -1.
    int FindOuterBorder() const;
    // Appends `border`, or puts it in place of the first border figure.
    void PutOuterBorder(std::unique_ptr<CShapeFigure> border);
    // Format > Korva Border: characters of a border font rendered into a new
    // numbered tile file, laid round the whole window or the selected figure
    // (borders/GlyphBorder.cpp).
    void OnGlyphBorder();

    // ---- Files (files/FileCommands.cpp) ----------------------------------------
    // New empties the drawing; Open shows a picture as the new background;
    // Save writes the canvas, with the texts of the boxes, as a .bmp file.
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    // What Open does with the chosen file (also a picture named on the command line).
    void OpenPicture(const QString& path);
    // New and Open end a text figure's Resize selection; an armed tool stays.
    void EndTextFigureMode();
    // The name Save gives the chosen file: ".bmp" is added unless the name
    // ends in exactly ".bmp" ("a.BMP" becomes "a.BMP.bmp").
    static QString SaveFileName(const QString& chosen);
    CString m_strFilePath;  // the file last opened or saved

    // ---- Slide show (slideshow/) -------------------------------------------------
    // Format > SlideShow: the slides dialog (slideshow/SlidesDialog.cpp).
    void OnSlideShow();
    // A slide over the canvas at (0, 25), stretched to the client area's size,
    // under the handles; during a drag it waits for the drag's end
    // (slideshow/SlideShow.cpp).
    void DrawSlide(std::shared_ptr<const CPicture> picture);
    void DrawHeldSlide();  // the slide a drag held back, once the drag is over
    std::shared_ptr<const CPicture> m_pHeldSlide;

    // ---- Held figure of Cut/Copy/Paste (editing/Clipboard.cpp) ---------------
    int m_nClipState = 0;  // 0 nothing, 1 cut, 2 copied
    std::shared_ptr<RECT> m_pClipRect;
    COLORREF m_crClipLine = 0;
    COLORREF m_crClipFill = 0;
    FigureKind m_nClipKind = FK_NONE;

    // ---- Text boxes (text/) ----------------------------------------------------
    // The frame's reference to the font last made from g_logfont. Each box
    // holds its own reference to the font it shows, so replacing this one
    // never leaves a box with a released font.
    std::shared_ptr<const CFont> m_pTextFont;
    // The end of the placing drag: the box window at `rc` (canvas pixels, as
    // dragged), its record and its text figure (text/TextBoxes.cpp).
    void PlaceTextBox(const RECT& rc);
    CEditBox* CreateTextBox(const RECT& rc);
    // Makes `box` the active text box. A text figure selected through
    // another box stops being the selection, so commands never act on one
    // box while another is active.
    void SetActiveTextBox(CEditBox* box);
    // Typing into, or focusing, `box` makes its text figure the target: any
    // selection that is not that figure ends first, its handles erased.
    void EndSelectionOtherThan(const CEditBox& box);
    // Puts a copy of `record` in place of every record with that id.
    void ReplaceTextBoxInfo(int id, const CTextBoxInfo& record);
    // Loads the record of `id` into the entry and the current text format and
    // returns a new font made from it; null (nothing changed) without a record.
    std::shared_ptr<const CFont> LoadTextBoxFormat(int id);
    // The text colour of the record of `id`; nothing without a record.
    std::optional<COLORREF> GetTextBoxColor(int id) const;
    int FindTextBoxInfo(int id) const;  // index of the record, or the record count
    int FindTextFigure(int id) const;   // index of the text figure, or the figure count
    CEditBox* FindTextBoxWindow(int id) const;  // the box window with that control id
    void OnEditChange(UINT nID);  // a box's text changed: its figure is re-made
    // Focus rules when the main window loses the focus to `pNewWnd` (text/TextFocus.cpp).
    void OnKillFocus(QWidget* pNewWnd);
    // Routes the toolkit's focus changes to the box or main-window handler.
    void OnTextFocusChanged(QWidget* pOld, QWidget* pNew);
    // The focus rules for a box that gains the focus while nothing of this
    // window lost it: the current format is written back to the box
    // recorded as active, and `box` becomes the active box.
    void OnTextBoxEntered(CEditBox& box);
    QMetaObject::Connection m_textFocusConnection;
    // Format > Font, Format > Color and the B, I, U toggles (text/TextFormat.cpp).
    void OnFormatFont();
    void OnFormatColor();
    void OnTextBold();
    void OnTextItalic();
    void OnTextUnderline();

    // ---- Widgets and the command table (app/) --------------------------------
    // Registers the handler of a command id; called while the table is built.
    void SetHandler(UINT id, std::function<void()> handler);

    QScrollBar* HorzScrollBar() const { return m_pHBar; }
    QScrollBar* VertScrollBar() const { return m_pVBar; }

protected:
    // No toolbar or dock menu: the toolbar stays under the menu bar.
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void BuildClientArea();
    void BuildMenus();
    void BuildCommandTable();
    // Sets a scroll bar's range 0..nMax, page and position, as one call.
    static void SetScrollInfo(QScrollBar* bar, int nMax, int nPage, int nPos);
    // Moves `position` by the step of a scroll code within 0..canvas - page and
    // sets the bar to it; returns the step taken (0: nothing moved).
    static int ScrollBy(QScrollBar* bar, UINT nSBCode, int nPos, int& position, int page, int canvas);
    void OnScrollAction(QScrollBar* bar, bool horizontal, int action);
    CCanvasView* m_pView = nullptr;
    QScrollBar* m_pHBar = nullptr;
    QScrollBar* m_pVBar = nullptr;
    std::map<UINT, std::function<void()>> m_handlers;
    std::map<UINT, QAction*> m_actions;
};
