#include "runtime/core/event_suspension.h"

#include <windows.h>

#include <atomic>

namespace rt {
namespace {
// A report on another thread raises it while the GUI thread raises and lowers it.
std::atomic<int32_t> suspension = 0;
}

void HandleWaitingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    if (msg.message == WM_QUIT) {  // arrived between the two looks: keep it for the loop
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void SuspendEvents() { ++suspension; }

void ResumeEvents() {
  int32_t count = suspension.load();
  while (count > 0 && !suspension.compare_exchange_weak(count, count - 1)) {
  }
}

bool EventsSuspended() { return suspension > 0; }

int32_t SuspensionCount() { return suspension; }

}  // namespace rt
