#pragma once
// A window list that already holds a window before a form is read into it: a refused read must
// leave it as it was, a successful one adds its windows behind the one that was there.

#include <cstdint>
#include <memory>
#include <span>

#include "runtime/forms/form_model.h"
#include "runtime/forms/form_reader.h"

namespace forms::testing {

struct ListWithAWindow {
  WindowList list;
  WindowTemplate* existing;

  ListWithAWindow() {
    list.push_back(std::make_unique<WindowTemplate>());
    existing = list[0].get();
    existing->windowId = 0x11111111;
  }
  bool Read(std::span<const uint8_t> block, const HandlerTable* handlers) {
    return ReadFormData(block.data(), static_cast<uint32_t>(block.size()), handlers, list);
  }
  bool Unchanged() const { return list.size() == 1 && list[0].get() == existing; }
  // Read whole: what was there stays first, and every window added has its own unit at least.
  bool WindowsAdded() const {
    if (list.empty() || list[0].get() != existing) return false;
    for (size_t i = 1; i < list.size(); ++i)
      if (list[i]->units.empty()) return false;
    return true;
  }
};

}  // namespace forms::testing
