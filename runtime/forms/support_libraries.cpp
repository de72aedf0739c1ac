#include "runtime/forms/support_libraries.h"

#include "runtime/core/runtime_request.h"
#include "runtime/forms/button.h"
#include "runtime/forms/combo_box.h"
#include "runtime/forms/command_table.h"
#include "runtime/forms/common_dialog.h"
#include "runtime/forms/edit_box.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/timer.h"
#include "runtime/forms/transparent_label.h"
#include "runtime/forms/window_component.h"

namespace forms {
namespace {

// Both libraries answer the start notification by keeping the runtime's request function and
// putting the form runtime in place before the stored form is read; every other code gets -1.
int32_t LibraryNotify(int32_t code, uint32_t value1, uint32_t) {
  if (code != rt::kNotifyStart) return -1;
  rt::KeepRequestFunction(reinterpret_cast<rt::RuntimeRequestFunction>(value1));
  InstallFormRuntime();
  return 0;
}

// The standard library's component types by type number; the rows this program has no use
// for are empty.
const ComponentTypeRecord* const kStandardTypes[] = {
    &kWindowType,                                  // 1
    nullptr, nullptr, nullptr, &kEditBoxType,      // 2-5
    nullptr, nullptr, nullptr, nullptr, nullptr,   // 6-10
    &kButtonType, nullptr, nullptr, &kComboBoxType,  // 11-14
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,  // 15-22
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,  // 23-30
    &kCommonDialogType,  // 31
    &kTimerType,         // 32
};

const ComponentTypeRecord* const kTransparentLabelTypes[] = {
    nullptr, nullptr, nullptr, nullptr,  // 1-4
    &kTransparentLabelType,  // 5
};

}  // namespace

const rt::SupportLibrary kStandardLibrary = {
    "standard", sizeof kStandardTypes / sizeof kStandardTypes[0], kStandardTypes, kCommandCount,
    kCommandTable, LibraryNotify};
const rt::SupportLibrary kTransparentLabelLibrary = {
    "transparent label", sizeof kTransparentLabelTypes / sizeof kTransparentLabelTypes[0],
    kTransparentLabelTypes, 0, nullptr, LibraryNotify};

}  // namespace forms
