#include "app/dll_declarations.h"

namespace app {
namespace {

struct Declaration {
  DllCommand index;
  const char* library;  // "" searches the default libraries
  const char* exportName;
};

// Library names reach the loader exactly as written here: "kernel32" and "kernel32.dll" alike.
constexpr Declaration kDeclarations[] = {
    {StrToIntExA,         "shlwapi.dll",  "StrToIntExA"},
    {CLSIDFromString,     "ole32.dll",    "CLSIDFromString"},
    {LocalSize,           "kernel32.dll", "LocalSize"},
    {GetModuleHandleA,    "kernel32",     "GetModuleHandleA"},
    {LoadCursorA,         "user32",       "LoadCursorA"},
    {RegisterClassExA,    "user32",       "RegisterClassExA"},
    {GdiplusStartup,      "GdiPlus.dll",  "GdiplusStartup"},
    {MultiByteToWideChar, "",             "MultiByteToWideChar"},
    {GetPropA,            "user32",       "GetPropA"},
    {TerminateThread,     "",             "TerminateThread"},
    {CloseThreadHandle,   "",             "CloseHandle"},
    {GdipDisposeImage,    "GdiPlus.dll",  "GdipDisposeImage"},
    {GlobalFree,          "",             "GlobalFree"},
    {DefWindowProcA,      "user32",       "DefWindowProcA"},
    {ReleaseCapture,      "user32",       "ReleaseCapture"},
    {SendMessageA,        "user32",       "SendMessageA"},
    {OpenFileMappingA,    "",             "OpenFileMappingA"},
    {MapViewOfFile,       "",             "MapViewOfFile"},
    {RtlMoveMemory,       "",             "RtlMoveMemory"},
    {CloseSectionHandle,  "",             "CloseHandle"},
};

// The runtime numbers declarations by their position: each row must stand at its own index.
constexpr bool RowsInIndexOrder() {
  for (uint32_t i = 0; i < std::size(kDeclarations); ++i)
    if (kDeclarations[i].index != i) return false;
  return std::size(kDeclarations) == kDllCommandCount;
}
static_assert(RowsInIndexOrder());

constexpr DllNameColumn Column(const char* Declaration::*field) {
  DllNameColumn column{};
  for (uint32_t i = 0; i < kDllCommandCount; ++i) column[i] = kDeclarations[i].*field;
  return column;
}

}  // namespace

constexpr DllNameColumn kDllLibraryNames = Column(&Declaration::library);
constexpr DllNameColumn kDllExportNames = Column(&Declaration::exportName);

}  // namespace app
