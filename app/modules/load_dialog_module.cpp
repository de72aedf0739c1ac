#include "app/modules/load_dialog_module.h"

#include <cstring>

#include "app/constants.h"
#include "app/runtime_calls.h"

namespace app {

uint32_t GdiplusToken = 0;
rt::ByteSet TimeFrameDimensionId = nullptr;

namespace {

using forms::CommandIndex;

// WNDCLASSEXA, as the window system reads it.
struct WindowClassRecord {
  uint32_t size;
  uint32_t style;
  void* windowProcedure;
  int32_t classExtra;
  int32_t windowExtra;
  uint32_t instance;
  uint32_t icon;
  uint32_t cursor;
  uint32_t background;
  const char* menuName;
  const char* className;
  uint32_t smallIcon;
};
static_assert(sizeof(WindowClassRecord) == 48);

struct GdiplusStartupInput {
  uint32_t version;
  uint32_t debugEventCallback;
  uint32_t suppressBackgroundThread;
  uint32_t suppressExternalCodecs;
};
static_assert(sizeof(GdiplusStartupInput) == 16);

constexpr uint32_t kVerticalRedraw = 2, kHorizontalRedraw = 1;  // CS_VREDRAW, CS_HREDRAW
constexpr uint32_t kArrowCursor = 32512;                        // IDC_ARROW
constexpr uint32_t kButtonFaceBrush = 16;                       // COLOR_BTNFACE + 1
constexpr uint32_t kAnsiCodePage = 0;

constexpr uint32_t kDestroy = 0x0002;             // WM_DESTROY
constexpr uint32_t kLeftButtonDown = 0x0201;      // WM_LBUTTONDOWN
constexpr uint32_t kCaptionButtonDown = 0x00A1;   // WM_NCLBUTTONDOWN
constexpr uint32_t kCaption = 2;                  // HTCAPTION

// A zero-filled block of the runtime's heap.
void* AllocateCleared(uint32_t size) {
  void* block = services.Allocate(size);
  std::memset(block, 0, size);
  return block;
}

uint32_t WindowProperty(uint32_t window, const char* name) {
  return CallDll(GetPropA, {window, Word(name)});
}

}  // namespace

int32_t LoadDialogModuleInit() {
  RegisterLoadDialogClass();
  return 0;
}

int32_t RegisterLoadDialogClass() {
  auto* record = static_cast<WindowClassRecord*>(AllocateCleared(sizeof(WindowClassRecord)));
  StartGdiplus();

  Release(TimeFrameDimensionId);
  TimeFrameDimensionId = CallByteSet(CommandIndex::MakeBlankByteSet, {IntArg(16)});
  rt::ByteSet identifier = TextToWideByteSet(kConstants.frameDimensionTime);
  CallDll(CLSIDFromString, {Word(rt::ByteSetData(identifier)),
                            Word(rt::ByteSetData(TimeFrameDimensionId))});
  Release(identifier);

  record->size = CallDll(LocalSize, {Word(record)});
  record->style = static_cast<uint32_t>(
      CallInt(CommandIndex::BitOr, {IntArg(kVerticalRedraw), IntArg(kHorizontalRedraw)}));
  record->instance = CallDll(GetModuleHandleA, {0});
  record->icon = 0;
  record->cursor = CallDll(LoadCursorA, {0, kArrowCursor});
  record->background = kButtonFaceBrush;
  record->className = kConstants.loadDialogClass;
  record->windowProcedure = reinterpret_cast<void*>(&LoadDialogWindowProc);
  const uint32_t atom = CallDll(RegisterClassExA, {Word(record)});  // a failure goes unnoticed
  Release(record);
  return static_cast<int32_t>(atom);
}

int32_t StartGdiplus() {
  auto* input = static_cast<GdiplusStartupInput*>(AllocateCleared(sizeof(GdiplusStartupInput)));
  input->version = 1;
  // Never shut down: GDI+ stays up until the process ends.
  const uint32_t status = CallDll(GdiplusStartup, {Word(&GdiplusToken), Word(input), 0});
  Release(input);
  return static_cast<int32_t>(status);
}

rt::ByteSet TextToWideByteSet(const char* text) {
  const auto characters = static_cast<int32_t>(
      CallDll(MultiByteToWideChar, {kAnsiCodePage, 0, Word(text), static_cast<uint32_t>(-1), 0, 0}));
  const auto bytes = static_cast<int32_t>(rt::TruncateToInt64(characters * 2.0));
  rt::ByteSet wide = CallByteSet(CommandIndex::MakeBlankByteSet, {IntArg(bytes)});
  CallDll(MultiByteToWideChar,
          {kAnsiCodePage, 0, Word(text), static_cast<uint32_t>(-1),
           Word(wide != nullptr ? rt::ByteSetData(wide) : nullptr),
           static_cast<uint32_t>(characters)});
  return wide;
}

uint32_t __attribute__((stdcall)) LoadDialogWindowProc(uint32_t window, uint32_t message,
                                                      uint32_t wParam, uint32_t lParam) {
  if (message == kDestroy) {
    // The animation thread stops before its image and the image's memory go.
    if (const uint32_t thread = WindowProperty(window, kConstants.threadProperty)) {
      CallDll(TerminateThread, {thread, 0});
      CallDll(CloseThreadHandle, {thread});
    }
    if (const uint32_t image = WindowProperty(window, kConstants.imageProperty))
      CallDll(GdipDisposeImage, {image});
    if (const uint32_t stream = WindowProperty(window, kConstants.streamProperty))
      CallDll(GlobalFree, {stream});
  } else if (message == kLeftButtonDown) {
    const uint32_t result = CallDll(DefWindowProcA, {window, message, wParam, lParam});
    if (WindowProperty(window, kConstants.hitMoveProperty) == 1) {
      // Pressed anywhere, the window moves as if its caption had been pressed.
      CallDll(ReleaseCapture, {});
      CallDll(SendMessageA, {window, kCaptionButtonDown, kCaption, 0});
    }
    return result;
  }
  return CallDll(DefWindowProcA, {window, message, wParam, lParam});
}

void ReleaseLoadDialogModule() { ReleaseVariable(TimeFrameDimensionId); }

}  // namespace app
