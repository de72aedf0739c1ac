#include "runtime/core/value_conversion.h"

#include <cstdlib>
#include <string>

#include "runtime/core/record_values.h"
#include "runtime/core/text_width.h"
#include "runtime/core/values.h"

namespace rt {
namespace {

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipDigits(const char* p) {
  while (IsDigit(*p)) ++p;
  return p;
}

const char* TextOf(const ArgumentRecord& value) {
  const auto* text = reinterpret_cast<const char*>(value.low);
  return text ? text : "";
}

}  // namespace

int32_t ReadDecimalInteger(const char* text) {
  const char* p = text;
  while (IsWhiteSpace(*p)) ++p;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  uint32_t value = 0;
  for (; IsDigit(*p); ++p) value = value * 10 + static_cast<uint32_t>(*p - '0');
  return static_cast<int32_t>(negative ? 0u - value : value);
}

double ReadDecimalNumber(const char* text) {
  const char* p = text;
  while (IsWhiteSpace(*p)) ++p;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';

  // The longest prefix of the form digits[.digits][e[sign]digits] with at least one digit
  // before the exponent; the reader below then sees nothing it could take differently (no hex,
  // no "inf", no locale).
  const char* start = p;
  const char* end = SkipDigits(p);
  bool hasDigits = end != start;
  if (*end == '.') {
    const char* fraction = end + 1;
    end = SkipDigits(fraction);
    hasDigits = hasDigits || end != fraction;
  }
  if (!hasDigits) return 0;
  if (*end == 'e' || *end == 'E') {
    const char* exponent = end + 1;
    if (*exponent == '-' || *exponent == '+') ++exponent;
    if (IsDigit(*exponent)) end = SkipDigits(exponent);
  }

  // The prefix holds nothing the reader could take differently, so strtod reads exactly it:
  // correctly rounded, an overflow as an infinity and an underflow as 0.
  const double value = std::strtod(std::string(start, end).c_str(), nullptr);
  return negative ? -value : value;
}

int32_t IntegerFromValue(const ArgumentRecord& value) {
  switch (value.tag) {
    case tag::Text:
      return ReadDecimalInteger(HalfWidthOf(TextOf(value)).c_str());
    case tag::Int:
    case tag::Bool:
    case tag::CodeAddress:
    case tag::Int64:
      return static_cast<int32_t>(value.low);
    case tag::Short:
      return static_cast<int16_t>(value.low);
    case tag::Byte:
      return static_cast<uint8_t>(value.low);
    case tag::Float:
      return static_cast<int32_t>(TruncateToInt64(FloatOf(value)));
    case tag::Double:
      return static_cast<int32_t>(TruncateToInt64(DoubleOf(value)));
    default:
      return 0;
  }
}

double NumberFromValue(const ArgumentRecord& value) {
  switch (value.tag) {
    case tag::Text:
      return ReadDecimalNumber(HalfWidthOf(TextOf(value)).c_str());
    case tag::Byte:
      return static_cast<uint8_t>(value.low);
    case tag::Short:
      return static_cast<int16_t>(value.low);
    case tag::Int:
      return static_cast<int32_t>(value.low);
    case tag::Int64:
      return static_cast<double>(Int64Of(value));
    case tag::Float:
      return FloatOf(value);
    case tag::Double:
      return DoubleOf(value);
    case tag::Bool:
      return value.low != 0 ? 1 : 0;
    case tag::CodeAddress:
      return value.low;
    default:
      return 0;
  }
}

}  // namespace rt
