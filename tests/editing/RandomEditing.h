// Seeded random editing through the main window's handlers: drags of every
// tool, presses on figures and handles, arrow keys, the clipboard, Delete
// answered both ways, the order, Resize, typing, focus changes, colours,
// fonts, pictures and borders from good and bad files, New, scrolling, Save
// and slides. The same seed on a fresh window gives the same operations.
#pragma once

#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "borders/GlyphBorder.h"
#include "platform/Dialog.h"
#include "platform/Picture.h"
#include "support/ScriptedWindowSystem.h"
#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"
#include "scene/ShapeFigure.h"
#include "text/EditBox.h"
#include "text/TextState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>

#include <random>
#include <vector>

class RandomEditing {
public:
    // The picture files the operations choose from, made in `folder`: a good
    // one (twice as likely), a text file named .bmp, a missing file and the
    // folder itself.
    static std::vector<QString> MakePictures(const QDir& folder)
    {
        QImage img(30, 20, QImage::Format_RGB32);
        img.fill(ColorToPixel(RGB(0, 0, 255)));
        img.setPixel(0, 0, ColorToPixel(RGB(255, 0, 0)));
        const QString good = folder.filePath(QStringLiteral("good.png"));
        img.save(good);
        QFile text(folder.filePath(QStringLiteral("text.bmp")));
        if (text.open(QIODevice::WriteOnly))
            text.write("not a picture at all");
        return {good, good, text.fileName(), folder.filePath(QStringLiteral("missing.png")), folder.path()};
    }

    RandomEditing(CMainFrame& frame, ScriptedWindowSystem& ws, const QDir& folder, std::vector<QString> pictures,
                  unsigned seed)
        : frame(frame), ws(ws), folder(folder), pictures(std::move(pictures)), random(seed)
    {
    }

    // One random operation; its name, for failure messages.
    const char* Operate()
    {
        ws.Reset();
        switch (Uniform(0, 22)) {
        case 0: frame.OnCommand(ID_INSERT_LINE); Gesture(AnyPoint()); return "line";
        case 1: frame.OnCommand(ID_INSERT_RECTANGLE); Gesture(AnyPoint()); return "rectangle";
        case 2: frame.OnCommand(ID_INSERT_CIRCLE); Gesture(AnyPoint()); return "circle";
        case 3: frame.OnCommand(ID_INSERT_EDITBOX); Gesture(AnyPoint()); return "edit box";
        case 4:
        case 5: Gesture(NearFigure()); return "press on a figure";
        case 6: Click(AnyPoint()); return "click";
        case 7: {
            const UINT keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
            const UINT key = keys[Uniform(0, 3)];
            for (int i = Uniform(1, 4); i > 0; --i)
                frame.OnKeyDown(key, 1, i > 1 ? 0x4000u : 0u);
            frame.OnKeyUp(key, 1, 0);
            return "arrow keys";
        }
        case 8: {
            const UINT commands[] = {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_CONTEXT_CUT, ID_CONTEXT_COPY,
                                     ID_CONTEXT_PASTE};
            frame.OnCommand(commands[Uniform(0, 5)]);
            return "clipboard";
        }
        case 9:
            ws.QueueMessageBoxAnswer(Chance(50) ? IDOK : IDCANCEL);
            if (Chance(50)) {
                frame.OnCommand(ID_CONTEXT_DELETE);
            } else {
                frame.OnKeyDown(VK_DELETE, 1, 0);
                frame.OnKeyUp(VK_DELETE, 1, 0);
            }
            return "delete";
        case 10: frame.OnCommand(Chance(50) ? ID_ORDER_BRINGFORWARD : ID_ORDER_SENDBACKWARD); return "order";
        case 11: frame.OnCommand(ID_CONTEXT_RESIZE); Gesture(NearFigure()); return "resize";
        case 12:
            if (CEditBox* box = AnyBox()) {
                const QString text = QStringLiteral("ab c\r");
                for (int i = Uniform(1, 6); i > 0; --i) {
                    const QChar c = text[Uniform(0, int(text.size()) - 1)];
                    const int key = c == '\r' ? int(Qt::Key_Return) : c.toUpper().unicode();
                    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
                    QCoreApplication::sendEvent(box, &press);
                }
            }
            return "typing";
        case 13:
            if (CEditBox* box = AnyBox(); box && Chance(60))
                box->setFocus(Qt::MouseFocusReason);
            else
                frame.View()->setFocus(Qt::MouseFocusReason);
            return "focus";
        case 14:
            ws.QueueColor(Chance(80) ? std::optional<COLORREF>(RGB(Uniform(0, 255), Uniform(0, 255), Uniform(0, 255)))
                                     : std::nullopt);
            frame.OnCommand(Chance(40) ? ID_LAYOUT_LINECOLOR : Chance(50) ? ID_LAYOUT_FILLCOLOR : ID_FORMAT_COLOR);
            return "colour";
        case 15: {
            const UINT commands[] = {ID_TEXT_BOLD, ID_TEXT_ITALIC, ID_TEXT_UNDERLINE, ID_FORMAT_FONT};
            LOGFONT lf{};
            lf.lfHeight = -Uniform(8, 40);
            SetFaceName(lf, QStringLiteral("DejaVu Sans"));
            ws.QueueFont(Chance(80) ? std::optional<LOGFONT>(lf) : std::nullopt);
            frame.OnCommand(commands[Uniform(0, 3)]);
            return "text format";
        }
        case 16:
            ws.QueueOpenFiles({AnyPicture()});
            frame.OnCommand(Chance(70) ? ID_FORMAT_IMPORT : ID_FORMAT_BACKGROUND);
            return "picture";
        case 17: {
            ModalDialogScript script;
            const QString tile = AnyPicture();
            const bool outer = Chance(40);
            const QString size = QString::number(Uniform(0, 80));
            script.Then([&](CDialog& d) {
                ws.QueueOpenFiles({tile});
                d.SendCommand(IDC_BORDER_BROWSE);
                d.SetDlgItemText(IDC_BORDER_WIDTH, size);
                if (outer)
                    d.CheckDlgButton(IDC_BORDER_OUTER, BST_CHECKED);
                d.SendCommand(IDC_BORDER_OK);
            });
            frame.OnCommand(Chance(50) ? ID_INSERT_BORDER : ID_FORMAT_BORDER);
            return "border";
        }
        case 18: {
            if (!Chance(20))
                return "nothing";
            ModalDialogScript script;
            const bool bounding = Chance(50);
            script.Then([bounding](CDialog& d) {
                d.SetDlgItemText(IDC_GLYPH_TEXT, QStringLiteral("Ab"));
                if (bounding)
                    d.CheckRadioButton(IDC_GLYPH_BOUNDING, IDC_GLYPH_OUTER, IDC_GLYPH_BOUNDING);
                d.SendCommand(IDOK);
            });
            frame.OnCommand(ID_FORMAT_KORVABORDER);
            return "glyph border";
        }
        case 19: {
            const UINT codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBTRACK};
            const UINT code = codes[Uniform(0, 4)];
            if (Chance(50))
                frame.OnHScroll(code, Uniform(0, 40));
            else
                frame.OnVScroll(code, Uniform(0, 80));
            return "scroll";
        }
        case 20:
            if (Chance(10)) {
                ws.QueueSaveFile(folder.filePath(QStringLiteral("random.bmp")));
                frame.OnCommand(ID_FILE_SAVE);
                return "save";
            }
            return "nothing";
        case 21:
            if (Chance(15)) {
                // A picture of the slide show, drawn over the canvas.
                if (auto slide = CPicture::Load(AnyPicture()))
                    frame.DrawSlide(std::move(slide));
                return "slide";
            }
            return "nothing";
        default:
            if (Chance(3))
                frame.OnCommand(ID_FILE_NEW);
            return "new";
        }
    }

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }

