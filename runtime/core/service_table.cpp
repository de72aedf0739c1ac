#include "runtime/core/service_table.h"

#include <cstdarg>

#include "runtime/core/dll_call.h"
#include "runtime/core/error_reporter.h"
#include "runtime/core/file_search.h"
#include "runtime/core/memory.h"
#include "runtime/core/runtime_app.h"
#include "runtime/core/values.h"
#include "runtime/core/window_runtime.h"

namespace rt {
namespace {

// Each service takes the caller's remaining arguments as they stand.
using OtherServiceEntry = uint64_t (*)(va_list args);

uint64_t FindFileService(va_list args) {
  const char* pattern = va_arg(args, const char*);
  const uint32_t mask = va_arg(args, uint32_t);
  const int32_t allFiles = va_arg(args, int32_t);
  auto* handle = va_arg(args, uint32_t*);
  return reinterpret_cast<uint32_t>(FindFileStep(pattern, mask, allFiles, handle));
}

uint64_t CloseFileSearchService(va_list args) {
  CloseFileSearch(va_arg(args, uint32_t));
  return 0;
}

uint64_t MakeArrayWritableService(va_list args) {
  const uint32_t width = va_arg(args, uint32_t);
  MakeArrayWritable(width, va_arg(args, void**));
  return 0;
}

uint64_t RegisterCleanupService(va_list args) {
  Runtime().Cleanup().Register(va_arg(args, CleanupList::Routine));
  return 0;
}

uint64_t ReadComponentPropertyService(va_list args) {
  const uint32_t window = va_arg(args, uint32_t);
  const uint32_t unit = va_arg(args, uint32_t);
  const int32_t index = va_arg(args, int32_t);
  return Windows().ReadProperty(window, unit, index, va_arg(args, int32_t));
}

uint64_t WriteComponentPropertyService(va_list args) {
  const uint32_t window = va_arg(args, uint32_t);
  const uint32_t unit = va_arg(args, uint32_t);
  const int32_t index = va_arg(args, int32_t);
  const int32_t selector = va_arg(args, int32_t);
  const uint32_t low = va_arg(args, uint32_t);
  Windows().WriteProperty(window, unit, index, selector, low, va_arg(args, uint32_t));
  return 0;
}

uint64_t InitialiseRuntimeService(va_list) {
  Runtime().Initialise();
  return 0;
}

constexpr OtherServiceEntry kOtherServices[] = {
    FindFileService,           CloseFileSearchService,       MakeArrayWritableService,
    RegisterCleanupService,    ReadComponentPropertyService, WriteComponentPropertyService,
    InitialiseRuntimeService,
};

void ExitService(int32_t code) { Runtime().Exit(code); }
void ReportErrorService(int32_t code) { ReportError(code); }
void LoadStartWindowService(uint32_t windowId) { Windows().LoadStartWindow(windowId); }
void RunMessageLoopService() { Windows().RunMessageLoop(); }
uint64_t ReadPropertyService(uint32_t window, uint32_t unit, int32_t index, int32_t selector) {
  return Windows().ReadProperty(window, unit, index, selector);
}
void WritePropertyService(uint32_t window, uint32_t unit, int32_t index, int32_t selector,
                          uint32_t low, uint32_t high) {
  Windows().WriteProperty(window, unit, index, selector, low, high);
}

}  // namespace

ResultRecord CallCommand(Command command, int32_t count, ArgumentRecord* args) {
  ResultRecord result{0, 0, 0};
  command(&result, count, args);
  return result;
}

uint64_t OtherService(int32_t code, ...) {
  constexpr int32_t kCount = sizeof kOtherServices / sizeof kOtherServices[0];
  if (code < 0 || code >= kCount) return 0;
  va_list args;
  va_start(args, code);
  const uint64_t result = kOtherServices[code](args);
  va_end(args);
  return result;
}

}  // namespace rt

extern "C" const rt::RuntimeServiceTable RuntimeServices = {
    rt::ReportErrorService,
    rt_CallDllCommand,
    rt::CallCommand,
    rt::CallCommand,
    rt::ReadPropertyService,
    rt::WritePropertyService,
    rt::Allocate,
    rt::Reallocate,
    rt::Free,
    rt::ExitService,
    rt::RunMessageLoopService,
    rt::LoadStartWindowService,
    rt::OtherService,
};
