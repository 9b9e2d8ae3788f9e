// CEditBox: the window of one text box, a child of the canvas view (so it
// scrolls with the canvas) built on the toolkit's plain-text editor. It acts
// like a bordered multi-line edit control without scroll bars or automatic
// scrolling that keeps its selection visible without the focus, plus its own
// message rules: key presses and releases are swallowed while typed
// characters still edit the text, a left-button drag never selects, and a
// release without a press inside goes to the main window as a forwarded
// release (FORWARDED_UP) in the box's own client coordinates.
//
// Client coordinates are those of the editor's viewport: the inside of the
// one-pixel border, as a Windows client area is the inside of WS_BORDER.
#pragma once

#include "platform/Gdi.h"
#include "platform/WinTypes.h"

#include <QPlainTextEdit>

#include <memory>

class CMainFrame;

class CEditBox : public QPlainTextEdit {
    Q_OBJECT

public:
    // The lowest and highest control id whose text changes the main window
    // mirrors into a text figure.
    static constexpr int kFirstId = 1;
    static constexpr int kLastId = 34463;
    // The width of the border, in pixels.
    static constexpr int kBorder = 1;

    CEditBox(int nId, QWidget* parent);

    int GetDlgCtrlID() const { return m_nId; }
    QString GetWindowText() const { return toPlainText(); }

    // Places the window at `rc` in canvas pixels, as given (a rectangle with
    // left > right or top > bottom gives an empty window), shown at the
    // canvas view's scroll position.
    void MoveWindow(const RECT& rc);
    // The window's rectangle in canvas pixels.
    RECT GetCanvasRect() const;

    // The formatting rectangle (what EM_GETRECT answers for an edit control):
    // the area the text is laid out in, in client coordinates. It is the
    // client area (the window inside its border) inset on every side by the
    // document margin, which is where the editor places its first line and
    // wraps its lines. Computed from the window's size, so it is right also
    // before the window was first laid out.
    RECT GetRect() const;

    // The font the box shows text in. The box holds a reference to the font
    // for as long as it uses it: the toolkit font is a value the editor
    // copies, and the CFont (LOGFONT and toolkit font) stays alive here, so a
    // box never shows a font that its maker has released.
    void SetTextFont(std::shared_ptr<const CFont> font);
    const std::shared_ptr<const CFont>& TextFont() const { return m_pFont; }

    // Asks the main window for the box's text colour (its record's colour)
    // and draws the text in it from now on; a box without a record, or
    // without a main window, keeps its colour.
    void RefreshTextColor();
    COLORREF TextColor() const;

    // Focus rules when this box loses the focus to `pNewWnd` (TextFocus.cpp).
    void OnKillFocus(QWidget* pNewWnd);

    // 1 from a left-button press inside the box until the next left-button
    // release inside it.
    int m_bMouseDown = 0;

    // The main window the box belongs to, or null when it has none.
    CMainFrame* Frame() const;

    // Whether a key press reaches the editor as a typed character: printable
    // text, Backspace, Enter, Tab, and the control characters an edit control
    // acts on (Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z). Everything else is a key the
    // box swallows.
    static bool IsCharacterKey(const QKeyEvent& event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Shows the text from its first line again: the box never scrolls.
    void ScrollToTop();

    int m_nId;
    std::shared_ptr<const CFont> m_pFont;
};
