// The numbers of selecting and stacking, edge by edge: which press on a box
// starts which resize or the move, how far from a line a press still takes
// it and where its end squares stop, and where Bring Forward and Send
// Backward put the selected figure among four.
#include "EditingFixture.h"

#include "resources/ResourceIds.h"
#include "text/EditBox.h"
#include "text/TextState.h"

#include <string>
#include <tuple>
#include <utility>

namespace {

using RuleTablesTest = EditingTest;

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
        {MODE_SIZE_NW, {11, 31, 17, 37}},   {MODE_SIZE_N, {52, 31, 58, 37}},   {MODE_SIZE_NE, {94, 31, 100, 37}},
        {MODE_SIZE_E, {94, 67, 100, 73}},   {MODE_SIZE_SE, {94, 104, 100, 110}}, {MODE_SIZE_S, {52, 104, 58, 110}},
        {MODE_SIZE_SW, {11, 104, 17, 110}}, {MODE_SIZE_W, {11, 67, 17, 73}},
    };
    enum Kind { Rectangle, Ellipse, PictureRect };
    const auto expected = [&](Kind kind, POINT p) {
        if (kind != PictureRect)
            for (const auto& [mode, zone] : zones)
                if (Inside(zone, p))
                    return mode;
        return Inside(box, p) ? MODE_MOVE : MODE_NONE;
    };
    for (Kind kind : {Rectangle, Ellipse, PictureRect})
        for (const auto& [mode, z] : zones) {
            const int cx = z.left + 3, cy = z.top + 3;
            // The zone's four corner pixels, then one pixel past each edge.
            const POINT probes[] = {{z.left, z.top},     {z.right - 1, z.top}, {z.left, z.bottom - 1}, {z.right - 1, z.bottom - 1},
                                    {z.left - 1, cy},    {z.right, cy},        {cx, z.top - 1},         {cx, z.bottom}};
            for (int i = 0; i < 8; ++i) {
                const POINT p = probes[i];
                g_pFigures->RemoveAll();
                // Boxes are hit by their ordered rectangle, whatever order the corners came in.
                if (kind == Rectangle)
                    Add(FK_RECTANGLE, RECT{100, 110, 11, 31});
                else if (kind == Ellipse)
                    Add(FK_ELLIPSE, RECT{11, 110, 100, 31});
                else
                    AddPicture(FK_RECTANGLE, box, QStringLiteral("/nowhere/p.png"));
                frame.m_nMode = MODE_NONE;
                Press(p);
                const ToolMode got = frame.m_nMode;
                EXPECT_EQ(got, expected(kind, p)) << kind << " zone " << mode << " at " << p.x << "," << p.y;
                if (kind != PictureRect) {
                    EXPECT_EQ(got == mode, i < 4) << kind << " zone " << mode << " at " << p.x << "," << p.y;
                }
                EXPECT_EQ(frame.m_pSelRect != nullptr, Inside(box, p)) << p.x << "," << p.y;
                Release(p);
            }
        }
}

