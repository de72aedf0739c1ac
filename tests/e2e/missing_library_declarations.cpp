// The tool's DLL declarations with one change: the library of StrToIntExA is one that exists
// nowhere. Linked ahead of the application's own table, this builds the tool unchanged but for
// that name, so the first call of the declaration (reading a loaded file's signature) cannot be
// bound.

#include "app/dll_declarations.h"

namespace app {

const DllNameColumn kDllLibraryNames = {
    "qr-absent-library.dll",  // 0
    "ole32.dll",              // 1
    "kernel32.dll",           // 2
    "kernel32",               // 3
    "user32",                 // 4
    "user32",                 // 5
    "GdiPlus.dll",            // 6
    "",                       // 7
    "user32",                 // 8
    "",                       // 9
    "",                       // 10
    "GdiPlus.dll",            // 11
    "",                       // 12
    "user32",                 // 13
    "user32",                 // 14
    "user32",                 // 15
    "",                       // 16
    "",                       // 17
    "",                       // 18
    "",                       // 19
};

const DllNameColumn kDllExportNames = {
    "StrToIntExA",            // 0
    "CLSIDFromString",        // 1
    "LocalSize",              // 2
    "GetModuleHandleA",       // 3
    "LoadCursorA",            // 4
    "RegisterClassExA",       // 5
    "GdiplusStartup",         // 6
    "MultiByteToWideChar",    // 7
    "GetPropA",               // 8
    "TerminateThread",        // 9
    "CloseHandle",            // 10
    "GdipDisposeImage",       // 11
    "GlobalFree",             // 12
    "DefWindowProcA",         // 13
    "ReleaseCapture",         // 14
    "SendMessageA",           // 15
    "OpenFileMappingA",       // 16
    "MapViewOfFile",          // 17
    "RtlMoveMemory",          // 18
    "CloseHandle",            // 19
};

}  // namespace app
