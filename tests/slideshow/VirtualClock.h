// A clock for slide-show tests: time stands still until the test moves it,
// and the test can wait until every show is asleep, so a show of any delay
// runs in no real time and every step is the same on every run.
#pragma once

#include "slideshow/SlideClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

class VirtualSlideClock final : public ISlideClock {
public:
    bool Sleep(std::chrono::milliseconds wait, const std::function<bool()>& stopped) override
    {
        std::unique_lock lock(m_mutex);
        Sleeper self{m_now + wait.count(), &stopped};
        m_sleepers.push_back(&self);
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_now >= self.deadline || stopped(); });
        std::erase(m_sleepers, &self);
        m_changed.notify_all();
        return !stopped();
    }
    void Wake() override { Notify([] {}); }
    void Enter() override { Notify([this] { ++m_users; }); }
    void Leave() override { Notify([this] { --m_users; }); }

    long long Now() const { return Locked([this] { return m_now; }); }
    // Shows running on the clock.
    int Users() const { return Locked([this] { return m_users; }); }
    // Blocks until every show sleeps with its wait not over and no stop for
    // it, or none runs. A show that never settles fails the test instead of
    // hanging it.
    void WaitUntilIdle()
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, std::chrono::seconds(60), [this] { return Blocked() == m_users; }))
            ADD_FAILURE() << "the slide shows never all slept";
    }
    // Moves time to the moment the first sleeping show wakes; false when
    // none sleeps.
    bool AdvanceToNextWake()
    {
        std::unique_lock lock(m_mutex);
        std::optional<long long> next;
        for (const Sleeper* s : m_sleepers)
            next = std::min(next.value_or(s->deadline), s->deadline);
        if (!next)
            return false;
        m_now = std::max(m_now, *next);
        m_changed.notify_all();
        return true;
    }
    void Advance(std::chrono::milliseconds by) { Notify([this, by] { m_now += by.count(); }); }

private:
    struct Sleeper {
        long long deadline;
        const std::function<bool()>* stopped;
    };
    template <typename F>
    auto Locked(F f) const -> decltype(f())
    {
        const std::lock_guard lock(m_mutex);
        return f();
    }
    template <typename Change>
    void Notify(Change change)
    {
        Locked(change);
        m_changed.notify_all();
    }
    int Blocked() const
    {
        return static_cast<int>(std::count_if(m_sleepers.begin(), m_sleepers.end(), [this](const Sleeper* s) {
            return m_now < s->deadline && !(*s->stopped)();
        }));
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    long long m_now = 0;
    int m_users = 0;
    std::vector<Sleeper*> m_sleepers;
};
