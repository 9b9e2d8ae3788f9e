#include "text/EditBox.h"

#include "app/MainFrame.h"
#include "platform/InputMapping.h"
#include "text/BoxText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

CEditBox::CEditBox(int nId, QWidget* parent) : QPlainTextEdit(parent), m_nId(nId)
{
    // A plain one-pixel border, as WS_BORDER draws it.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(kBorder);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Lines wrap at the right edge, as a multi-line edit control without
    // horizontal scrolling wraps them; Save lays the text out the same way.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(kBoxWrapMode);
    ConfigureBoxDocument(*document());
    // Only a click gives a box the focus; Tab belongs to the text.
    setFocusPolicy(Qt::ClickFocus);
    setTabChangesFocus(false);
    setAcceptDrops(false);
    // Moves without a button arrive too, so the cursor follows the move rule.
    viewport()->setMouseTracking(true);

    // The selection stays visible, in the same colours, without the focus.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    pal.setColor(QPalette::Text, QColor(Qt::black));
    setPalette(pal);
}

CMainFrame* CEditBox::Frame() const
{
    if (!parentWidget())
        return nullptr;
    return dynamic_cast<CMainFrame*>(window());
}

void CEditBox::MoveWindow(const RECT& rc)
{
    // A negative extent gives an empty window, as a window created with a
    // negative width or height has none.
    setGeometry(rc.left - g_nScrollX, rc.top - g_nScrollY, std::max(0, rc.right - rc.left),
                std::max(0, rc.bottom - rc.top));
}

RECT CEditBox::GetCanvasRect() const
{
    const QRect g = geometry();
    return RECT{g.left() + g_nScrollX, g.top() + g_nScrollY, g.left() + g_nScrollX + g.width(),
                g.top() + g_nScrollY + g.height()};
}

RECT CEditBox::GetRect() const
{
    const int frame = frameWidth();
    const int clientW = std::max(0, width() - 2 * frame);
    const int clientH = std::max(0, height() - 2 * frame);
    const int margin = static_cast<int>(std::lround(document()->documentMargin()));
    // A box too small for its margins still answers an ordered rectangle.
    return RECT{margin, margin, std::max(margin, clientW - margin), std::max(margin, clientH - margin)};
}

void CEditBox::SetTextFont(std::shared_ptr<const CFont> font)
{
    if (!font)
        return;
    m_pFont = std::move(font);
    setFont(m_pFont->GetQFont());  // the editor lays out and repaints the text
}

COLORREF CEditBox::TextColor() const
{
    const QColor c = palette().color(QPalette::Active, QPalette::Text);
    return RGB(c.red(), c.green(), c.blue());
}

void CEditBox::RefreshTextColor()
{
    const CMainFrame* frame = Frame();
    if (!frame || m_nId == 0)
        return;
    const std::optional<COLORREF> color = frame->GetTextBoxColor(m_nId);
    if (!color || *color == TextColor())
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Text, QColor(GetRValue(*color), GetGValue(*color), GetBValue(*color)));
    setPalette(pal);
}

bool CEditBox::IsCharacterKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // Alt+letter is a menu key: an edit control never types it, whether or
    // not a menu answers.
    if (mods & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (event.key()) {
    case Qt::Key_Backspace:
        return mods == Qt::NoModifier;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter, Shift+Enter and Ctrl+Enter all start a new line.
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Tab and Shift+Tab type a tab.
        return mods == Qt::NoModifier;
    case Qt::Key_C:
    case Qt::Key_X:
    case Qt::Key_V:
    case Qt::Key_Z:
        // Copy, cut, paste and undo come to an edit control as characters.
        if (mods == Qt::ControlModifier)
            return true;
        break;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() || c.isSurrogate(); });
}

void CEditBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_bMouseDown = 1;
    QPlainTextEdit::mousePressEvent(event);
}

void CEditBox::mouseReleaseEvent(QMouseEvent* event)
{
    viewport()->setCursor(Qt::IBeamCursor);
    if (event->button() != Qt::LeftButton) {
        QPlainTextEdit::mouseReleaseEvent(event);
        return;
    }
    if (m_bMouseDown == 1) {
        m_bMouseDown = 0;
        QPlainTextEdit::mouseReleaseEvent(event);
        return;
    }
    // A release that began elsewhere ends the main window's drag (a move or
    // resize released over the box), in the box's own client coordinates.
    event->accept();
    if (CMainFrame* frame = Frame()) {
        const POINT point{static_cast<int>(std::floor(event->position().x())),
                          static_cast<int>(std::floor(event->position().y()))};
        frame->OnForwardedLButtonUp(*this, point);
    }
}

void CEditBox::mouseMoveEvent(QMouseEvent* event)
{
    // Moves never reach the editor, so a drag does not select. The arrow
    // shows while exactly the left button is down; otherwise the box's I-beam.
    const UINT flags = MouseFlagsFromQt(event->buttons(), event->modifiers());
    viewport()->setCursor(flags == MK_LBUTTON ? Qt::ArrowCursor : Qt::IBeamCursor);
    event->accept();
}

void CEditBox::keyPressEvent(QKeyEvent* event)
{
    // Swallowed keys reach neither the editor nor the main window.
    event->accept();
    if (!IsCharacterKey(*event))
        return;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter always starts a new line, whatever Shift or Ctrl say.
        QKeyEvent plain(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QPlainTextEdit::keyPressEvent(&plain);
        ScrollToTop();
        return;
    }
    if (event->key() == Qt::Key_Backtab) {
        insertPlainText(QStringLiteral("\t"));
        ScrollToTop();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
    ScrollToTop();
    event->accept();  // nothing the editor leaves goes on to the main window
}

void CEditBox::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

void CEditBox::wheelEvent(QWheelEvent* event)
{
    event->ignore();  // the text does not scroll
}

void CEditBox::ScrollToTop()
{
    // The editor scrolls to keep the caret in view, with its scroll bars'
    // signals blocked; moving them back through their signals scrolls the
    // text back to its first line.
    if (verticalScrollBar()->value() != 0)
        verticalScrollBar()->setValue(0);
    if (horizontalScrollBar()->value() != 0)
        horizontalScrollBar()->setValue(0);
}

void CEditBox::paintEvent(QPaintEvent* event)
{
    ScrollToTop();
    // The box asks the main window for its text colour each time it paints.
    RefreshTextColor();
    QPlainTextEdit::paintEvent(event);
}