TEST_F(RuleTablesTest, ALineIsTakenWithinItsTolerancesAlongTheWholeLineAndByTheSquaresAtItsEnds)
{
    // Sloping lines are measured vertically (-10 <= d <= 10), level ones within
    // 2 rows, upright ones within 2 columns, all beyond the ends too. The start
    // square (x1 - 3, y1 - 3, x1 + 3, y1 + 3) is tried first, then the end's.
    const RECT down{100, 100, 200, 150}, back{300, 100, 200, 150}, level{200, 400, 300, 400}, upright{50, 200, 50, 300},
        shortLine{100, 500, 103, 500};
    const std::tuple<RECT, POINT, ToolMode> cases[] = {
        // slope 1/2: at x = 140 the line is at y = 120
        {down, {140, 130}, MODE_LINE_MOVE}, {down, {140, 131}, MODE_NONE}, {down, {140, 110}, MODE_LINE_MOVE},
        {down, {140, 109}, MODE_NONE},
        {down, {97, 97}, MODE_LINE_START},  {down, {102, 97}, MODE_LINE_START}, {down, {97, 102}, MODE_LINE_START},
        {down, {102, 102}, MODE_LINE_START}, {down, {96, 99}, MODE_LINE_MOVE}, {down, {103, 99}, MODE_LINE_MOVE},
        {down, {100, 96}, MODE_LINE_MOVE},  {down, {100, 103}, MODE_LINE_MOVE},
        {down, {197, 147}, MODE_LINE_END},  {down, {202, 147}, MODE_LINE_END}, {down, {197, 152}, MODE_LINE_END},
        {down, {202, 152}, MODE_LINE_END},  {down, {196, 150}, MODE_LINE_MOVE}, {down, {203, 150}, MODE_LINE_MOVE},
        {down, {200, 146}, MODE_LINE_MOVE}, {down, {200, 153}, MODE_LINE_MOVE},
        // drawn right to left, slope -1/2: it starts at (300, 100); at x = 500 the line is at y = 0
        {back, {297, 97}, MODE_LINE_START}, {back, {302, 102}, MODE_LINE_START}, {back, {197, 147}, MODE_LINE_END},
        {back, {500, 10}, MODE_LINE_MOVE},  {back, {500, 11}, MODE_NONE},      {back, {500, -10}, MODE_LINE_MOVE},
        {back, {500, -11}, MODE_NONE},
        // level: the square's top row lies beyond the 2-row tolerance
        {level, {5000, 402}, MODE_LINE_MOVE}, {level, {5000, 403}, MODE_NONE}, {level, {-5000, 398}, MODE_LINE_MOVE},
        {level, {-5000, 397}, MODE_NONE},   {level, {197, 398}, MODE_LINE_START}, {level, {202, 402}, MODE_LINE_START},
        {level, {196, 398}, MODE_LINE_MOVE}, {level, {203, 402}, MODE_LINE_MOVE}, {level, {197, 397}, MODE_NONE},
        {level, {297, 398}, MODE_LINE_END},  {level, {302, 402}, MODE_LINE_END}, {level, {296, 400}, MODE_LINE_MOVE},
        {level, {303, 400}, MODE_LINE_MOVE},
        // upright: its body starts a move within 2 columns, at any height
        {upright, {52, 1000}, MODE_LINE_MOVE}, {upright, {53, 1000}, MODE_NONE}, {upright, {48, -1000}, MODE_LINE_MOVE},
        {upright, {47, -1000}, MODE_NONE},   {upright, {48, 197}, MODE_LINE_START}, {upright, {52, 202}, MODE_LINE_START},
        {upright, {48, 196}, MODE_LINE_MOVE}, {upright, {52, 203}, MODE_LINE_MOVE}, {upright, {47, 200}, MODE_NONE},
        {upright, {48, 297}, MODE_LINE_END},  {upright, {52, 302}, MODE_LINE_END}, {upright, {50, 296}, MODE_LINE_MOVE},
        {upright, {50, 303}, MODE_LINE_MOVE},
        // 3 pixels long: where the squares overlap the start wins
        {shortLine, {100, 500}, MODE_LINE_START}, {shortLine, {102, 502}, MODE_LINE_START},
        {shortLine, {103, 500}, MODE_LINE_END}, {shortLine, {105, 502}, MODE_LINE_END}, {shortLine, {106, 500}, MODE_LINE_MOVE},
    };
    for (const auto& [line, p, mode] : cases) {
        g_pFigures->RemoveAll();
        Add(FK_LINE, line);
        frame.m_nMode = MODE_NONE;
        Press(p);
        EXPECT_EQ(frame.m_nMode, mode) << line.left << "," << line.top << " at " << p.x << "," << p.y;
        EXPECT_EQ(frame.m_pSelRect != nullptr, mode != MODE_NONE) << line.left << "," << line.top << " at " << p.x << "," << p.y;
        Release(p);
    }
}

class RuleTablesOrderTest : public EditingTest {
protected:
    // A under B under C under D, each partly covered by the next; told apart
    // by their fill colours.
    static constexpr RECT kRects[4] = {{10, 10, 110, 110}, {60, 20, 160, 120}, {110, 30, 210, 130}, {160, 40, 260, 140}};
    static constexpr COLORREF kFills[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(200, 200, 0)};
    static constexpr POINT kVisible[4] = {{30, 60}, {85, 70}, {135, 80}, {230, 90}};  // where only it shows

