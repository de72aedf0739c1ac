#include "runtime/core/records.h"

#include <cstring>

namespace rt {

MeasuredValue MeasureArgument(const ArgumentRecord& a) {
  const void* inRecord = &a.low;
  switch (a.tag) {
    case tag::Bool:
    case tag::CodeAddress:
    case tag::Int:
    case tag::Float:
      return {inRecord, 4};
    case tag::DateTime:
    case tag::Unnamed8:
    case tag::Int64:
    case tag::Double:
      return {inRecord, 8};
    case tag::Byte:
      return {inRecord, 1};
    case tag::Short:
      return {inRecord, 2};
    case tag::Text: {
      const auto* text = reinterpret_cast<const char*>(a.low);
      return {text, text ? static_cast<int32_t>(std::strlen(text)) + 1 : 1};
    }
    case tag::ByteSet: {
      const auto* header = reinterpret_cast<const uint32_t*>(a.low);
      if (header == nullptr) return {nullptr, 0};
      return {header + 2, static_cast<int32_t>(header[1])};
    }
    default:
      return {nullptr, -1};
  }
}

}  // namespace rt
