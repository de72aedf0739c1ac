#pragma once
// Event dispatch to application handlers is suspended by a counter, not a lock: while it is
// above 0 no handler runs (a window being loaded, a unit being rebuilt, a report, shut-down).

#include <cstdint>

namespace rt {

// Dispatches every message waiting in this thread's queue; a quit message stays queued.
void HandleWaitingMessages();

void SuspendEvents();  // raise the counter by 1
void ResumeEvents();   // lower it by 1 while above 0
bool EventsSuspended();
int32_t SuspensionCount();

}  // namespace rt
