#include "slideshow/SlideClock.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

class SteadySlideClock final : public ISlideClock {
public:
    bool Sleep(std::chrono::milliseconds wait, const std::function<bool()>& stopped) override
    {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        std::unique_lock lock(m_mutex);
        // The condition is read under the lock that Wake() takes, so a stop
        // set just before the wait starts is never missed.
        return !m_wake.wait_until(lock, deadline, stopped);
    }

    void Wake() override
    {
        { const std::lock_guard lock(m_mutex); }
        m_wake.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
};

std::atomic<ISlideClock*> g_installed{nullptr};

}  // namespace

ISlideClock& SlideClock()
{
    static SteadySlideClock steady;
    ISlideClock* installed = g_installed.load();
    return installed ? *installed : steady;
}

void SetSlideClock(ISlideClock* clock)
{
    g_installed.store(clock);
}
