#include "runtime/core/dll_record_call.h"

#include <vector>

#include "runtime/core/dll_call.h"
#include "runtime/core/type_tag.h"
#include "runtime/core/values.h"

namespace rt {
namespace {

// These take two argument words, the low half first.
bool IsEightByteTag(TypeTag t) {
  return t == tag::Int64 || t == tag::Double || t == tag::DateTime || t == tag::Unnamed8;
}

}  // namespace

uint32_t CallDllWithRecords(uint32_t index, const DllArguments& arguments) {
  std::vector<uint32_t> words;
  words.reserve(static_cast<size_t>(arguments.count) * 2);
  for (uint32_t i = 0; i < arguments.count; ++i) {
    const ArgumentRecord& record = arguments.records[i];
    if (record.tag == tag::ByteSet) {
      // A byte set passes its first data byte, as the application's own calls pass it.
      const auto* bytes = reinterpret_cast<const ByteSetHeader*>(record.low);
      words.push_back(bytes != nullptr ? reinterpret_cast<uint32_t>(ByteSetData(bytes)) : 0);
    } else {
      words.push_back(record.low);
      if (IsEightByteTag(record.tag)) words.push_back(record.high);
    }
  }
  return rt_CallDllChecked(index, words.data(), static_cast<uint32_t>(words.size()));
}

}  // namespace rt
