#include "runtime/forms/component.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/gbk.h"
#include "runtime/core/runtime_request.h"
#include "runtime/forms/component_type.h"
#include "runtime/forms/event_record.h"
#include "runtime/forms/keyboard_focus.h"
#include "runtime/forms/mouse_pointer.h"

namespace forms {
namespace {

constexpr wchar_t kObjectProperty[] = L"Runtime.Component";

}  // namespace

Component* Component::FromWindow(HWND window) {
  return static_cast<Component*>(GetPropW(window, kObjectProperty));
}

void Component::Attach(HWND window) {
  window_ = window;
  handle_ = window;
  SetPropW(window, kObjectProperty, this);
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
}

bool Component::Handle(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Component::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(original_, handle_, message, wParam, lParam);
}

bool Component::RaiseEvent(int32_t number, std::initializer_list<uint32_t> arguments) {
  EventRecord record = {};
  record.windowId = windowId_;
  record.unitId = unitId_;
  record.number = number;
  record.argumentCount = static_cast<uint32_t>(std::min<size_t>(arguments.size(), kMaxEventArguments));
  std::copy_n(arguments.begin(), record.argumentCount, record.arguments);
  return rt::LibraryRequest(rt::request::RaiseEvent, reinterpret_cast<uint32_t>(&record)) != 0;
}

LRESULT CALLBACK Component::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Component* self = FromWindow(window);
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  // A handler run from inside this procedure may destroy the window; the object is deleted only
  // once the outermost call has returned.
  ++self->depth_;
  LRESULT result = 0;
  if (message == WM_NCDESTROY) {
    result = self->CallOriginal(message, wParam, lParam);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->original_));
    RemovePropW(window, kObjectProperty);
    self->window_ = nullptr;
    self->gone_ = true;
    rt::LibraryRequest(rt::request::UnitDestroyed, self->windowId_, self->unitId_);
  } else if (message == WM_SETCURSOR &&
             SetUnitPointer(window, self->windowId_, self->unitId_, wParam, lParam)) {
    result = TRUE;
  } else if (!self->Handle(message, wParam, lParam, result)) {
    result = self->CallOriginal(message, wParam, lParam);
    // Events every visual type raises: -9 after gaining the keyboard focus, -8 after losing it.
    if (message == WM_SETFOCUS) {
      // Noted as the focus arrives: a window disabled for a modal dialog may lose it before it is
      // deactivated, and then has nothing to note.
      NoteFocus(window);
      ShowDefaultButton(window);
      const FocusEvents events = FocusGained(window, reinterpret_cast<HWND>(wParam));
      for (HWND lost : events.lost)
        if (Component* other = lost != nullptr ? FromWindow(lost) : nullptr) other->RaiseEvent(-8);
      if (events.gained) self->RaiseEvent(-9);
    }
    if (message == WM_KILLFOCUS) {
      const HWND next = reinterpret_cast<HWND>(wParam);
      // Into an inner window of another control, which tells nothing of its own.
      if (next != nullptr && FromWindow(next) == nullptr) ShowDefaultButton(next);
      if (FocusLost(window, next)) self->RaiseEvent(-8);
    }
  }
  if (--self->depth_ == 0 && self->gone_) delete self;
  return result;
}

bool EnsureWindowClass(const wchar_t* name, UINT style) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, name, &existing)) return true;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.style = style;
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  cls.lpszClassName = name;
  return RegisterClassExW(&cls) != 0;
}

HWND CreateHiddenChildWindow(const wchar_t* className, const CreateArguments& args) {
  if (!EnsureWindowClass(className, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW)) return nullptr;
  // Never visible, whatever the unit's flags say.
  const DWORD style = (args.baseStyle & ~WS_VISIBLE) | WS_CHILD | WS_CLIPSIBLINGS;
  return CreateWindowExW(0, className, L"", style, args.left, args.top, args.width, args.height,
                         args.parent, reinterpret_cast<HMENU>(args.controlId),
                         GetModuleHandleW(nullptr), nullptr);
}

HFONT DefaultGuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

RECT RectInParent(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HGLOBAL GlobalBlockOf(std::span<const uint8_t> bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::max<size_t>(bytes.size(), 1));
  if (block == nullptr) return nullptr;
  if (void* data = GlobalLock(block)) {
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  return block;
}

std::wstring WindowTextWide(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

std::string WindowTextGbk(HWND window) { return rt::GbkFromWide(WindowTextWide(window).c_str()); }

void SetWindowTextGbk(HWND window, const std::string& text) {
  SetWindowTextW(window, rt::WideFromGbk(text.c_str()).c_str());
}

}  // namespace forms