private:
    POINT AnyPoint() { return POINT{Uniform(-20, 1040), Uniform(-20, 780)}; }
    // A point on or near a figure: a corner, a side's middle, the centre.
    POINT NearFigure()
    {
        if (g_pFigures->GetSize() == 0)
            return AnyPoint();
        const RECT rc = g_pFigures->GetAt(Uniform(0, g_pFigures->GetSize() - 1))->m_rect;
        const int xs[] = {rc.left, (rc.left + rc.right) / 2, rc.right};
        const int ys[] = {rc.top, (rc.top + rc.bottom) / 2, rc.bottom};
        return POINT{xs[Uniform(0, 2)] + Uniform(-4, 4), ys[Uniform(0, 2)] + Uniform(-4, 4)};
    }
    void Click(POINT p)
    {
        frame.OnLButtonDown(MK_LBUTTON, p);
        frame.OnLButtonUp(0, p);
    }
    void Gesture(POINT from)
    {
        frame.OnLButtonDown(MK_LBUTTON, from);
        POINT p = from;
        for (int i = Uniform(0, 5); i > 0; --i) {
            p = POINT{p.x + Uniform(-60, 60), p.y + Uniform(-60, 60)};
            frame.OnMouseMove(MK_LBUTTON, p);
        }
        if (Chance(95))
            frame.OnLButtonUp(0, p);
        else
            frame.CancelDrag();  // a menu or another window took the input
    }
    CEditBox* AnyBox()
    {
        std::vector<CEditBox*> boxes;
        for (int id = 1; id <= g_nTextBoxCount; ++id)
            if (CEditBox* box = frame.FindTextBoxWindow(id))
                boxes.push_back(box);
        return boxes.empty() ? nullptr : boxes[static_cast<std::size_t>(Uniform(0, int(boxes.size()) - 1))];
    }
    QString AnyPicture() { return pictures[static_cast<std::size_t>(Uniform(0, int(pictures.size()) - 1))]; }

    CMainFrame& frame;
    ScriptedWindowSystem& ws;
    QDir folder;
    std::vector<QString> pictures;
    std::mt19937 random;
};
