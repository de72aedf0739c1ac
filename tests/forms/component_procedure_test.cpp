// The procedure every component puts in front of its native window's own.

#include <gtest/gtest.h>
#include <windows.h>

#include "runtime/forms/component.h"

namespace forms::testing {
namespace {

constexpr UINT kProbe = WM_APP + 7;
constexpr wchar_t kProbeClass[] = L"ComponentProbe";

HWND handleSeenByOriginal = nullptr;
bool originalSawTheProbe = false;

LRESULT CALLBACK OriginalProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) {
    originalSawTheProbe = true;
    handleSeenByOriginal = window;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A component whose handling of the probe destroys its own window and then lets the message go
// on to the window's own procedure, as an event handler that closes the window does.
class EndsItsWindowFirst final : public Component {
 public:
  explicit EndsItsWindowFirst(HWND window) : Component(0x52010001, 0x16016C5B) { Attach(window); }

 protected:
  bool Handle(UINT message, WPARAM, LPARAM, LRESULT&) override {
    if (message == kProbe) DestroyWindow(Window());
    return false;
  }
};

TEST(ComponentProcedure, TheOriginalProcedureGetsTheWindowsOwnHandleAfterANestedDestruction) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = &OriginalProcedure;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = kProbeClass;
  RegisterClassExW(&cls);
  const HWND window = CreateWindowExW(0, kProbeClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  new EndsItsWindowFirst(window);  // deletes itself once its window is gone

  SendMessageW(window, kProbe, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(originalSawTheProbe);
  EXPECT_EQ(handleSeenByOriginal, window);
}

}  // namespace
}  // namespace forms::testing
