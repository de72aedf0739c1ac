#include "runtime/core/hidden_owner_window.h"

#include <windows.h>

#include "runtime/core/runtime_app.h"

namespace rt {
namespace {

constexpr char kClassName[] = "_Kw_HideOwner";

LRESULT CALLBACK HiddenOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kExitRequestMessage) Runtime().Exit(static_cast<int32_t>(wParam));
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void* CreateHiddenOwnerWindow() {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HiddenOwnerProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);  // already registered by an earlier start-up: still usable
  return CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                         instance, nullptr);
}

void DestroyHiddenOwnerWindow(void* window) {
  if (window != nullptr && IsWindow(static_cast<HWND>(window)))
    DestroyWindow(static_cast<HWND>(window));
}

}  // namespace rt
