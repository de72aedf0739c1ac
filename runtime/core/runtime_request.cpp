#include "runtime/core/runtime_request.h"

#include "runtime/core/dll_record_call.h"
#include "runtime/core/error_reporter.h"
#include "runtime/core/event_suspension.h"
#include "runtime/core/memory.h"
#include "runtime/core/runtime_app.h"
#include "runtime/core/type_tag.h"
#include "runtime/core/value_conversion.h"
#include "runtime/core/values.h"
#include "runtime/core/window_runtime.h"

namespace rt {
namespace {

RuntimeRequestFunction requestFunction = nullptr;

template <typename T>
T* As(uint32_t word) {
  return reinterpret_cast<T*>(word);
}
int32_t Word(const void* p) { return static_cast<int32_t>(reinterpret_cast<uint32_t>(p)); }

bool InRequestRanges(int32_t code) {
  return (code >= 1000 && code <= 1014) || (code >= 2000 && code <= 2040);
}

}  // namespace

int32_t RuntimeRequest(int32_t code, uint32_t value1, uint32_t value2) {
  RuntimeApplication& runtime = Runtime();
  switch (code) {
    case request::ExecutableDirectory:
      return Word(runtime.Directory());
    case request::ExecutableName:
      return Word(runtime.FileName());
    case request::FindLiveObject:
      return Word(Windows().FindLiveObject(value1, value2));
    case request::RequireLiveObject:
      if (void* object = Windows().FindLiveObject(value1, value2)) return Word(object);
      Report("指定窗口或窗口组件不存在或尚未载入", 0);
    case request::SuspendEvents:
      HandleWaitingMessages();
      SuspendEvents();
      return 0;
    case request::ResumeEvents:
      HandleWaitingMessages();
      ResumeEvents();
      return 0;
    case request::HandleMessages:
      HandleWaitingMessages();
      return 0;
    case request::ObjectKind:
      return runtime.Objects().KindOf(As<void>(value1));
    case request::AddObject:
      runtime.Objects().Add(As<RuntimeObject>(value1), static_cast<int32_t>(value2));
      return 0;
    case request::RemoveObject:
      runtime.Objects().Remove(As<void>(value1));
      return 0;
    case request::FreeArray:
      rt::FreeArray(value1, As<void>(value2));
      return 0;
    case request::Allocate:
      return Word(value2 == 0 ? rt::Allocate(value1) : AllocateOrNull(value1));
    case request::Free:
      rt::Free(As<void>(value1));
      return 0;
    case request::Reallocate:
      return Word(rt::Reallocate(As<void>(value1), value2));
    case request::ReportMessage:
      Report(As<const char>(value1), 0);
    case request::Exit:
      runtime.Exit(static_cast<int32_t>(value1));
    case request::RunMode:
      return static_cast<int32_t>(runtime.RunMode());
    case request::WindowCount:
      return static_cast<int32_t>(Windows().WindowCount());
    case request::ToNumber: {
      const ArgumentRecord& value = *As<const ArgumentRecord>(value1);
      if (!IsNumericTag(value.tag) || IsArrayTag(value.tag)) Report("欲转换数据类型不是数值", 0);
      if (value2 != 0) *As<double>(value2) = NumberFromValue(value);
      return IntegerFromValue(value);
    }
    case request::CallDllWithRecords:
      return static_cast<int32_t>(CallDllWithRecords(value1, *As<const DllArguments>(value2)));
    default:
      return InRequestRanges(code) ? Windows().Request(code, value1, value2) : 0;
  }
}

int32_t LibraryRequest(int32_t code, uint32_t value1, uint32_t value2) {
  return requestFunction != nullptr ? requestFunction(code, value1, value2) : 0;
}

void KeepRequestFunction(RuntimeRequestFunction function) { requestFunction = function; }

}  // namespace rt
