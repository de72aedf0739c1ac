// What the tool's two file-handling clicks come down to, done with plain system calls in a
// window of its own, so that the benchmark drives and observes it exactly as it drives the tool:
// a posted click, then the result looked for from outside.
//
// The file named on the command line is opened at start, for reading and writing with full
// sharing, as the tool opens the file its user loads.
// - The read button moves to the signature, reads 15 bytes and shows the signed little-endian
//   value of the first four as decimal text in the signature box.
// - The apply button takes "width height" from the resolution box and, once per field, reads the
//   whole file from its start, changes the field's two bytes and writes the whole file back.
//   With --copy before the path, the change goes into a second full-size copy of what was read,
//   which is written instead: the one step the tool takes beyond the plain I/O.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"BenchFloorIo";
constexpr int kResolutionBox = 120, kReadButton = 130, kApplyButton = 140, kSignatureBox = 160;
constexpr int64_t kSignatureOffset = 0x3AC220;
constexpr DWORD kSignatureBytes = 15;
constexpr int64_t kWidthOffset = 0x4A1474, kHeightOffset = 0x4A1478;

HANDLE file = INVALID_HANDLE_VALUE;
bool patchACopy = false;

bool MoveTo(int64_t offset) {
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != FALSE;
}

void ReadSignature(HWND window) {
  uint8_t bytes[kSignatureBytes] = {};
  DWORD read = 0;
  if (!MoveTo(kSignatureOffset) || !ReadFile(file, bytes, kSignatureBytes, &read, nullptr))
    read = 0;
  uint32_t value = 0;
  for (DWORD i = 0; i < read && i < 4; ++i) value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  char text[16];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(static_cast<int32_t>(value)));
  SetDlgItemTextA(window, kSignatureBox, text);
}

// The whole file in, two bytes changed, the whole file out.
void PatchField(int64_t offset, unsigned value) {
  LARGE_INTEGER size;
  if (!MoveTo(0) || !GetFileSizeEx(file, &size) || size.QuadPart < offset + 2) return;
  const auto length = static_cast<DWORD>(size.QuadPart);
  auto* content = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, length));
  DWORD done = 0;
  uint8_t* patched = nullptr;
  if (content != nullptr && ReadFile(file, content, length, &done, nullptr) && done == length) {
    patched = content;
    if (patchACopy) {
      patched = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, length));
      if (patched != nullptr) std::memcpy(patched, content, length);
    }
  }
  if (patched != nullptr) {
    patched[offset] = static_cast<uint8_t>(value);
    patched[offset + 1] = static_cast<uint8_t>(value >> 8);
    if (MoveTo(0)) WriteFile(file, patched, length, &done, nullptr);
  }
  if (patched != nullptr && patched != content) HeapFree(GetProcessHeap(), 0, patched);
  HeapFree(GetProcessHeap(), 0, content);
}

void ApplyResolution(HWND window) {
  wchar_t text[32] = {};
  GetDlgItemTextW(window, kResolutionBox, text, 32);
  unsigned width = 0, height = 0;
  if (std::swscanf(text, L"%u %u", &width, &height) != 2) return;
  PatchField(kWidthOffset, width);
  PatchField(kHeightOffset, height);
}

HWND Child(HWND parent, const wchar_t* className, int id, int top) {
  return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE, 8, top, 200, 24, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

LRESULT CALLBACK FloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kReadButton) ReadSignature(window);
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kApplyButton) ApplyResolution(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  constexpr wchar_t kCopyOption[] = L"--copy ";
  patchACopy = std::wcsncmp(commandLine, kCopyOption, std::wcslen(kCopyOption)) == 0;
  const wchar_t* path = patchACopy ? commandLine + std::wcslen(kCopyOption) : commandLine;
  file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = FloorProcedure;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  const HWND window = CreateWindowExW(
      0, kClassName, L"Floor I/O", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
      CW_USEDEFAULT, CW_USEDEFAULT, 315, 316, nullptr, nullptr, instance, nullptr);
  Child(window, L"EDIT", kResolutionBox, 8);
  Child(window, L"BUTTON", kReadButton, 40);
  Child(window, L"BUTTON", kApplyButton, 72);
  Child(window, L"EDIT", kSignatureBox, 104);
  ShowWindow(window, SW_SHOWNORMAL);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  CloseHandle(file);
  return 0;
}
