// The figure record and the owning lists: creation codes, the re-make helper,
// and the list operations the editing commands rely on.
#include "scene/ShapeFigure.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CShapeFigure> Figure(int code, RECT rc = {1, 2, 3, 4})
{
    return std::make_unique<CShapeFigure>(rc, code, QString(), 0, RGB(192, 192, 192), 0.0, 0.0, QString(),
                                          std::nullopt, RGB(255, 255, 255));
}

std::vector<int> Lefts(const CFigureList& list)
{
    std::vector<int> v;
    for (const auto& f : list)
        v.push_back(f->m_rect.left);
    return v;
}

CFigureList ListOf(std::initializer_list<int> lefts)
{
    CFigureList list;
    for (int l : lefts)
        list.Add(Figure(1, RECT{l, 0, 0, 0}));
    return list;
}

TEST(FigureModelTest, CreationCodesGiveTheirKindsAndTheHelperMapsBack)
{
    EXPECT_EQ(Figure(0)->m_nKind, FK_LINE);
    EXPECT_EQ(Figure(1)->m_nKind, FK_RECTANGLE);
    EXPECT_EQ(Figure(2)->m_nKind, FK_ELLIPSE);
    EXPECT_EQ(Figure(4)->m_nKind, FK_TEXT);
    EXPECT_EQ(Figure(10)->m_nKind, FK_BORDER);
    EXPECT_EQ(Figure(3)->m_nKind, -1) << "3 is not a creation code";
    for (int kind : {FK_LINE, FK_RECTANGLE, FK_ELLIPSE, FK_TEXT, FK_BORDER})
        EXPECT_EQ(Figure(CreationCodeFromKind(kind))->m_nKind, kind) << kind;
}

TEST(FigureModelTest, ConstructorKeepsEveryValueAsGiven)
{
    const CShapeFigure f(RECT{30, 40, 10, 20}, 4, QStringLiteral("hi"), 7, RGB(1, 2, 3), 20.5, 10.25,
                         QStringLiteral("/p.bmp"), RECT{1, 1, 50, 20}, RGB(4, 5, 6));
    EXPECT_EQ(f.m_rect, (RECT{30, 40, 10, 20})) << "never normalised";
    EXPECT_EQ(f.m_strText, QStringLiteral("hi"));
    EXPECT_EQ(f.m_nTextId, 7);
    EXPECT_EQ(f.LineColor(), RGB(1, 2, 3));
    EXPECT_EQ(f.FillColor(), RGB(4, 5, 6));
    EXPECT_EQ(f.m_dTileWidth, 20.5);
    EXPECT_EQ(f.m_dTileHeight, 10.25);
    EXPECT_EQ(f.m_strPicture, QStringLiteral("/p.bmp"));
    ASSERT_TRUE(f.m_pFormatRect.has_value());
    EXPECT_EQ(*f.m_pFormatRect, (RECT{1, 1, 50, 20}));
    EXPECT_EQ(f.m_bBrush, 1);
    EXPECT_EQ(f.m_bPen, 1);
    EXPECT_EQ(f.m_logpen.lopnStyle, static_cast<UINT>(PS_DASHDOT));
    EXPECT_EQ(f.m_logpen.lopnWidth.x, 1);
    EXPECT_EQ(f.m_logbrush.lbStyle, BS_SOLID);
}

TEST(FigureModelTest, MovesToEitherEndShiftTheOthers)
{
    CFigureList list = ListOf({0, 1, 2, 3});
    list.MoveToEnd(1);
    EXPECT_EQ(Lefts(list), (std::vector<int>{0, 2, 3, 1}));
    list.MoveToFront(2);
    EXPECT_EQ(Lefts(list), (std::vector<int>{3, 0, 2, 1}));
    // The top figure to the end and the bottom one to the front change nothing.
    list.MoveToEnd(3);
    list.MoveToFront(0);
    EXPECT_EQ(Lefts(list), (std::vector<int>{3, 0, 2, 1}));
    // Out-of-range indexes are ignored.
    list.MoveToEnd(4);
    list.MoveToFront(-1);
    EXPECT_EQ(Lefts(list), (std::vector<int>{3, 0, 2, 1}));
}

TEST(FigureModelTest, ReplaceRemoveAndEmptyKeepTheOrderOfTheRest)
{
    CFigureList list = ListOf({0, 1, 2});
    list.SetAt(1, Figure(2, RECT{9, 0, 0, 0}));
    EXPECT_EQ(Lefts(list), (std::vector<int>{0, 9, 2}));
    EXPECT_EQ(list.GetAt(1)->m_nKind, FK_ELLIPSE);
    list.RemoveAt(0);
    EXPECT_EQ(Lefts(list), (std::vector<int>{9, 2}));
    list.RemoveAt(5);
    list.SetAt(-1, Figure(0));
    EXPECT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.GetAt(2), nullptr);
    list.RemoveAll();
    EXPECT_EQ(list.GetSize(), 0);
    EXPECT_EQ(list.Add(Figure(0)), 0);
}

}  // namespace
