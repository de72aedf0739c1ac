#include "runtime/forms/message_loop.h"

#include <vector>

#include "runtime/core/runtime_app.h"
#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/keyboard_focus.h"

namespace forms {
namespace {

struct IdleEntry {
  HWND window;
  IdleCallback callback;
  void* argument;
};
std::vector<IdleEntry> idleCallbacks;

// One round of idle work: every callback whose window still exists. False when there is nothing
// more to do until the next message.
bool IdleWork(int32_t) {
  for (size_t i = idleCallbacks.size(); i-- > 0;) {
    if (!IsWindow(idleCallbacks[i].window)) {
      idleCallbacks.erase(idleCallbacks.begin() + static_cast<ptrdiff_t>(i));
      continue;
    }
    idleCallbacks[i].callback(idleCallbacks[i].window, idleCallbacks[i].argument);
  }
  return false;
}

// Keyboard navigation between the components of a loaded window (tab, arrows, mnemonics).
bool NavigationMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || msg.hwnd == nullptr) return false;
  const HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  for (const auto& window : Forms().Windows()) {
    const Component* object = window->units.empty() ? nullptr : LiveObject(window->units[0]);
    if (object != nullptr && object->Window() == top) {
      ShowKeyboardCuesOnKey(top, msg);
      const bool handled = IsDialogMessageW(top, &msg) != FALSE;
      // The dialog manager takes the default look from every button when Tab moves the focus
      // to a control that is not a push button; the window's default button gets it back.
      if (IsWindow(top)) ShowDefaultButton(GetFocus());
      return handled;
    }
  }
  return false;
}

}  // namespace

void AddIdleCallback(HWND window, IdleCallback callback, void* argument) {
  idleCallbacks.push_back({window, callback, argument});
}

void ClearIdleCallbacks() { idleCallbacks.clear(); }

void RunMessageLoop() {
  rt::Runtime().MarkLoopStarted();
  if (!Forms().AnyWindowLoaded()) return;

  MSG msg;
  int32_t idleCount = 0;
  bool idle = true;
  for (;;) {
    while (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
      if (!IdleWork(idleCount++)) idle = false;

    do {
      if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
        rt::Runtime().RememberQuitCode(static_cast<int32_t>(msg.wParam));
        return;
      }
      if (!NavigationMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      idle = true;
      idleCount = 0;
    } while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

}  // namespace forms
