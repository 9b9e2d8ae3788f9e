// A shown main window for slide-show tests: a virtual clock, the settings
// at their start values, three solid pictures, and helpers that let the
// shows run to the next moment one of them wakes.
#pragma once

#include "editing/EditingFixture.h"
#include "slideshow/VirtualClock.h"

#include "platform/Dialog.h"
#include "slideshow/SlideShow.h"

#include <QTest>

using namespace std::chrono_literals;

constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);

class SlideShowTest : public EditingTest {
protected:
    SlideShowTest()
    {
        SetSlideClock(&clock);
        g_astrSlides.clear();
        g_nSlideDelay = 1;
        g_bSlideAuto = 1;
        g_bSlideLoop = 0;
        g_nSlidePos = 0;
        frame.resize(800, 600);
        frame.show();
        a = Picture("a.png", 40, 30, kYellow);
        b = Picture("b.png", 20, 20, kMagenta);
        c = Picture("c.png", 10, 50, kCyan);
    }
    ~SlideShowTest() override
    {
        EndSlideShows();
        QCoreApplication::processEvents();
        SetSlideClock(nullptr);
    }

    // Lets every show run until it sleeps or ends, then draws what the
    // shows handed to the user-interface thread.
    void Settle()
    {
        clock.WaitUntilIdle();
        QCoreApplication::processEvents();
    }
    // Time moves on to the next moment a show wakes, and the shows run.
    bool Step()
    {
        if (!clock.AdvanceToNextWake())
            return false;
        Settle();
        return true;
    }

    // Which picture the canvas shows in the middle of the slide rectangle.
    QString Shown() const
    {
        const int x = frame.View()->width() / 2, y = 25 + frame.View()->height() / 2;
        switch (Pixel(x, y)) {
        case kYellow: return "a";
        case kMagenta: return "b";
        case kCyan: return "c";
        case kWhite: return "none";
        default: return "other";
        }
    }
    // The moments (virtual milliseconds) each picture came up, and when the
    // last show ended: the run of the show from now until no show sleeps.
    std::vector<std::pair<long long, QString>> Timeline()
    {
        std::vector<std::pair<long long, QString>> seen;
        Settle();
        do {
            if (seen.empty() || seen.back().second != Shown())
                seen.emplace_back(clock.Now(), Shown());
        } while (Step());
        seen.emplace_back(clock.Now(), "end");
        return seen;
    }
    void Play(QStringList slides)
    {
        g_astrSlides = std::move(slides);
        StartSlideShow();
    }
    void SendKey(int key)
    {
        QTest::keyClick(frame.View(), static_cast<Qt::Key>(key));
    }

    VirtualSlideClock clock;
    QString a, b, c;
};

using Times = std::vector<std::pair<long long, QString>>;
