#pragma once
// The start-up half of the loading-dialog module: GDI+ started, the time frame dimension parsed
// and the window class "ZephlinLoadDialog" registered. No dialog of the class is ever created
// by this application.

#include <cstdint>

#include "runtime/core/values.h"

namespace app {

int32_t LoadDialogModuleInit();
int32_t RegisterLoadDialogClass();
int32_t StartGdiplus();
// The text in the ANSI code page as UTF-16LE, terminator included; the caller frees it.
rt::ByteSet TextToWideByteSet(const char* text);
// The class's window procedure.
uint32_t __attribute__((stdcall)) LoadDialogWindowProc(uint32_t window, uint32_t message,
                                                      uint32_t wParam, uint32_t lParam);
// Frees the module's globals that hold heap memory.
void ReleaseLoadDialogModule();

extern uint32_t GdiplusToken;
extern rt::ByteSet TimeFrameDimensionId;

}  // namespace app
