// Selecting and stacking, edge by edge: the handles that follow the
// selection, which press on a box starts which resize or the move (text and
// border figures on top are never hit), how far from a line a press still
// takes it and where its end squares stop, and where Bring Forward and Send
// Backward put the selected figure among four.
#include "support/WindowTest.h"

#include <string>
#include <tuple>

namespace {

using RuleTablesTest = WindowTest;

using SelectionTest = WindowTest;

TEST_F(SelectionTest, HandlesFollowTheSelectionAndAnEmptyPressClearsIt)
{
    Add(FK_LINE, RECT{50, 50, 20, 80});
    Add(FK_ELLIPSE, RECT{200, 200, 260, 240});
    frame.RefreshCanvas(false);
    const QImage plain = Canvas();
    Click(POINT{35, 65});
    EXPECT_EQ(Diff(plain, frame.m_bmpCanvas), Rings({{50, 50}, {20, 80}})) << "a line's handles at its two ends";
    // The old handles are erased as the kind they were drawn for.
    Click(POINT{230, 220});
    EXPECT_EQ(Diff(plain, frame.m_bmpCanvas),
              Rings({{200, 200}, {230, 200}, {260, 200}, {260, 220}, {260, 240}, {230, 240}, {200, 240}, {200, 220}}));
    Click(POINT{600, 600});
    EXPECT_TRUE(Diff(plain, frame.m_bmpCanvas).empty()) << "no handles are left";
    Key(Qt::Key_Right);
    EXPECT_EQ(Fig(1).m_rect, (RECT{200, 200, 260, 240})) << "nothing is selected";
}


bool Inside(const RECT& rc, POINT p)
{
    return p.x >= rc.left && p.x < rc.right && p.y >= rc.top && p.y < rc.bottom;
}

TEST_F(RuleTablesTest, EachHandleZoneReachesItsOwnEdgesAndNotOnePixelPastThem)
{
    // mx = (11 + 100) / 2 = 55, my = (31 + 110) / 2 = 70; each zone 6 x 6
    // inside the box, listed in the order a press tries them.
    const RECT box{11, 31, 100, 110};
    const std::pair<ToolMode, RECT> zones[] = {
        {MODE_SIZE_NW, {11, 31, 17, 37}},   {MODE_SIZE_N, {52, 31, 58, 37}},     {MODE_SIZE_NE, {94, 31, 100, 37}},
        {MODE_SIZE_E, {94, 67, 100, 73}},   {MODE_SIZE_SE, {94, 104, 100, 110}}, {MODE_SIZE_S, {52, 104, 58, 110}},
        {MODE_SIZE_SW, {11, 104, 17, 110}}, {MODE_SIZE_W, {11, 67, 17, 73}},
    };
    // Boxes are hit by their ordered rectangle, whatever order the corners
    // came in; a picture rectangle only moves.
    for (int kind : {0, 1, 2})
        for (const auto& [mode, z] : zones) {
            // The zone's four corner pixels, then one pixel past each edge; and
            // the box's exact bottom-right corner, which selects but starts nothing.
            const int cx = z.left + 3, cy = z.top + 3;
            for (const POINT p : {POINT{z.left, z.top}, POINT{z.right - 1, z.top}, POINT{z.left, z.bottom - 1},
                                  POINT{z.right - 1, z.bottom - 1}, POINT{z.left - 1, cy}, POINT{z.right, cy},
                                  POINT{cx, z.top - 1}, POINT{cx, z.bottom}, POINT{box.right, box.bottom}}) {
                g_pFigures->RemoveAll();
                if (kind == 2)
                    AddPicture(FK_RECTANGLE, box, QStringLiteral("/nowhere/p.png"));
                else
                    Add(kind == 0 ? FK_RECTANGLE : FK_ELLIPSE, kind == 0 ? RECT{100, 110, 11, 31} : RECT{11, 110, 100, 31});
                g_pFigures->Add(CShapeFigure::Text(RECT{0, 0, 400, 400}, QStringLiteral("t"), 1, RECT{0, 0, 1, 1}));
                AddBorder(RECT{0, 0, 400, 400}, 20, 20, QStringLiteral("/nowhere.bmp"));
                const bool selects = Inside(box, p) || (p.x == box.right && p.y == box.bottom);
                ToolMode expected = Inside(box, p) ? MODE_MOVE : MODE_NONE;
                for (const auto& [zoneMode, zone] : zones)
                    if (kind != 2 && expected == MODE_MOVE && Inside(zone, p))
                        expected = zoneMode;
                Press(p);
                EXPECT_EQ(frame.m_nMode, expected) << kind << " zone " << mode << " at " << p.x << "," << p.y;
                EXPECT_EQ(frame.m_pSelRect != nullptr, selects) << p.x << "," << p.y;
                Release(p);
            }
        }
}

TEST_F(RuleTablesTest, ALineIsTakenWithinItsTolerancesAlongTheWholeLineAndByTheSquaresAtItsEnds)
{
    // Sloping lines are measured vertically (-10 <= d <= 10), level ones within
    // 2 rows, upright ones within 2 columns, all beyond the ends too. The start
    // square (x1 - 3, y1 - 3, x1 + 3, y1 + 3) is tried first, then the end's.
    const RECT down{100, 100, 200, 150}, back{300, 100, 200, 150}, level{200, 400, 300, 400},
        upright{50, 200, 50, 300}, shortLine{100, 500, 103, 500};
    constexpr ToolMode S = MODE_LINE_START, E = MODE_LINE_END, M = MODE_LINE_MOVE, N = MODE_NONE;
    const std::tuple<RECT, POINT, ToolMode> cases[] = {
        // slope 1/2: at x = 140 the line is at y = 120
        {down, {140, 130}, M}, {down, {140, 131}, N}, {down, {140, 110}, M}, {down, {140, 109}, N}, {down, {97, 97}, S},
        {down, {102, 97}, S}, {down, {97, 102}, S}, {down, {102, 102}, S}, {down, {96, 99}, M}, {down, {103, 99}, M},
        {down, {100, 96}, M}, {down, {100, 103}, M}, {down, {197, 147}, E}, {down, {202, 147}, E}, {down, {197, 152}, E},
        {down, {202, 152}, E}, {down, {196, 150}, M}, {down, {203, 150}, M}, {down, {200, 146}, M}, {down, {200, 153}, M},
        // drawn right to left, slope -1/2: it starts at (300, 100); at x = 500 the line is at y = 0
        {back, {297, 97}, S}, {back, {302, 102}, S}, {back, {197, 147}, E}, {back, {500, 10}, M}, {back, {500, 11}, N},
        {back, {500, -10}, M}, {back, {500, -11}, N},
        // level: the square's top row lies beyond the 2-row tolerance
        {level, {5000, 402}, M}, {level, {5000, 403}, N}, {level, {-5000, 398}, M}, {level, {-5000, 397}, N},
        {level, {197, 398}, S}, {level, {202, 402}, S}, {level, {196, 398}, M}, {level, {203, 402}, M},
        {level, {197, 397}, N}, {level, {297, 398}, E}, {level, {302, 402}, E}, {level, {296, 400}, M},
        {level, {303, 400}, M},
        // upright: its body starts a move within 2 columns, at any height
        {upright, {52, 1000}, M}, {upright, {53, 1000}, N}, {upright, {48, -1000}, M}, {upright, {47, -1000}, N},
        {upright, {48, 197}, S}, {upright, {52, 202}, S}, {upright, {48, 196}, M}, {upright, {52, 203}, M},
        {upright, {47, 200}, N}, {upright, {48, 297}, E}, {upright, {52, 302}, E}, {upright, {50, 296}, M},
        {upright, {50, 303}, M},
        // 3 pixels long: where the squares overlap the start wins
        {shortLine, {100, 500}, S}, {shortLine, {102, 502}, S}, {shortLine, {103, 500}, E},
        {shortLine, {105, 502}, E}, {shortLine, {106, 500}, M},
    };
    for (const auto& [line, p, mode] : cases) {
        g_pFigures->RemoveAll();
        Add(FK_LINE, line);
        Press(p);
        EXPECT_EQ(frame.m_nMode, mode) << line.left << "," << line.top << " at " << p.x << "," << p.y;
        EXPECT_EQ(frame.m_pSelRect != nullptr, mode != N) << line.left << "," << line.top << " at " << p.x << "," << p.y;
        Release(p);
    }
}

// A under B under C under D, each partly covered by the next; told apart by their fill colours.
class OrderTest : public WindowTest {
protected:
    static constexpr RECT kRects[4] = {{10, 10, 110, 110}, {60, 20, 160, 120}, {110, 30, 210, 130}, {160, 40, 260, 140}};
    static constexpr COLORREF kFills[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(200, 200, 0)};
    static constexpr POINT kVisible[4] = {{30, 60}, {85, 70}, {135, 80}, {230, 90}};  // where only it shows

