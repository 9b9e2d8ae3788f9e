#include "slideshow/SlideShow.h"

#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "platform/Picture.h"
#include "platform/UiQueue.h"
#include "platform/WindowSystem.h"

#include <QWidget>

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

QStringList g_astrSlides;
std::atomic<int> g_nSlideDelay{1};
std::atomic<int> g_bSlideAuto{1};
std::atomic<int> g_bSlideLoop{0};
int g_nSlidePos = 0;
CSlideStopFlag g_bSlideStop;

namespace {
void WakeSlideShows();
}

void CSlideStopFlag::Set()
{
    ++m_requests;
    WakeSlideShows();
}

CSlideStopFlag::Ticket CSlideStopFlag::Clear()
{
    const Ticket ticket = m_requests.load();
    m_lastStart.store(ticket);
    return ticket;
}

namespace {

// A looping pass that waited nothing (a delay of 0, or no picture paths)
// rests this long before the next, so a show never spins a processor.
constexpr std::chrono::milliseconds kRestAfterEmptyPass{100};

// The main window, found by its title as code without access to it finds
// it; message boxes captioned with the same title do not count.
CMainFrame* FindMainFrame()
{
    return static_cast<CMainFrame*>(
        FindWindowByTitle(kAppTitle, [](const QWidget* w) { return dynamic_cast<const CMainFrame*>(w) != nullptr; }));
}

// The hand-over of one show's pictures: at most one waits to be drawn.
class SlideMailbox : public std::enable_shared_from_this<SlideMailbox> {
public:
    explicit SlideMailbox(CSlideStopFlag::Ticket ticket) : m_ticket(ticket) {}

    // Worker: the picture replaces one not drawn yet, or is posted.
    void Deliver(std::shared_ptr<const CPicture> picture)
    {
        bool post = false;
        {
            const std::lock_guard lock(m_mutex);
            post = !m_pending;
            m_pending = std::move(picture);
        }
        if (post)
            PostToUserInterface([box = shared_from_this()] { box->Draw(); });
    }

private:
    // User-interface thread: a stop requested since the picture was decoded
    // keeps it off the screen.
    void Draw()
    {
        std::shared_ptr<const CPicture> picture;
        {
            const std::lock_guard lock(m_mutex);
            picture = std::exchange(m_pending, nullptr);
        }
        if (!picture || g_bSlideStop.IsSet(m_ticket))
            return;
        if (CMainFrame* frame = FindMainFrame())
            frame->DrawSlide(std::move(picture));
    }

    const CSlideStopFlag::Ticket m_ticket;
    std::mutex m_mutex;
    std::shared_ptr<const CPicture> m_pending;
};

void PostMessageWithoutOwner(const QString& text, UINT type)
{
    PostToUserInterface([text, type] { WindowSystem().ShowMessageWithoutOwner(text, type); });
}

struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> ended;
    ISlideClock* clock;
};
std::vector<Worker> g_workers;  // user-interface thread only

// Every waiting show checks for a stop at once.
void WakeSlideShows()
{
    SlideClock().Wake();
    for (const Worker& w : g_workers)
        if (w.clock != &SlideClock())
            w.clock->Wake();
}

void JoinEndedWorkers()
{
    std::erase_if(g_workers, [](Worker& w) {
        if (!w.ended->load())
            return false;
        w.thread.join();
        return true;
    });
}

}  // namespace

int SlideShowThread(const SlideShowJob& job)
{
    ISlideClock& clock = job.clock ? *job.clock : SlideClock();
    const std::size_t n = job.slides.size();
    if (n == 0) {
        PostMessageWithoutOwner(QStringLiteral("No picture selected"), MB_OKCANCEL);
        return 0;
    }
    if (g_bSlideAuto.load() == 0) {
        PostMessageWithoutOwner(QStringLiteral("You Have selected manual option,Press Right Arrow key to Continue"),
                                MB_OK);
        return 0;
    }

    const auto stopped = [&job] { return g_bSlideStop.IsSet(job.ticket); };
    const auto mailbox = std::make_shared<SlideMailbox>(job.ticket);
    const bool loop = g_bSlideLoop.load() != 0;
    do {
        // Read at every pass, so a new delay counts from the next pass on.
        const std::chrono::milliseconds wait{std::int64_t{std::max(g_nSlideDelay.load(), 0)} * 1000};
        bool waited = false;
        for (const QString& path : job.slides) {
            if (stopped())
                return 0;
            if (path.isEmpty())
                continue;
            if (std::shared_ptr<const CPicture> picture = CPicture::Load(path))
                mailbox->Deliver(std::move(picture));
            clock.Sleep(wait, stopped);
            waited = waited || wait.count() > 0;
        }
        if (loop && !waited && !clock.Sleep(kRestAfterEmptyPass, stopped))
            return 0;
    } while (loop && !stopped());
    return 0;
}

