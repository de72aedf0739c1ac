#pragma once
// The form runtime: the window descriptions read from the stored form, the loaded windows and
// their components, property access, event dispatch and the message loop, behind the core's
// window interface.

#include <cstdint>

#include "runtime/core/window_runtime.h"
#include "runtime/forms/form_model.h"

namespace forms {

class FormRuntime final : public rt::WindowRuntime {
 public:
  bool ReadFormData(const uint8_t* block, uint32_t length, const void* codeBase) override;
  void LoadStartWindow(uint32_t windowId) override;
  void RunMessageLoop() override;
  uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int32_t index,
                        int32_t selector) override;
  void WriteProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t selector,
                     uint32_t low, uint32_t high) override;
  void* FindLiveObject(uint32_t windowId, uint32_t unitId) override;
  uint32_t WindowCount() override { return static_cast<uint32_t>(windows_.size()); }
  int32_t Request(int32_t code, uint32_t value1, uint32_t value2) override;
  void ClearIdleCallbacks() override;
  void ClearWindowList() override;

  WindowList& Windows() { return windows_; }
  // Some window description's own unit has a live native window.
  bool AnyWindowLoaded() const;

 private:
  void UnitDestroyed(uint32_t windowId, uint32_t unitId);

  WindowList windows_;
};

// The one form runtime of the process, created on first use and never destroyed: the runtime's
// shut-down still reaches it during static destruction.
FormRuntime& Forms();
// Makes it the core's window runtime; done when the support library is started.
void InstallFormRuntime();

// The unit's live component: it exists and its native window is a valid window.
Component* LiveObject(const Unit& unit);
// The window's own unit for 0, else the unit with that identifier; null when there is none.
Unit* FindUnit(WindowTemplate& window, uint32_t unitId);

}  // namespace forms
