// The resolution written into synthetic executables through the real handler and the live list.

#include <gtest/gtest.h>

#include <fstream>

#include "app/forms/main_form_ids.h"
#include "app/handlers.h"
#include "app/patch_writer.h"
#include "app/program.h"
#include "app/runtime_calls.h"
#include "app_process.h"

namespace app::testing {
namespace {

constexpr size_t kWidthField = 0x4A1474, kHeightField = 0x4A1478, kFieldsEnd = 0x4A147C;

struct Resolution {
  int item;
  Bytes width;
  Bytes height;
};
const Resolution k1440 = {0, {0xA0, 0x05}, {0x84, 0x03}};
const Resolution k1600 = {1, {0x40, 0x06}, {0xB0, 0x04}};
const Resolution k1680 = {2, {0x90, 0x06}, {0x1A, 0x04}};
const Resolution k1920 = {3, {0x80, 0x07}, {0x38, 0x04}};

Bytes With(Bytes content, const Resolution& r) {
  std::copy(r.width.begin(), r.width.end(), content.begin() + kWidthField);
  std::copy(r.height.begin(), r.height.end(), content.begin() + kHeightField);
  return content;
}

// The user's click on 修改 with this item chosen in the list.
void Apply(int32_t file, const Resolution& r) {
  SendMessageW(ComboBoxWindow(), CB_SETCURSEL, r.item, 0);
  const int32_t before = ExecutableFileNumber;
  ExecutableFileNumber = file;
  ApplyResolution(nullptr, 0);
  ExecutableFileNumber = before;
  SendMessageW(ComboBoxWindow(), CB_SETCURSEL, 0, 0);
}

TEST(ApplyResolution, WritesOnlyTheFourFieldBytesOfTheChosenResolution) {
  const Bytes original = Patterned(kFieldsEnd + 64);
  for (const Resolution& r : {k1440, k1600, k1680, k1920}) {
    const std::string path = MakeFile("tovrex.exe", original);
    const int32_t file = OpenForReadWrite(path);
    ASSERT_NE(file, 0);
    Apply(file, r);
    const Bytes once = ReadWholeFile(path);
    EXPECT_EQ(once, With(original, r)) << "item " << r.item;
    Apply(file, r);
    EXPECT_EQ(ReadWholeFile(path), once) << "twice is the same as once, item " << r.item;
  }
}

TEST(ApplyResolution, GoingBackRestoresTheFieldsAndKeepsTheirNeighbours) {
  const Bytes original = Patterned(kFieldsEnd + 64);
  const std::string path = MakeFile("tovrex.exe", original);
  const int32_t file = OpenForReadWrite(path);
  Apply(file, k1920);
  Apply(file, k1440);
  EXPECT_EQ(ReadWholeFile(path), With(original, k1440));
}

TEST(ApplyResolution, WithoutAFileWritesNothing) {
  const Bytes original = Patterned(kFieldsEnd);
  const std::string path = MakeFile("tovrex.exe", original);
  Apply(0, k1920);
  EXPECT_EQ(ReadWholeFile(path), original);
}

// A file too short for a field keeps its length and bytes: the field is never appended.
TEST(ApplyResolution, LeavesAFieldThatTheFileCannotHoldAlone) {
  const struct {
    const char* what;
    size_t length;
    bool widthFits, heightFits;
  } rows[] = {
      {"one byte", 1, false, false},
      {"two bytes", 2, false, false},
      {"ending before the width", kWidthField, false, false},
      {"ending inside the width", kWidthField + 1, false, false},
      {"ending just before the height", kHeightField, true, false},
      {"ending inside the height", kHeightField + 1, true, false},
      {"ending right after the height", kHeightField + 2, true, true},
  };
  for (const auto& row : rows) {
    const Bytes original = Patterned(row.length);
    const std::string path = MakeFile("short.exe", original);
    Apply(OpenForReadWrite(path), k1920);
    Bytes expected = original;
    if (row.widthFits) std::copy(k1920.width.begin(), k1920.width.end(), expected.begin() + kWidthField);
    if (row.heightFits) std::copy(k1920.height.begin(), k1920.height.end(), expected.begin() + kHeightField);
    EXPECT_EQ(ReadWholeFile(path), expected) << row.what;
  }
}

// A file whose whole content cannot be read back (here: too large to hold in memory) is not
// written at all; written back, the short content would overwrite the file's start.
TEST(PatchField, WritesNothingWhenTheFileReadsBackShort) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  const std::string path = std::string(base) + "quenmire-sparse.exe";
  const LONGLONG length = 2000000000;  // within the 32-bit length, beyond this process's memory
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = length;
  ASSERT_TRUE(SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) && SetEndOfFile(handle));
  CloseHandle(handle);

  const int32_t file = OpenForReadWrite(path);
  ASSERT_NE(file, 0);
  rt::Text offset = rt::ConcatTexts({"4a1474"});
  rt::Text value = rt::ConcatTexts({"1920"});
  EXPECT_FALSE(PatchField(file, &offset, &value, 2));
  Release(offset);
  Release(value);

  std::ifstream in(path, std::ios::binary | std::ios::ate);
  EXPECT_EQ(static_cast<LONGLONG>(in.tellg()), length);
  for (const std::streamoff at : {std::streamoff(0), std::streamoff(kWidthField)}) {
    char bytes[2] = {1, 1};
    in.seekg(at);
    in.read(bytes, 2);
    EXPECT_EQ(bytes[0], 0) << at;
    EXPECT_EQ(bytes[1], 0) << at;
  }
  in.close();
  DeleteFileA(path.c_str());
}

TEST(PatchField, RewritesTheOffsetVariableAndKeepsTheValue) {
  const std::string path = MakeFile("fields.exe", Patterned(16));
  const int32_t file = OpenForReadWrite(path);
  rt::Text offset = rt::ConcatTexts({"a"});
  rt::Text value = rt::ConcatTexts({"1440"});
  EXPECT_TRUE(PatchField(file, &offset, &value, 2));
  EXPECT_STREQ(offset, "0xa");
  EXPECT_STREQ(value, "1440");
  Bytes expected = Patterned(16);
  expected[10] = 0xA0;
  expected[11] = 0x05;
  EXPECT_EQ(ReadWholeFile(path), expected);

  rt::Text empty = nullptr;
  EXPECT_FALSE(PatchField(file, &offset, &empty, 2)) << "an empty value writes nothing";
  EXPECT_FALSE(PatchField(0, &offset, &value, 2));
  Release(offset);
  Release(value);
}

}  // namespace
}  // namespace app::testing
