#include "runtime/forms/component_methods.h"

#include "runtime/core/command_arguments.h"
#include "runtime/core/runtime_request.h"
#include "runtime/forms/combo_box.h"
#include "runtime/forms/common_dialog.h"
#include "runtime/forms/component.h"

namespace forms {
namespace {

// The live component the first argument names; an absent one is a runtime error of the request.
Component* Target(int32_t count, const rt::ArgumentRecord* args) {
  const rt::ArgumentRecord component = count > 0 ? args[0] : rt::ArgumentRecord{0, 0, 0};
  return reinterpret_cast<Component*>(
      rt::LibraryRequest(rt::request::RequireLiveObject, component.low, component.high));
}

}  // namespace

void OpenDialog(rt::ResultRecord* result, int32_t count, rt::ArgumentRecord* args) {
  rt::ReturnBool(result, OpenCommonDialog(Target(count, args)));
}

void AddItem(rt::ResultRecord* result, int32_t count, rt::ArgumentRecord* args) {
  const rt::Arguments arguments(count, args);
  Component* combo = Target(count, args);
  rt::ReturnInt(result, AddComboItem(combo, arguments.Text(1), arguments.Present(2),
                                     static_cast<uint32_t>(arguments.Int(2))));
}

}  // namespace forms
