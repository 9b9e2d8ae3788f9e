// The figure record and the owning lists: creation codes and kinds, what each
// maker keeps, and the list operations the editing commands rely on.
#include "scene/ShapeFigure.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CShapeFigure> Figure(FigureKind kind, RECT rc = {1, 2, 3, 4})
{
    return CShapeFigure::Shape(kind, rc, CR_FIGURE_GREY, CR_FIGURE_WHITE);
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
        list.Add(Figure(FK_RECTANGLE, RECT{l, 0, 0, 0}));
    return list;
}

TEST(FigureModelTest, CreationCodesAndKindsConvertOnlyThroughTheTable)
{
    const std::pair<CreationCode, FigureKind> table[] = {
        {CC_LINE, FK_LINE}, {CC_RECTANGLE, FK_RECTANGLE}, {CC_ELLIPSE, FK_ELLIPSE},
        {CC_TEXT, FK_TEXT}, {CC_BORDER, FK_BORDER},
    };
    for (const auto& [code, kind] : table) {
        EXPECT_EQ(KindFromCreationCode(code), kind) << code;
        EXPECT_EQ(CreationCodeFromKind(kind), code) << kind;
    }
    EXPECT_EQ(KindFromCreationCode(static_cast<CreationCode>(3)), FK_NONE) << "3 is a kind, not a code";
    EXPECT_EQ(CreationCodeFromKind(FK_NONE), CC_NONE);
}

TEST(FigureModelTest, EachMakerGivesItsKindAndThePenAndBrushOfTheDesign)
{
    const auto text = CShapeFigure::Text(RECT{30, 40, 10, 20}, QStringLiteral("hi"), 7, RECT{1, 1, 50, 20});
    EXPECT_EQ(text->m_nKind, FK_TEXT);
    EXPECT_EQ(text->m_rect, (RECT{30, 40, 10, 20})) << "never normalised";
    EXPECT_EQ(text->LineColor(), CR_FIGURE_GREY);
    EXPECT_EQ(text->FillColor(), CR_FIGURE_WHITE);
    ASSERT_TRUE(text->m_pFormatRect.has_value());

    const auto picture = CShapeFigure::Picture(FK_RECTANGLE, RECT{0, 0, 9, 9}, RGB(1, 2, 3), QStringLiteral("/p.bmp"));
    EXPECT_EQ(picture->m_nKind, FK_RECTANGLE);
    EXPECT_EQ(picture->FillColor(), CR_FIGURE_WHITE) << "a picture figure is always on white";
    EXPECT_FALSE(picture->m_pFormatRect.has_value());

    const auto border = CShapeFigure::Border(RECT{0, 0, 9, 9}, RGB(1, 2, 3), 20.5, 10.25, QStringLiteral("/t.bmp"));
    EXPECT_EQ(border->m_nKind, FK_BORDER) << "a border is code 10, not the text code 4";
    EXPECT_EQ(border->m_dTileWidth, 20.5);

    const auto shape = Figure(FK_ELLIPSE);
    EXPECT_EQ(shape->m_nKind, FK_ELLIPSE);
    EXPECT_EQ(shape->m_logpen.lopnStyle, static_cast<UINT>(PS_DASHDOT)) << "Draw outlines dash-dot";
    EXPECT_EQ(shape->m_logbrush.lbStyle, BS_SOLID);
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
    list.SetAt(1, Figure(FK_ELLIPSE, RECT{9, 0, 0, 0}));
    EXPECT_EQ(Lefts(list), (std::vector<int>{0, 9, 2}));
    EXPECT_EQ(list.GetAt(1)->m_nKind, FK_ELLIPSE);
    list.RemoveAt(0);
    EXPECT_EQ(Lefts(list), (std::vector<int>{9, 2}));
    list.RemoveAt(5);
    list.SetAt(-1, Figure(FK_LINE));
    EXPECT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.GetAt(2), nullptr);
    list.RemoveAll();
    EXPECT_EQ(list.GetSize(), 0);
    EXPECT_EQ(list.Add(Figure(FK_LINE)), 0);
}

}  // namespace
