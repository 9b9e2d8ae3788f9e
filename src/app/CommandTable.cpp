// The command table: one entry per command id that has a handler. Ids without
// one (the alignment buttons, "SlidesDialog") are shown disabled.
#include "app/MainFrame.h"
#include "resources/ResourceIds.h"

#include <QAction>

void CMainFrame::SetHandler(UINT id, std::function<void()> handler)
{
    m_handlers[id] = std::move(handler);
}

void CMainFrame::BuildCommandTable()
{
    // File
    SetHandler(ID_FILE_NEW, [this] { OnFileNew(); });
    SetHandler(ID_FILE_OPEN, [this] { OnFileOpen(); });
    SetHandler(ID_FILE_SAVE, [this] { OnFileSave(); });
    SetHandler(ID_FILE_EXIT, [this] { OnFileExit(); });

    // Insert, Edit and the context menu (editing/)
    SetHandler(ID_INSERT_LINE, [this] { OnInsertLine(); });
    SetHandler(ID_INSERT_RECTANGLE, [this] { OnInsertRectangle(); });
    SetHandler(ID_INSERT_CIRCLE, [this] { OnInsertCircle(); });
    SetHandler(ID_INSERT_EDITBOX, [this] { OnInsertEditBox(); });
    SetHandler(ID_EDIT_CUT, [this] { OnEditCut(); });
    SetHandler(ID_EDIT_COPY, [this] { OnEditCopy(); });
    SetHandler(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    SetHandler(ID_CONTEXT_CUT, [this] { OnEditCut(); });
    SetHandler(ID_CONTEXT_COPY, [this] { OnEditCopy(); });
    SetHandler(ID_CONTEXT_PASTE, [this] { OnEditPaste(); });
    SetHandler(ID_CONTEXT_DELETE, [this] { OnDelete(); });
    SetHandler(ID_CONTEXT_RESIZE, [this] { OnResize(); });
    SetHandler(ID_ORDER_BRINGFORWARD, [this] { OnBringForward(); });
    SetHandler(ID_ORDER_SENDBACKWARD, [this] { OnSendBackward(); });

    // Borders
    SetHandler(ID_INSERT_BORDER, [this] { OnBorder(); });
    SetHandler(ID_FORMAT_BORDER, [this] { OnBorder(); });
    SetHandler(ID_FORMAT_KORVABORDER, [this] { OnGlyphBorder(); });

    // Colours and pictures
    SetHandler(ID_LAYOUT_LINECOLOR, [this] { OnLineColor(); });
    SetHandler(ID_LAYOUT_FILLCOLOR, [this] { OnFillColor(); });
    SetHandler(ID_FORMAT_BACKGROUND, [this] { OnBackground(); });
    SetHandler(ID_FORMAT_IMPORT, [this] { OnImport(); });

    // Slide show
    SetHandler(ID_FORMAT_SLIDESHOW, [this] { OnSlideShow(); });

    // Text formatting
    SetHandler(ID_FORMAT_FONT, [this] { OnFormatFont(); });
    SetHandler(ID_FORMAT_COLOR, [this] { OnFormatColor(); });
    SetHandler(ID_TEXT_BOLD, [this] { OnTextBold(); });
    SetHandler(ID_TEXT_ITALIC, [this] { OnTextItalic(); });
    SetHandler(ID_TEXT_UNDERLINE, [this] { OnTextUnderline(); });

    // An id without a handler is disabled wherever it appears.
    for (auto& [id, action] : m_actions)
        action->setEnabled(HasHandler(id));
}

void CMainFrame::OnCommand(UINT id)
{
    const auto it = m_handlers.find(id);
    if (it == m_handlers.end())
        return;
    // A command ends a drag that its menu did not already end.
    CancelDrag();
    it->second();
}

bool CMainFrame::HasHandler(UINT id) const
{
    return m_handlers.count(id) != 0;
}

QAction* CMainFrame::FindAction(UINT id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::OnFileExit()
{
    close();
}
