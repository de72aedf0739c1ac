#include "runtime/forms/form_model.h"

namespace forms {

WindowTemplate* FindWindowTemplate(WindowList& windows, uint32_t windowId) {
  for (const std::unique_ptr<WindowTemplate>& window : windows)
    if (window->windowId == windowId) return window.get();
  return nullptr;
}

Unit* UnitRecordAt(WindowTemplate& window, uint32_t index) {
  return index < window.units.size() ? &window.units[index] : nullptr;
}

FoundUnit UnitRecordById(WindowTemplate& window, uint32_t unitId) {
  if (!IsValidUnitId(unitId) || window.units.empty()) return {nullptr, 0};
  // The window's own unit is asked for most; it stands first.
  if (window.units[0].id == unitId) return {&window.units[0], 0};
  for (uint32_t i = 1; i < window.units.size(); ++i)
    if (window.units[i].id == unitId) return {&window.units[i], i};
  return {nullptr, 0};
}

uint32_t UnitIdAt(const WindowTemplate& window, uint32_t index) {
  return index < window.units.size() ? window.units[index].id : 0;
}

}  // namespace forms
