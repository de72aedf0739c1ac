// The loading-dialog module after start-up: GDI+ started, the identifier parsed, the class
// registered, and its window procedure's two messages.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/modules/load_dialog_module.h"
#include "app/runtime_calls.h"
#include "app_process.h"
#include "runtime/core/dll_commands.h"
#include "runtime/core/runtime_app.h"

namespace app::testing {
namespace {

constexpr char kClass[] = "ZephlinLoadDialog";
constexpr char kIdentifier[] = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";

TEST(LoadDialogModule, RegistersItsClassForTheExecutable) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(::GetModuleHandleA(nullptr), kClass, &wc));
  EXPECT_EQ(wc.style, 3u);
  EXPECT_EQ(reinterpret_cast<void*>(wc.lpfnWndProc), reinterpret_cast<void*>(&LoadDialogWindowProc));
  EXPECT_EQ(wc.hCursor, ::LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(16));
  EXPECT_EQ(wc.hIcon, nullptr);
  EXPECT_EQ(wc.lpszMenuName, nullptr);
  EXPECT_EQ(wc.cbClsExtra, 0);
  EXPECT_EQ(wc.cbWndExtra, 0);
}

TEST(LoadDialogModule, StartsGdiplusAndParsesTheTimeFrameDimension) {
  EXPECT_NE(GdiplusToken, 0u);
  const uint8_t expected[16] = {0x6D, 0xBD, 0xED, 0x6A, 0xB5, 0x3F, 0x8A, 0x41,
                                0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72};
  ASSERT_EQ(rt::ByteSetLength(TimeFrameDimensionId), 16u);
  EXPECT_EQ(std::memcmp(rt::ByteSetData(TimeFrameDimensionId), expected, 16), 0);
}

TEST(TextToWideByteSet, IsTheUtf16TextWithItsTerminator) {
  const struct {
    const char* text;
    std::wstring wide;
  } rows[] = {{kIdentifier, L"{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}"}, {"", L""}, {"a", L"a"}};
  for (const auto& row : rows) {
    rt::ByteSet bytes = TextToWideByteSet(row.text);
    const std::vector<uint8_t> got(rt::ByteSetData(bytes), rt::ByteSetData(bytes) + rt::ByteSetLength(bytes));
    Release(bytes);
    std::vector<uint8_t> expected((row.wide.size() + 1) * 2, 0);
    std::memcpy(expected.data(), row.wide.c_str(), row.wide.size() * 2);
    EXPECT_EQ(got, expected) << row.text;
  }
  rt::ByteSet identifier = TextToWideByteSet(kIdentifier);
  EXPECT_EQ(rt::ByteSetLength(identifier), 78u);
  Release(identifier);
}

// The release functions the window procedure calls, bound to recorders instead of the system.
std::vector<std::string> released;
BOOL WINAPI RecordTerminateThread(HANDLE thread, DWORD code) {
  released.push_back("TerminateThread " + std::to_string(reinterpret_cast<uintptr_t>(thread)) +
                     " " + std::to_string(code));
  return TRUE;
}
BOOL WINAPI RecordCloseHandle(HANDLE handle) {
  released.push_back("CloseHandle " + std::to_string(reinterpret_cast<uintptr_t>(handle)));
  return TRUE;
}
int WINAPI RecordDisposeImage(void* image) {
  released.push_back("GdipDisposeImage " + std::to_string(reinterpret_cast<uintptr_t>(image)));
  return 0;
}
HGLOBAL WINAPI RecordGlobalFree(HGLOBAL memory) {
  released.push_back("GlobalFree " + std::to_string(reinterpret_cast<uintptr_t>(memory)));
  return nullptr;
}

void* LookUpRecorders(void* library, const char* key) {
  const struct {
    const char* name;
    void* recorder;
  } recorders[] = {{"TerminateThread", reinterpret_cast<void*>(&RecordTerminateThread)},
                   {"CloseHandle", reinterpret_cast<void*>(&RecordCloseHandle)},
                   {"GdipDisposeImage", reinterpret_cast<void*>(&RecordDisposeImage)},
                   {"GlobalFree", reinterpret_cast<void*>(&RecordGlobalFree)}};
  if (reinterpret_cast<uintptr_t>(key) >= 0x10000)
    for (const auto& r : recorders)
      if (std::strcmp(key, r.name) == 0) return r.recorder;
  return rt::kSystemLibraryLoader.lookup(library, key);
}
const rt::LibraryLoader kRecordingLoader = {rt::kSystemLibraryLoader.load, LookUpRecorders,
                                            rt::kSystemLibraryLoader.release};

HWND MakeLoadDialog() {
  return CreateWindowExA(0, kClass, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                         ::GetModuleHandleA(nullptr), nullptr);
}

TEST(LoadDialogWindowProc, ReleasesOnlyWhatItsPropertiesNameInOrder) {
  rt::Runtime().DllCommands().UseLoader(kRecordingLoader);
  released.clear();
  HWND bare = MakeLoadDialog();
  ASSERT_NE(bare, nullptr);
  DestroyWindow(bare);
  EXPECT_TRUE(released.empty()) << released.front();

  HWND full = MakeLoadDialog();
  SetPropA(full, "Zephlin_Thread", reinterpret_cast<HANDLE>(0x111));
  SetPropA(full, "Zephlin_Image", reinterpret_cast<HANDLE>(0x222));
  SetPropA(full, "Zephlin_Stream", reinterpret_cast<HANDLE>(0x333));
  DestroyWindow(full);
  EXPECT_EQ(released, (std::vector<std::string>{"TerminateThread 273 0", "CloseHandle 273",
                                                "GdipDisposeImage 546", "GlobalFree 819"}));

  HWND imageOnly = MakeLoadDialog();
  SetPropA(imageOnly, "Zephlin_Image", reinterpret_cast<HANDLE>(0x444));
  released.clear();
  DestroyWindow(imageOnly);
  EXPECT_EQ(released, (std::vector<std::string>{"GdipDisposeImage 1092"}));
  rt::Runtime().DllCommands().UseLoader(rt::kSystemLibraryLoader);
}

// The caption press that starts a drag is caught before the window system acts on it.
int captionPresses;
WNDPROC classProcedure;
LRESULT CALLBACK CatchCaptionPress(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
    ++captionPresses;
    return 0;
  }
  return CallWindowProcA(classProcedure, window, message, wParam, lParam);
}

TEST(LoadDialogWindowProc, DragsOnALeftButtonPressOnlyWhenHitMoveIsOne) {
  const struct {
    bool set;
    uintptr_t hitMove;
    int presses;
  } rows[] = {{false, 0, 0}, {true, 1, 1}, {true, 2, 0}, {true, 0, 0}};
  for (const auto& row : rows) {
    HWND window = MakeLoadDialog();
    ASSERT_NE(window, nullptr);
    if (row.set) SetPropA(window, "ZephlinHitMove", reinterpret_cast<HANDLE>(row.hitMove));
    classProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CatchCaptionPress)));
    captionPresses = 0;
    EXPECT_EQ(::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)), 0);
    EXPECT_EQ(captionPresses, row.presses) << row.hitMove;
    DestroyWindow(window);
  }
}

}  // namespace
}  // namespace app::testing