    RuleTablesOrderTest() { Fresh(); }
    void Fresh()
    {
        g_pFigures->RemoveAll();
        for (int i = 0; i < 4; ++i)
            Add(FK_RECTANGLE, kRects[i], kBlack, kFills[i]);
    }
    // The list bottom first, a letter for each of the four and T for a text figure.
    static std::string Order()
    {
        std::string s;
        for (const auto& f : *g_pFigures)
            for (int i = 0; i < 5; ++i)
                if (i == 4 ? f->m_nKind == FK_TEXT : f->FillColor() == kFills[i] && f->m_nKind == FK_RECTANGLE)
                    s += "ABCDT"[i];
        return s;
    }
    // Every one of the four as it was added, at its place in `order`, the one
    // at `moved` 5 pixels to the right.
    void ExpectFigures(const std::string& order, int moved) const
    {
        ASSERT_EQ(Order(), order);
        for (int i = 0; i < static_cast<int>(order.size()); ++i) {
            if (order[i] == 'T')
                continue;
            RECT rc = kRects[order[i] - 'A'];
            if (i == moved)
                rc = RECT{rc.left + 5, rc.top, rc.right + 5, rc.bottom};
            EXPECT_EQ(Fig(i).m_rect, rc) << order << " at " << i;
            EXPECT_EQ(Fig(i).LineColor(), kBlack);
        }
    }
};

TEST_F(RuleTablesOrderTest, BringForwardAndSendBackwardMoveTheSelectedFigureToAnEndAndTheArrowKeysFollowIt)
{
    const std::tuple<int, UINT, std::string, int> cases[] = {
        {0, ID_ORDER_BRINGFORWARD, "BCDA", 3}, {0, ID_ORDER_SENDBACKWARD, "ABCD", 0},
        {1, ID_ORDER_BRINGFORWARD, "ACDB", 3}, {1, ID_ORDER_SENDBACKWARD, "BACD", 0},
        {2, ID_ORDER_BRINGFORWARD, "ABDC", 3}, {2, ID_ORDER_SENDBACKWARD, "CABD", 0},
        {3, ID_ORDER_BRINGFORWARD, "ABCD", 3}, {3, ID_ORDER_SENDBACKWARD, "DABC", 0},
    };
    for (const auto& [clicked, command, order, selected] : cases) {
        Fresh();
        Click(kVisible[clicked]);
        ASSERT_EQ(frame.m_nSelected, clicked);
        frame.OnCommand(command);
        SCOPED_TRACE(order);
        ExpectFigures(order, -1);
        EXPECT_EQ(frame.m_nSelected, selected);
        Tap(VK_RIGHT);
        ExpectFigures(order, selected);
    }
}

TEST_F(RuleTablesOrderTest, WithNothingSelectedNeitherCommandChangesAnything)
{
    // A fresh window; a click away from a selection; typing into a text box,
    // which makes its figure the target of the typing but selects nothing.
    for (int way : {0, 1, 2}) {
        std::string order = "ABCD";
        if (way == 1) {
            Click(kVisible[1]);
            Click(POINT{600, 600});
        } else if (way == 2) {
            g_pFigures->RemoveAll();
            frame.PlaceTextBox(RECT{300, 300, 400, 360});
            for (int i = 0; i < 4; ++i)
                Add(FK_RECTANGLE, kRects[i], kBlack, kFills[i]);
            frame.FindTextBoxWindow(g_nTextBoxCount)->insertPlainText(QStringLiteral("x"));
            order = "TABCD";
        }
        ASSERT_FALSE(frame.m_pSelRect) << way;
        SCOPED_TRACE(way);
        for (UINT command : {ID_ORDER_BRINGFORWARD, ID_ORDER_SENDBACKWARD, ID_ORDER_BRINGFORWARD}) {
            frame.OnCommand(command);
            ExpectFigures(order, -1);
        }
        Tap(VK_RIGHT);
        ExpectFigures(order, -1);
        if (way < 2) {
            EXPECT_EQ(frame.m_nSelected, -1);
        }
    }
}

}  // namespace
