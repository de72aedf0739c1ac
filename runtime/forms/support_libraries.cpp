#include "runtime/forms/support_libraries.h"

#include "runtime/core/runtime_request.h"

namespace forms {
namespace {

// Both libraries answer the start notification by keeping the runtime's request function, and
// every other code with -1.
int32_t LibraryNotify(int32_t code, uint32_t value1, uint32_t) {
  if (code != rt::kNotifyStart) return -1;
  rt::KeepRequestFunction(reinterpret_cast<rt::RuntimeRequestFunction>(value1));
  return 0;
}

}  // namespace

const rt::SupportLibrary kStandardLibrary = {"standard", 0, nullptr, 0, nullptr, LibraryNotify};
const rt::SupportLibrary kTransparentLabelLibrary = {"transparent label", 0, nullptr, 0, nullptr,
                                                     LibraryNotify};

}  // namespace forms
