// Pictures as components store them: icon, cursor and bitmap files, whole or damaged. Every file
// is decoded from a copy that ends at an inaccessible page, so a read past its end faults.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/picture_data.h"
#include "runtime/forms/window_loader.h"
#include "runtime/core/memory.h"
#include "tests/forms/form_harness.h"
#include "tests/forms/guarded_block.h"
#include "tests/forms/picture_files.h"

namespace forms::testing {
namespace {

Picture DecodeGuarded(const std::vector<uint8_t>& file) {
  GuardedBlock block(file);
  EXPECT_TRUE(block.Guarded());
  return DecodePicture({block.Data(), block.Length()});
}

TEST(PictureData, IconAndCursorFilesBecomeIconsAndACursorKeepsItsHotspot) {
  Picture icon = DecodeGuarded(IconOrCursorFile(1));
  ASSERT_NE(icon.handle, nullptr);
  EXPECT_TRUE(icon.isIcon);
  DestroyPicture(icon);

  Picture cursor = DecodeGuarded(IconOrCursorFile(2, 5, 7));
  ASSERT_NE(cursor.handle, nullptr) << "a cursor file was dropped";
  EXPECT_TRUE(cursor.isIcon);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(static_cast<HICON>(cursor.handle), &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 7u);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyPicture(cursor);
  EXPECT_EQ(cursor.handle, nullptr);
}

struct BitmapCase {
  const char* what;
  BitmapShape shape;
  bool kept;
};

TEST(PictureData, BitmapHeadersAreCheckedAgainstTheData) {
  const BitmapCase cases[] = {
      {"24 bits", {}, true},
      {"8 bits with its full colour table", {.bitCount = 8}, true},
      {"8 bits with a short table it says so", {.bitCount = 8, .coloursUsed = 16}, true},
      {"16 bits with its bit fields", {.bitCount = 16, .compression = BI_BITFIELDS, .maskBytes = 12}, true},
      {"a top-down bitmap", {.height = -8}, true},
      {"a header below the info header", {.headerSize = 12}, false},
      {"a header beyond the file", {.headerSize = 0x7FFFFFF0}, false},
      {"a header running into the pixels", {.headerSize = 1000}, false},
      {"a colour table beyond the file", {.bitCount = 8, .coloursUsed = 0x01000000, .tableEntries = 0}, false},
      {"a colour table cut short", {.bitCount = 8, .tableEntries = 16}, false},
      {"bit fields missing", {.bitCount = 16, .compression = BI_BITFIELDS}, false},
      {"an unknown bit count", {.bitCount = 7}, false},
      {"no width", {.width = 0}, false},
      {"a compression it cannot check", {.compression = BI_JPEG}, false},
      // Rows times stride passes 2^63 and wraps negative: never taken as fitting.
      {"rows of 2^33 bytes, 2^31 - 1 of them", {.width = 0x7FFFFFFF, .height = 0x7FFFFFFF, .bitCount = 32, .pixelBytes = 64}, false},
      {"the same top-down", {.width = 0x7FFFFFFF, .height = -0x7FFFFFFF, .bitCount = 32, .pixelBytes = 64}, false},
      {"the lowest height", {.width = 0x7FFFFFFF, .height = INT32_MIN, .bitCount = 32, .pixelBytes = 64}, false},
      {"24-bit rows", {.width = 0x7FFFFFFF, .height = 0x60000000, .bitCount = 24, .pixelBytes = 64}, false},
  };
  for (const BitmapCase& c : cases) {
    const std::vector<uint8_t> file = BitmapFile(c.shape);
    {
      GuardedBlock block(file);
      // Refused by the check itself, not only by the system.
      EXPECT_EQ(BitmapFileFits({block.Data(), block.Length()}), c.kept) << c.what;
    }
    Picture picture = DecodeGuarded(file);
    EXPECT_EQ(picture.handle != nullptr, c.kept) << c.what;
    EXPECT_FALSE(picture.isIcon) << c.what;
    if (picture.handle != nullptr) {
      BITMAP bitmap{};
      ASSERT_TRUE(GetObjectW(picture.handle, sizeof bitmap, &bitmap)) << c.what;
      EXPECT_EQ(bitmap.bmWidth, c.shape.width) << c.what;
    }
    DestroyPicture(picture);
  }
}

TEST(PictureData, EveryTruncationOfAPictureIsDropped) {
  for (const std::vector<uint8_t>& file : {IconOrCursorFile(1), IconOrCursorFile(2, 3, 4),
                                           BitmapFile({.bitCount = 8})}) {
    for (size_t length = 0; length < file.size(); ++length) {
      Picture picture = DecodeGuarded({file.begin(), file.begin() + length});
      EXPECT_EQ(picture.handle, nullptr) << "kept at length " << length << " of " << file.size();
      DestroyPicture(picture);
    }
  }
}

// A button whose stored picture is a cursor shows it; one whose picture is damaged shows its
// caption and reads back no picture.
TEST(PictureData, AButtonShowsACursorPictureAndDropsADamagedOne) {
  rt::UseProcessHeap();
  InstallRuntime();
  constexpr uint32_t kCursorButton = 0x16016C58, kDamagedButton = 0x16016C56;
  std::vector<Unit> units;
  units.push_back(MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                           WindowData("图片")));
  units.push_back(MakeUnit(kCursorButton, kButtonType, "按钮2", {10, 10, 80, 40}, 5,
                           ButtonData("指针", IconOrCursorFile(2, 9, 11))));
  units.push_back(MakeUnit(kDamagedButton, kButtonType, "按钮6", {10, 60, 80, 40}, 5,
                           ButtonData("坏图", BitmapFile({.headerSize = 0x7FFFFFF0}))));
  WindowTemplate& window = UseWindow(std::move(units));
  ASSERT_TRUE(LoadWindow(window, 0, false, nullptr));

  const HWND withCursor = static_cast<Component*>(Forms().FindLiveObject(kWindowId, kCursorButton))->Window();
  EXPECT_TRUE(GetWindowLongW(withCursor, GWL_STYLE) & BS_ICON);
  const auto shown = reinterpret_cast<HICON>(SendMessageW(withCursor, BM_GETIMAGE, IMAGE_ICON, 0));
  ASSERT_NE(shown, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(shown, &info));
  EXPECT_EQ(info.xHotspot, 9u);
  EXPECT_EQ(info.yHotspot, 11u);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  const HWND damaged = static_cast<Component*>(Forms().FindLiveObject(kWindowId, kDamagedButton))->Window();
  EXPECT_FALSE(GetWindowLongW(damaged, GWL_STYLE) & (BS_ICON | BS_BITMAP));
  EXPECT_EQ(SendMessageW(damaged, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  const auto* picture = reinterpret_cast<const uint32_t*>(
      static_cast<uint32_t>(Forms().ReadProperty(kWindowId, kDamagedButton, 8, -1)));
  EXPECT_EQ(picture, nullptr) << "a dropped picture reads back as none";
  rt::Free(const_cast<uint32_t*>(picture));
  ClearWindows();
}

}  // namespace
}  // namespace forms::testing
