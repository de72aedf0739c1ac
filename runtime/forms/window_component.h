#pragma once
// The window type: a top-level window of class "PvWindow" (or a class the form names) that
// holds the components, paints its own background and reports loading, closing, moving and
// resizing as events.

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "runtime/forms/component.h"
#include "runtime/forms/component_type.h"
#include "runtime/forms/property_table.h"

namespace forms {

extern const ComponentTypeRecord kWindowType;

class WindowComponent final : public Component {
 public:
  struct Properties {
    std::string title;           // 8
    uint32_t borderStyle = 2;    // 9
    uint32_t background = 0xFF000000;  // 10: the system's button-face colour
    std::vector<uint8_t> picture;      // 11
    uint32_t pictureMode = 1;    // 12
    std::vector<uint8_t> data13;  // 13
    uint32_t value14 = 0;        // 14
    uint32_t controlBox = 1;     // 15
    uint32_t maximizeBox = 0;    // 16
    uint32_t minimizeBox = 1;    // 17
    uint32_t startPosition = 1;  // 18
    uint32_t closeBox = 1;       // 19
    std::vector<uint8_t> icon;   // 20: an icon file
    uint32_t value21 = 0, value22 = 1, value23 = 0;  // 21-23
    std::string text24;          // 24
    uint32_t value25 = 0;        // 25
    uint32_t showInTaskBar = 1;  // 26
    uint32_t value27 = 0;        // 27
    uint32_t value28 = 0;        // 28
    uint32_t alwaysOnTop = 0;    // 29
    uint32_t value30 = 0;        // 30
    std::string className;       // 31
  };

  WindowComponent(uint32_t windowId, uint32_t unitId, Properties properties)
      : Component(windowId, unitId), properties_(std::move(properties)) {
    UsePropertyTable(kOwn, &properties_);
  }
  ~WindowComponent() override;

  static Component* Create(const CreateArguments& args);
  static HGLOBAL CurrentData(Component* object);

  static const PropertyRow kRows[];
  static const OwnProperties kOwn;

  // How the window is shown when loading is over: minimized or maximized as its start position
  // says, else normally.
  int ShowCommand() const;

  // The control that had the keyboard focus last (its unit), given it back on activation.
  void RememberFocus(uint32_t unitId) { focusUnit_ = unitId; }
  uint32_t FocusUnit() const { return focusUnit_; }
  // The control that lost the focus when the window went inactive, until the focus is back.
  void SetAside(HWND control) { setAside_ = control; }
  HWND TakeSetAside() { return std::exchange(setAside_, nullptr); }

 protected:
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void ApplyFrame();
  void ApplyIcons();
  void ApplyCloseBox();
  void ApplyStartPosition();
  void ApplyAlwaysOnTop();
  void ShowTitle();
  void Redraw();
  RawValue LiveTitle();
  RawValue LiveStartPosition();
  void PaintBackground(HDC dc, const RECT& area) const;

  Properties properties_;
  bool topLevel_ = true;
  HICON largeIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  uint32_t focusUnit_ = 0;  // none yet
  HWND setAside_ = nullptr;
};

// The styles a window with these properties gets (style, extended style).
struct WindowStyles {
  DWORD style;
  DWORD exStyle;
};
WindowStyles StylesOf(const WindowComponent::Properties& properties, DWORD baseStyle,
                      bool topLevel);

}  // namespace forms
