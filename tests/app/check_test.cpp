// The main window after start-up, and the executable check through the real handlers and the
// live components.

#include <gtest/gtest.h>

#include "app/forms/main_form_ids.h"
#include "app/handlers.h"
#include "app/program.h"
#include "app/runtime_calls.h"
#include "app_process.h"
#include "runtime/core/gbk.h"

namespace app::testing {
namespace {

std::string Caption() { return TakeText(ReadTextProperty(unit::TransparentLabel1, property::LabelCaption)); }
int32_t Colour() { return ReadIntProperty(unit::TransparentLabel1, property::LabelColour); }
int32_t ComboDisabled() { return ReadIntProperty(unit::ComboBox1, property::Disabled); }
std::string EditContent() { return TakeText(ReadTextProperty(unit::EditBox1, property::EditContent)); }

std::wstring ItemText(HWND combo, int index) {
  wchar_t text[64] = {};
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST(MainWindow, IsFilledByItsLoadHandler) {
  HWND combo = ComboBoxWindow();
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(ItemText(combo, 0), L"1440 x 900");
  EXPECT_EQ(ItemText(combo, 1), L"1600 x 1200");
  EXPECT_EQ(ItemText(combo, 2), L"1680 x 1050");
  EXPECT_EQ(ItemText(combo, 3), L"1920 x 1080");
  EXPECT_EQ(rt::WideFromGbk(TakeText(ReadTextProperty(unit::CommonDialog1, property::DialogFilter)).c_str()),
            L"Quenmire导演剪辑版执行程序tovrex.exe|tovrex.exe");
}

TEST(CheckSignatureTick, EndsEachTickAsTheStateBeforeItDecides) {
  const struct {
    const char* value;
    int32_t disabledBefore;
    const wchar_t* caption;
    int32_t colour;
    int32_t disabledAfter;
  } rows[] = {
      {"1701996868", 1, L"通过！", 0xFF00, 0},
      {"1701996868", 0, L"通过！", 0xFF00, 0},
      {"0", 1, L"请加载tovrex.exe", 0, 1},  // the red text is written, then the black over it
      {"-1", 0, L"未通过，可能不是导演剪辑版", 255, 0},
      {"17019968680", 0, L"未通过，可能不是导演剪辑版", 255, 0},  // compared whole, not as a prefix
      {"", 1, L"请加载tovrex.exe", 0, 1},
  };
  for (const auto& row : rows) {
    WriteTextProperty(unit::EditBox1, property::EditContent, row.value);
    WriteIntProperty(unit::ComboBox1, property::Disabled, row.disabledBefore);
    CheckSignatureTick(nullptr, 0);
    EXPECT_EQ(rt::WideFromGbk(Caption().c_str()), row.caption) << row.value << " " << row.disabledBefore;
    EXPECT_EQ(Colour(), row.colour) << row.value << " " << row.disabledBefore;
    EXPECT_EQ(ComboDisabled(), row.disabledAfter) << row.value << " " << row.disabledBefore;
    EXPECT_EQ(IsWindowEnabled(ComboBoxWindow()) == FALSE, row.disabledAfter == 1);
  }
}

TEST(ReadSignature, PutsTheValueAtTheSignatureOffsetIntoTheEditBox) {
  constexpr size_t kOffset = 0x3AC220;
  Bytes passing = Patterned(kOffset + 15);
  const uint8_t signature[] = {0x44, 0x69, 0x72, 0x65};
  std::copy(std::begin(signature), std::end(signature), passing.begin() + kOffset);
  Bytes negative = Patterned(kOffset + 4);
  std::fill(negative.begin() + kOffset, negative.end(), 0xFF);

  const struct {
    const char* what;
    int32_t file;
    const char* value;
  } rows[] = {
      {"no file loaded", 0, "0"},
      {"the signature", OpenForReadWrite(MakeFile("pass.exe", passing)), "1701996868"},
      {"four 0xFF bytes", OpenForReadWrite(MakeFile("negative.exe", negative)), "-1"},
      {"a file ending before the offset", OpenForReadWrite(MakeFile("short.exe", Patterned(kOffset))), "0"},
  };
  const int32_t before = ExecutableFileNumber;
  for (const auto& row : rows) {
    ExecutableFileNumber = row.file;
    for (int click = 0; click < 2; ++click) {  // the same value on every click
      WriteTextProperty(unit::EditBox1, property::EditContent, "x");
      ReadSignature(nullptr, 0);
      EXPECT_EQ(EditContent(), row.value) << row.what;
    }
  }
  ExecutableFileNumber = before;
}

}  // namespace
}  // namespace app::testing
