#include "app/runtime_calls.h"

#include <algorithm>
#include <cstring>

#include "app/constants.h"
#include "app/forms/main_form_ids.h"
#include "runtime/core/dll_call.h"

namespace app {
namespace {
constexpr size_t kMaxArguments = 8;  // no command of the application takes more
}

rt::ArgumentRecord IntArg(int32_t value) {
  return {static_cast<uint32_t>(value), 0, rt::tag::Int};
}

rt::ArgumentRecord DoubleArg(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), rt::tag::Double};
}

rt::ArgumentRecord TextArg(const char* text) {
  return {Word(text != nullptr ? text : kConstants.emptyText), 0, rt::tag::Text};
}

rt::ArgumentRecord ByteSetArg(const rt::ByteSetHeader* bytes) {
  return {Word(bytes != nullptr ? static_cast<const void*>(bytes) : kConstants.emptyByteSet), 0,
          rt::tag::ByteSet};
}

rt::ArgumentRecord ComponentArg(uint32_t unitId, uint32_t typeCode) {
  return {kMainFormId, unitId, typeCode};
}

rt::ResultRecord Call(forms::CommandIndex command,
                      std::initializer_list<rt::ArgumentRecord> args) {
  // The records are lent to the command in a block of the caller's, as compiled code lays them.
  rt::ArgumentRecord records[kMaxArguments];
  const size_t count = args.size() < kMaxArguments ? args.size() : kMaxArguments;
  std::copy_n(args.begin(), count, records);
  return services.CallCommand(forms::CommandAt(command), static_cast<int32_t>(count), records);
}

namespace {
constexpr int32_t kWholeValue = -1;
}

rt::Text ReadTextProperty(uint32_t unitId, int32_t index) {
  return reinterpret_cast<rt::Text>(
      static_cast<uint32_t>(services.ReadProperty(kMainFormId, unitId, index, kWholeValue)));
}

int32_t ReadIntProperty(uint32_t unitId, int32_t index) {
  return static_cast<int32_t>(services.ReadProperty(kMainFormId, unitId, index, kWholeValue));
}

void WriteTextProperty(uint32_t unitId, int32_t index, const char* text) {
  services.WriteProperty(kMainFormId, unitId, index, kWholeValue,
                         Word(text != nullptr ? text : kConstants.emptyText), 0);
}

void WriteIntProperty(uint32_t unitId, int32_t index, int32_t value) {
  services.WriteProperty(kMainFormId, unitId, index, kWholeValue, static_cast<uint32_t>(value),
                         0);
}

uint32_t CallDll(DllCommand command, std::initializer_list<uint32_t> words) {
  return rt_CallDllChecked(command, words.begin(), static_cast<uint32_t>(words.size()));
}

}  // namespace app
