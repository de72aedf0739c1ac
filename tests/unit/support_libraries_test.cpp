#include "runtime/forms/support_libraries.h"

#include <gtest/gtest.h>

#include "runtime/core/runtime_request.h"

namespace forms {
namespace {

int32_t Doubling(int32_t code, uint32_t value1, uint32_t) { return code * 2 + static_cast<int32_t>(value1); }

TEST(SupportLibraries, KeepTheRequestFunctionAndAnswerOtherCodesWithMinusOne) {
  for (const rt::SupportLibrary* library : {&kStandardLibrary, &kTransparentLabelLibrary}) {
    rt::KeepRequestFunction(nullptr);
    ASSERT_NE(library->notify, nullptr);
    EXPECT_EQ(library->notify(rt::kNotifyStart, reinterpret_cast<uint32_t>(&Doubling), 0), 0);
    EXPECT_EQ(rt::LibraryRequest(2030, 1), 4061);  // library code now reaches the runtime
    EXPECT_EQ(library->notify(rt::kNotifyShutDown, 0, 0), -1);
    EXPECT_EQ(library->notify(2, 0, 0), -1);
  }
  rt::KeepRequestFunction(nullptr);
}

}  // namespace
}  // namespace forms
