#pragma once
// The live object behind a unit: its native window, the identifiers it was created for, and the
// plumbing every component type shares (taking over the window's messages, raising events,
// announcing its end).

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

namespace forms {

struct OwnProperties;

// A window reflects the notifications of its child controls back to them, as this base plus the
// original message, so that each control handles its own.
inline constexpr UINT kReflectBase = WM_USER + 0x1C00;

class Component {
 public:
  Component(uint32_t windowId, uint32_t unitId) : windowId_(windowId), unitId_(unitId) {}
  virtual ~Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  HWND Window() const { return window_; }
  uint32_t WindowId() const { return windowId_; }
  uint32_t UnitId() const { return unitId_; }
  bool IsLive() const { return window_ != nullptr && IsWindow(window_); }
  // A button stored as its window's default: Enter presses it while no push button has the focus.
  virtual bool IsDefaultButton() const { return false; }

  // The component that owns a native window, or null.
  static Component* FromWindow(HWND window);

  // The type's own property table, and where this object keeps the properties' stored values.
  const OwnProperties* OwnPropertyTable() const { return propertyTable_; }
  void* PropertyValues() const { return propertyValues_; }

 protected:
  // Takes over the native window's messages: Handle sees each one first, the rest reach the
  // window's own procedure. Once the native window is gone the object announces its end and
  // deletes itself.
  void Attach(HWND window);
  void UsePropertyTable(const OwnProperties& table, void* values) {
    propertyTable_ = &table;
    propertyValues_ = values;
  }
  // True when the message was handled and result holds the answer.
  virtual bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);

  // Raises an event with up to five argument words; true when an application handler ran.
  bool RaiseEvent(int32_t number, std::initializer_list<uint32_t> arguments = {});

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  uint32_t windowId_;
  uint32_t unitId_;
  const OwnProperties* propertyTable_ = nullptr;
  void* propertyValues_ = nullptr;
  HWND window_ = nullptr;  // null once the native window is gone
  // The native window's handle as its procedure receives it, kept for the calls still on the
  // stack when the window is destroyed under them.
  HWND handle_ = nullptr;
  WNDPROC original_ = nullptr;
  int32_t depth_ = 0;  // calls of Procedure on the stack
  bool gone_ = false;  // the native window is destroyed
};

// Registers a window class of the runtime's own on first use: the given class styles, the
// default window procedure, the arrow cursor, no background brush.
bool EnsureWindowClass(const wchar_t* name, UINT style);

struct CreateArguments;
// The hidden child window of a component that is never visible (a timer, a common dialog), of a
// class of the runtime's own; null when it cannot be made.
HWND CreateHiddenChildWindow(const wchar_t* className, const CreateArguments& args);

HFONT DefaultGuiFont();

// A window's rectangle in its parent's client coordinates (a top-level window's on the screen).
RECT RectInParent(HWND window);

// A movable global memory block holding a copy of bytes, as the current-data entry point gives
// it out; null when it cannot be had.
HGLOBAL GlobalBlockOf(std::span<const uint8_t> bytes);

// The text of a native window as the window system holds it, its GBK text, and the GBK text set
// into one.
std::wstring WindowTextWide(HWND window);
std::string WindowTextGbk(HWND window);
void SetWindowTextGbk(HWND window, const std::string& text);

}  // namespace forms
