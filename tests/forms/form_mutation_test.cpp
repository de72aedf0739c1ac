// MainForm's stored description with every byte set to every other value, read from a copy
// that ends at an inaccessible page: the reader must never look past the block's end (that would
// fault at once), and each changed form is either read whole or refused with the window list
// left as it was - the refusal is what the runtime reports as its form-data error.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "app/forms/form_data.h"
#include "app/handler_table.h"
#include "guarded_block.h"
#include "runtime/forms/form_reader.h"

namespace forms {
namespace {

using testing::GuardedBlock;

// A list that already holds a window, so that a refused read can be seen to leave it alone.
struct Windows {
  WindowList list;
  WindowTemplate* existing;
  Windows() : existing(new WindowTemplate) { list.emplace_back(existing); }
  bool Unchanged() const { return list.size() == 1 && list[0].get() == existing; }
  // Read whole: what was there stays first, and every window added has its own unit at least.
  bool WindowsAdded() const {
    if (list.empty() || list[0].get() != existing) return false;
    for (size_t i = 1; i < list.size(); ++i)
      if (list[i]->units.empty()) return false;
    return true;
  }
};

TEST(GuardedBlock, EndsWhereAnInaccessiblePageBegins) {
  const uint8_t bytes[] = {1, 2, 3, 4, 5};
  GuardedBlock block(bytes);
  ASSERT_TRUE(block.Guarded());
  EXPECT_EQ(std::memcmp(block.Data(), bytes, sizeof bytes), 0);
  MEMORY_BASIC_INFORMATION after, inside;
  ASSERT_NE(VirtualQuery(block.Data() + block.Length(), &after, sizeof after), 0u);
  ASSERT_NE(VirtualQuery(block.Data(), &inside, sizeof inside), 0u);
  EXPECT_EQ(after.BaseAddress, block.Data() + block.Length());
  EXPECT_EQ(after.Protect, static_cast<DWORD>(PAGE_NOACCESS));
  EXPECT_EQ(inside.Protect, static_cast<DWORD>(PAGE_READWRITE));
}

TEST(MainFormMutations, EveryValueAtEveryOffsetIsReadWholeOrRefused) {
  GuardedBlock block({app::kMainFormData, app::kMainFormDataLength});
  ASSERT_TRUE(block.Guarded());
  uint8_t* bytes = block.Data();
  uint32_t read = 0, refused = 0;
  for (uint32_t offset = 0; offset < block.Length(); ++offset) {
    const uint8_t original = bytes[offset];
    for (int value = 0; value < 256; ++value) {
      if (value == original) continue;
      bytes[offset] = static_cast<uint8_t>(value);
      Windows windows;
      if (ReadFormData(bytes, block.Length(), &app::kHandlerTable, windows.list)) {
        ASSERT_TRUE(windows.WindowsAdded()) << "offset " << offset << ", value " << value;
        ++read;
      } else {
        ASSERT_TRUE(windows.Unchanged()) << "offset " << offset << ", value " << value;
        ++refused;
      }
    }
    bytes[offset] = original;
  }
  std::printf("%u changed forms read whole, %u refused\n", read, refused);
}

}  // namespace
}  // namespace forms