    void Fresh()
    {
        g_pFigures->RemoveAll();
        for (int i = 0; i < 4; ++i)
            Add(FK_RECTANGLE, kRects[i], kBlack, kFills[i]);
    }
    // Every one of the four as it was added, at its place in `order` (bottom
    // first; T a text figure), the one at `moved` 5 pixels to the right.
    void ExpectFigures(const std::string& order, int moved) const
    {
        ASSERT_EQ(g_pFigures->GetSize(), static_cast<int>(order.size()));
        for (int i = 0; i < static_cast<int>(order.size()); ++i) {
            if (order[i] == 'T') {
                EXPECT_EQ(Fig(i).m_nKind, FK_TEXT) << order << " at " << i;
                continue;
            }
            const int f = order[i] - 'A', dx = i == moved ? 5 : 0;
            const RECT rc{kRects[f].left + dx, kRects[f].top, kRects[f].right + dx, kRects[f].bottom};
            EXPECT_EQ(Figure(i), Describe(*CShapeFigure::Shape(FK_RECTANGLE, rc, kBlack, kFills[f]))) << order;
        }
    }
};

TEST_F(OrderTest, BringForwardAndSendBackwardMoveTheSelectedFigureToAnEndAndTheArrowKeysFollowIt)
{
    // The figure clicked (-1: a click away from a selection: nothing
    // selected), the command, the order after it and the figure the arrow
    // keys then move.
    const std::tuple<int, UINT, std::string, int> cases[] = {
        {0, ID_ORDER_BRINGFORWARD, "BCDA", 3},  {0, ID_ORDER_SENDBACKWARD, "ABCD", 0},
        {1, ID_ORDER_BRINGFORWARD, "ACDB", 3},  {1, ID_ORDER_SENDBACKWARD, "BACD", 0},
        {2, ID_ORDER_BRINGFORWARD, "ABDC", 3},  {2, ID_ORDER_SENDBACKWARD, "CABD", 0},
        {3, ID_ORDER_BRINGFORWARD, "ABCD", 3},  {3, ID_ORDER_SENDBACKWARD, "DABC", 0},
        {-1, ID_ORDER_BRINGFORWARD, "ABCD", -1}, {-1, ID_ORDER_SENDBACKWARD, "ABCD", -1},
    };
    for (const auto& [clicked, command, order, selected] : cases) {
        Fresh();
        Click(kVisible[clicked < 0 ? 1 : clicked]);
        if (clicked < 0)
            Click(POINT{600, 600});
        frame.OnCommand(command);
        ExpectFigures(order, -1);
        Key(Qt::Key_Right);
        ExpectFigures(order, selected);
    }
    // Typing into a text box makes its figure the target of the typing but
    // selects nothing: neither the order nor the arrow keys change anything.
    g_pFigures->RemoveAll();
    Type(Place(RECT{300, 300, 400, 360}), QStringLiteral("x"));
    for (int i = 0; i < 4; ++i)
        Add(FK_RECTANGLE, kRects[i], kBlack, kFills[i]);
    for (UINT command : {ID_ORDER_BRINGFORWARD, ID_ORDER_SENDBACKWARD}) {
        frame.OnCommand(command);
        ExpectFigures("TABCD", -1);
    }
    Key(Qt::Key_Up);
    ExpectFigures("TABCD", -1);
}

}  // namespace
