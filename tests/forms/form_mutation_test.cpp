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
#include "list_with_a_window.h"
#include "runtime/forms/form_reader.h"

namespace forms {
namespace {

using testing::GuardedBlock;
using testing::ListWithAWindow;

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

// The offsets are dealt out to kShards runs (offset modulo kShards), which ctest starts side by
// side; each run still meets every part of the form, so each sees both outcomes.
constexpr uint32_t kShards = 4;

class MainFormMutations : public ::testing::TestWithParam<uint32_t> {};

TEST_P(MainFormMutations, EveryValueAtEveryOffsetIsReadWholeOrRefused) {
  const uint32_t shard = GetParam();
  GuardedBlock block({app::kMainFormData, app::kMainFormDataLength});
  ASSERT_TRUE(block.Guarded());
  uint8_t* bytes = block.Data();
  uint32_t read = 0, refused = 0;
  for (uint32_t offset = shard; offset < block.Length(); offset += kShards) {
    const uint8_t original = bytes[offset];
    for (int value = 0; value < 256; ++value) {
      if (value == original) continue;
      bytes[offset] = static_cast<uint8_t>(value);
      ListWithAWindow windows;
      if (windows.Read({bytes, block.Length()}, &app::kHandlerTable)) {
        ASSERT_TRUE(windows.WindowsAdded()) << "offset " << offset << ", value " << value;
        ++read;
      } else {
        ASSERT_TRUE(windows.Unchanged()) << "offset " << offset << ", value " << value;
        ++refused;
      }
    }
    bytes[offset] = original;
  }
  std::printf("shard %u: %u changed forms read whole, %u refused\n", shard, read, refused);
  // A reader that refuses every change, or takes every one, is not judging the form.
  EXPECT_GT(read, 0u) << "no changed form was read whole";
  EXPECT_GT(refused, 0u) << "no changed form was refused";
}

INSTANTIATE_TEST_SUITE_P(Shards, MainFormMutations, ::testing::Range(0u, kShards));

}  // namespace
}  // namespace forms
