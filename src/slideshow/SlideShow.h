// The slide show: its settings, the list of pictures the slides dialog
// fills, automatic shows that run on worker threads, and the manual show
// stepped with the Right arrow key.
//
// Threads: the list, the manual position and every widget belong to the
// user-interface thread. "Play" hands a worker a copy of the list, so
// refilling the list never touches a running show. The worker decodes each
// picture itself and hands the decoded picture to the user-interface
// thread, which alone draws it into the canvas; a picture still waiting to
// be drawn when the next one is ready is replaced by it, so a fast show
// never piles pictures up. Settings and the stop request are atomic.
#pragma once

#include "slideshow/SlideClock.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <vector>

class QWidget;

// Full paths of the pictures in showing order (the order of adding).
extern QStringList g_astrSlides;
// Seconds an automatic show waits after each picture.
extern std::atomic<int> g_nSlideDelay;
// 1: "Play" runs an automatic show; 0: the Right arrow steps a manual one.
extern std::atomic<int> g_bSlideAuto;
// 1: an automatic show repeats the list until it is stopped.
extern std::atomic<int> g_bSlideLoop;
// The index of the next picture of the manual show.
extern int g_nSlidePos;

// The stop request that Esc and "Stop" make. It concerns every show running
// when it is made and none started after it: each show takes a ticket when
// it starts, which is how "starting a show clears the request" holds for it
// without ever un-stopping an older show.
class CSlideStopFlag {
public:
    using Ticket = std::uint64_t;

    // Every running show ends before its next picture; a waiting one wakes
    // at once. User-interface thread.
    void Set();
    // A show starts: requests made so far do not concern it.
    Ticket Clear();
    // A stop was requested after `ticket` was taken.
    bool IsSet(Ticket ticket) const { return m_requests.load() != ticket; }
    // A stop was requested after the last show started.
    bool IsSet() const { return m_requests.load() != m_lastStart.load(); }

private:
    std::atomic<Ticket> m_requests{0};
    std::atomic<Ticket> m_lastStart{0};
};
extern CSlideStopFlag g_bSlideStop;

// What an automatic show runs on: its own copy of the list, its stop
// ticket and the clock it waits on.
struct SlideShowJob {
    std::vector<QString> slides;
    CSlideStopFlag::Ticket ticket = 0;
    ISlideClock* clock = nullptr;
};

// The automatic show, run on its worker: with an empty list or in manual
// mode it only reports that (a message box without owner); otherwise it
// shows each picture and waits the delay after it (an empty path is skipped
// without waiting), once or, with Loop, pass after pass, re-reading the
// delay at each pass, until the list ends or a stop is requested. A picture
// that cannot be loaded is not drawn, and its wait is kept. Returns 0.
int SlideShowThread(const SlideShowJob& job);

// "Play": a new worker runs SlideShowThread on a copy of the list taken
// now. Shows already running go on. User-interface thread.
void StartSlideShow();
// The shows whose worker has not ended yet. User-interface thread.
int RunningSlideShows();
// Stops every show and waits for its worker to end: the main window never
// goes while a worker can still hand it a picture. Returns at once when no
// show runs. User-interface thread.
void EndSlideShows();

// Draws the picture in `path` stretched over the main window's canvas at
// (0, 25) to the client area's width and height, and repaints the window.
// A file that cannot be loaded draws nothing and reports nothing.
// User-interface thread.
void ShowSlide(const QString& path);

// One step of the manual show: the picture at g_nSlidePos (drawn when
// `show`; the slides dialog steps past it without drawing it) and on to the
// next; at the end of the list, or beyond the end of a list that became
// shorter, the question whether to begin again, owned by `owner`.
void StepManualSlideShow(QWidget* owner, bool show);
