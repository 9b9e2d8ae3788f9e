// The clock automatic slide shows wait on. A show waits its delay after each
// picture; a stop request must end that wait at once, so the clock's waits
// end early when their condition holds after a Wake(). The program runs on
// the steady clock; tests install a virtual one, so no test waits real
// seconds.
#pragma once

#include <chrono>
#include <functional>

class ISlideClock {
public:
    virtual ~ISlideClock() = default;

    // Blocks the calling show for `wait`, or until `stopped()` holds; it is
    // checked at the start and after every Wake(). Returns false when the
    // wait ended because of `stopped`.
    virtual bool Sleep(std::chrono::milliseconds wait, const std::function<bool()>& stopped) = 0;
    // Makes every sleeping show check its condition again.
    virtual void Wake() = 0;
    // A show starts and ends running on this clock (a virtual clock counts
    // them to know when every show is asleep). Any thread.
    virtual void Enter() {}
    virtual void Leave() {}
};

// The clock in force: the steady clock unless a test installed another.
ISlideClock& SlideClock();
// Installs `clock` (not owned); null restores the steady clock. Only while
// no show runs.
void SetSlideClock(ISlideClock* clock);
