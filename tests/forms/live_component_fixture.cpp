#include "live_component_fixture.h"

#include <cstring>

#include "runtime/core/runtime_request.h"

namespace forms::testing {
namespace {

constexpr wchar_t kParentClass[] = L"FormsTestParent";

int32_t Capture(int32_t code, uint32_t value1, uint32_t value2) {
  if (code == rt::request::RaiseEvent)
    RequestLog::Events().push_back(*reinterpret_cast<const EventRecord*>(value1));
  if (code == rt::request::UnitDestroyed) RequestLog::Ends().push_back({value1, value2});
  return 0;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<EventRecord>& RequestLog::Events() {
  static std::vector<EventRecord> events;
  return events;
}

std::vector<Announcement>& RequestLog::Ends() {
  static std::vector<Announcement> ends;
  return ends;
}

void RequestLog::Start() {
  Events().clear();
  Ends().clear();
  rt::KeepRequestFunction(&Capture);
}

void RequestLog::Stop() { rt::KeepRequestFunction(nullptr); }

TypeEntries::TypeEntries(const ComponentTypeRecord& type)
    : create(reinterpret_cast<CreateFunction>(type.unitInterface(unit_code::Create))),
      write(reinterpret_cast<WritePropertyFunction>(type.unitInterface(unit_code::WriteProperty))),
      currentData(
          reinterpret_cast<CurrentDataFunction>(type.unitInterface(unit_code::CurrentData))),
      read(reinterpret_cast<ReadPropertyFunction>(type.unitInterface(unit_code::ReadProperty))) {}

// One parent for the whole run: Wine takes two seconds to destroy a visible top-level window when
// no window manager answers.
HWND LiveComponentTest::SharedParent() {
  static HWND parent = nullptr;
  if (parent != nullptr) return parent;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kParentClass;
  RegisterClassExW(&cls);
  parent = CreateWindowExW(0, kParentClass, L"parent", WS_POPUP | WS_VISIBLE, 0, 0, kParentWidth,
                           kParentHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  UpdateWindow(parent);
  return parent;
}

void LiveComponentTest::SetUp() {
  parent_ = SharedParent();
  ASSERT_NE(parent_, nullptr);
  RequestLog::Start();
}

void LiveComponentTest::TearDown() {
  std::vector<HWND> children;
  EnumChildWindows(parent_, &CollectWindow, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children)
    if (IsWindow(child)) DestroyWindow(child);
  RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PumpFor(0);
  RequestLog::Stop();
}

CreateArguments LiveComponentTest::ArgumentsFor(std::span<const uint8_t> typeData, RECT area,
                                                uint32_t unitId) const {
  CreateArguments args{};
  args.typeData = typeData.data();
  args.typeDataLength = static_cast<uint32_t>(typeData.size());
  args.baseStyle = WS_VISIBLE;
  args.parent = parent_;
  args.controlId = 1;
  args.left = area.left;
  args.top = area.top;
  args.width = area.right - area.left;
  args.height = area.bottom - area.top;
  args.windowId = kTestWindowId;
  args.unitId = unitId;
  return args;
}

int LiveComponentTest::ChildCount() const {
  std::vector<HWND> children;
  EnumChildWindows(parent_, &CollectWindow, reinterpret_cast<LPARAM>(&children));
  return static_cast<int>(children.size());
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
  }
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

std::vector<uint8_t> BytesOf(HGLOBAL block) {
  std::vector<uint8_t> bytes;
  if (block == nullptr) return bytes;
  bytes.resize(GlobalSize(block));
  if (const void* data = GlobalLock(block)) {
    std::memcpy(bytes.data(), data, bytes.size());
    GlobalUnlock(block);
  }
  GlobalFree(block);
  return bytes;
}

}  // namespace forms::testing
