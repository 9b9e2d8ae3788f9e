// What the benchmark programs share: the random scene of plain figures and
// the program's main, which runs the benchmarks on the offscreen platform.
#pragma once

#include "scene/ShapeFigure.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <functional>
#include <random>

// `count` lines, rectangles and ellipses of 10 to 400 pixels at random places
// on a w x h canvas, in random colours: the same scene for the same seed.
inline void FillRandomScene(CFigureList& list, int count, int w, int h, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> size(10, 400), kind(0, 2), colour(0, 0xFFFFFF);
    std::uniform_int_distribution<int> x(0, w - 1), y(0, h - 1);
    list.RemoveAll();
    for (int i = 0; i < count; ++i) {
        const int l = x(rng), t = y(rng);
        const RECT rc{l, t, l + size(rng), t + size(rng)};
        const auto k = static_cast<FigureKind>(kind(rng));
        const auto line = static_cast<COLORREF>(colour(rng));
        const auto fill = static_cast<COLORREF>(colour(rng));
        list.Add(CShapeFigure::Shape(k, rc, line, fill));
    }
}

// Runs the benchmarks named on the command line with a toolkit application
// on the offscreen platform; `atEnd` releases what they shared before it goes.
inline int RunBenchmarks(int argc, char** argv, const std::function<void()>& atEnd)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    atEnd();
    return 0;
}
