// A soak of random editing: thousands of seeded operations through the main
// window's handlers (drags of every tool, presses on figures and handles,
// arrow keys, the clipboard, Delete answered both ways, the order, Resize,
// typing, focus changes, colours, fonts, pictures and borders from good and
// bad files, New, scrolling, Save), with the model's invariants checked
// after every step and the canvas checked against a fresh redraw.
//   VELTRA_SOAK_SEED   the seed (default 20261206)
//   VELTRA_SOAK_STEPS  the number of operations (default 10000)
#include "editing/EditingFixture.h"

#include "borders/GlyphBorder.h"
#include "borders/TileBorder.h"
#include "platform/Picture.h"
#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

#include <QApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

int EnvInt(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

class SoakTest : public EditingTest {
protected:
    SoakTest() : random(static_cast<unsigned>(EnvInt("VELTRA_SOAK_SEED", 20261206)))
    {
        SetGlyphTileFolder(dir.filePath(QStringLiteral("tiles")));
        frame.resize(900, 650);
        frame.show();
        QApplication::setActiveWindow(&frame);
        good = Picture(QStringLiteral("good.png"), 30, 20);
        QFile text(dir.filePath(QStringLiteral("text.bmp")));
        if (text.open(QIODevice::WriteOnly))
            text.write("not a picture at all");
        pictures = {good, good, text.fileName(), dir.filePath(QStringLiteral("missing.png")), dir.path()};
    }
    ~SoakTest() override { SetGlyphTileFolder(QString()); }

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }
    POINT AnyPoint() { return POINT{Uniform(-20, 1040), Uniform(-20, 780)}; }
    // A point on or near a figure: a corner, a side's middle, the centre.
    POINT NearFigure()
    {
        if (g_pFigures->GetSize() == 0)
            return AnyPoint();
        const RECT rc = Fig(Uniform(0, g_pFigures->GetSize() - 1)).m_rect;
        const int xs[] = {rc.left, (rc.left + rc.right) / 2, rc.right};
        const int ys[] = {rc.top, (rc.top + rc.bottom) / 2, rc.bottom};
        return POINT{xs[Uniform(0, 2)] + Uniform(-4, 4), ys[Uniform(0, 2)] + Uniform(-4, 4)};
    }
    void Gesture(POINT from)
    {
        Press(from);
        POINT p = from;
        for (int i = Uniform(0, 5); i > 0; --i) {
            p = POINT{p.x + Uniform(-60, 60), p.y + Uniform(-60, 60)};
            Move(p);
        }
        if (Chance(95))
            Release(p);
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

    // One random operation; its name, for the failure messages.
    const char* Operate()
    {
        ws.Reset();
        switch (Uniform(0, 21)) {
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
                Key(key, Input::Handlers, i > 1);
            Key(key, Input::Handlers, false, QEvent::KeyRelease);
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
            if (Chance(50))
                frame.OnCommand(ID_CONTEXT_DELETE);
            else
                Tap(VK_DELETE);
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
                ws.QueueSaveFile(dir.filePath(QStringLiteral("soak.bmp")));
                frame.OnCommand(ID_FILE_SAVE);
                return "save";
            }
            return "nothing";
        default:
            if (Chance(3))
                frame.OnCommand(ID_FILE_NEW);
            return "new";
        }
    }

    // The model's invariants: the selection's index is in the list or none;
    // every text figure names a box record; every box window has exactly one
    // text figure.
    void ExpectConsistent(int step, const char* what)
    {
        const int n = g_pFigures->GetSize();
        ASSERT_TRUE(frame.m_nSelected == -1 || (frame.m_nSelected >= 0 && frame.m_nSelected < n))
            << "step " << step << " (" << what << "): selected " << frame.m_nSelected << " of " << n;
        for (int i = 0; i < n; ++i) {
            if (Fig(i).m_nKind != FK_TEXT)
                continue;
            ASSERT_LT(frame.FindTextBoxInfo(Fig(i).m_nTextId), g_pTextBoxes->GetSize())
                << "step " << step << " (" << what << "): text figure " << i << " has no record";
        }
        for (int id = 1; id <= g_nTextBoxCount; ++id) {
            if (!frame.FindTextBoxWindow(id))
                continue;
            int figures = 0;
            for (int i = 0; i < n; ++i)
                figures += Fig(i).m_nKind == FK_TEXT && Fig(i).m_nTextId == id;
            ASSERT_EQ(figures, 1) << "step " << step << " (" << what << "): text figures of box " << id;
        }
    }

    // After a refresh the canvas is the figures with the selection's handles
    // on top, and erasing the handles leaves exactly the figures.
    void ExpectCleanRefresh(int step, const char* what)
    {
        frame.RefreshCanvas(true);
        frame.HideHandles();
        ASSERT_EQ(Canvas(), PlainRender()) << "step " << step << " (" << what << "): handles left behind";
        frame.ShowHandles();
    }

    std::mt19937 random;
    QString good;
    std::vector<QString> pictures;
};

TEST_F(SoakTest, ThousandsOfRandomOperationsKeepTheModelConsistentAndTheCanvasClean)
{
    const int steps = EnvInt("VELTRA_SOAK_STEPS", 10000);
    // How much of the program the run reached, so a soak that stopped doing
    // anything fails instead of passing.
    int selected = 0, withBoxes = 0, mostFigures = 0;
    for (int step = 0; step < steps; ++step) {
        const char* what = Operate();
        ExpectConsistent(step, what);
        selected += frame.m_pSelRect != nullptr;
        withBoxes += frame.FindTextBoxWindow(g_nTextBoxCount) != nullptr;
        mostFigures = std::max(mostFigures, g_pFigures->GetSize());
        if (step % 25 == 24)
            ExpectCleanRefresh(step, what);
        if (HasFatalFailure())
            return;
        // The drawing stays small enough for the refreshes to stay quick.
        if (g_pFigures->GetSize() > 150)
            frame.OnCommand(ID_FILE_NEW);
    }
    std::printf("soak: %d steps, a selection in %d, a text box in %d, at most %d figures\n", steps, selected,
                withBoxes, mostFigures);
    if (steps >= 1000) {
        EXPECT_GT(selected, steps / 10);
        EXPECT_GT(withBoxes, steps / 10);
        EXPECT_GT(mostFigures, 20);
    }
}

}  // namespace
