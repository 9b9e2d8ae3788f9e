// Calls that other threads hand to the user-interface thread. They run
// there, from the event loop, in the order they were posted. The hand-over
// goes through a lock and a pipe of our own rather than the toolkit's event
// queue, so a thread checker sees every hand-over and everything that went
// with it.
#pragma once

#include <functional>

// Makes the queue ready; call on the user-interface thread once the
// application object exists (later calls do nothing). The queue goes with
// the application object.
void InstallUserInterfaceQueue();

// Any thread: `call` runs on the user-interface thread after the calls
// posted before it. Nothing runs, and false is returned, when no queue is
// installed.
bool PostToUserInterface(std::function<void()> call);

// Drops the calls not run yet (their owners are going away).
void DiscardUserInterfaceCalls();