void StartSlideShow()
{
    InstallUserInterfaceQueue();
    JoinEndedWorkers();
    SlideShowJob job;
    job.clock = &SlideClock();
    job.ticket = g_bSlideStop.Clear();
    // Deep copies: the worker shares no string data with the list.
    job.slides.reserve(static_cast<std::size_t>(g_astrSlides.size()));
    for (const QString& path : std::as_const(g_astrSlides))
        job.slides.emplace_back(path.constData(), path.size());

    // The show counts on its clock from now on, before its worker runs, so
    // a virtual clock never takes a show not started yet for an ended one.
    ISlideClock& clock = *job.clock;
    clock.Enter();
    auto ended = std::make_shared<std::atomic<bool>>(false);
    try {
        std::thread thread([job = std::move(job), ended] {
            try {
                SlideShowThread(job);
            } catch (const std::exception&) {
                // Out of memory for a picture: the show ends, the program goes on.
            }
            ended->store(true);
            job.clock->Leave();
        });
        g_workers.push_back(Worker{std::move(thread), std::move(ended), &clock});
    } catch (const std::system_error&) {
        clock.Leave();
        WindowSystem().MessageBox(nullptr,
                                  QStringLiteral("The slide show could not be started: the system has no room "
                                                 "for another thread."),
                                  QString(), MB_OK | MB_ICONEXCLAMATION);
    }
}

int RunningSlideShows()
{
    return static_cast<int>(std::count_if(g_workers.begin(), g_workers.end(),
                                          [](const Worker& w) { return !w.ended->load(); }));
}

void EndSlideShows()
{
    if (g_workers.empty())
        return;
    g_bSlideStop.Set();
    for (Worker& w : g_workers)
        w.thread.join();
    g_workers.clear();
    // Pictures and messages of the ended shows that were not shown yet.
    DiscardUserInterfaceCalls();
}

void ShowSlide(const QString& path)
{
    std::shared_ptr<const CPicture> picture = CPicture::Load(path);
    if (!picture)
        return;
    if (CMainFrame* frame = FindMainFrame())
        frame->DrawSlide(std::move(picture));
}

void StepManualSlideShow(QWidget* owner, bool show)
{
    const int n = static_cast<int>(g_astrSlides.size());
    if (g_nSlidePos < n) {
        const QString path = g_astrSlides.at(g_nSlidePos);
        ++g_nSlidePos;
        if (show)
            ShowSlide(path);
        return;
    }
    if (WindowSystem().MessageBox(owner, QStringLiteral("You have reached end of the show,Would you like to continue"),
                                  QString(), MB_OKCANCEL) == IDOK)
        g_nSlidePos = 0;
}

void CMainFrame::DrawSlide(std::shared_ptr<const CPicture> picture)
{
    if (!picture)
        return;
    // A drag's outline is drawn and erased by inverting pixels; a picture
    // drawn under it would keep pieces of it, so the picture waits for the
    // drag to end.
    if (m_bDragging) {
        m_pHeldSlide = std::move(picture);
        return;
    }
    // The handles stay where they are, on top of the picture.
    const std::optional<ShownHandles> shown = m_handlesShown;
    HideHandles();
    DrawPictureStretched(*m_pCanvasDC, *picture, 0, 25, View()->width(), View()->height());
    if (shown)
        ShowHandlesAt(*shown);
    Invalidate();
}

void CMainFrame::DrawHeldSlide()
{
    if (m_pHeldSlide && !m_bDragging)
        DrawSlide(std::exchange(m_pHeldSlide, nullptr));
}
