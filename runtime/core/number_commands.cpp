// Arithmetic commands on Int and Double values.

#include <cmath>

#include "runtime/core/command_arguments.h"
#include "runtime/core/commands.h"
#include "runtime/core/runtime_request.h"
#include "runtime/core/values.h"

namespace rt {
namespace {

// A fraction this close to 1 is taken for an integer that lost its last bits in arithmetic.
constexpr double kAlmostOne = 0.999999999999;

}  // namespace

void BitOr(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  uint32_t bits = 0;
  for (int32_t i = 0; i < args.Count(); ++i) bits |= static_cast<uint32_t>(args.Int(i));
  ReturnInt(result, static_cast<int32_t>(bits));
}

void IntegerPart(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  double value = args.Double(0);
  const double whole = std::trunc(value);
  // Between -1 and 0 the move away from zero reaches -1, which the floor gives anyway, so those
  // values need no rule of their own.
  if (std::fabs(value - whole) > kAlmostOne) value = whole + (value < 0 ? -1 : 1);
  ReturnInt(result, static_cast<int32_t>(TruncateToInt64(std::floor(value))));
}

void Remainder(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  double remainder = args.Double(0);
  for (int32_t i = 1; i < args.Count(); ++i) {
    if (!args.Present(i)) continue;
    const double divisor = args.Double(i);
    if (divisor == 0) {
      LibraryRequest(request::ReportMessage, reinterpret_cast<uint32_t>("不能求余数于零"));
      return;  // reached only while no runtime answers requests
    }
    remainder = std::fmod(remainder, divisor);  // the sign of the dividend
  }
  ReturnDouble(result, remainder);
}

void Power(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnDouble(result, std::pow(args.Double(0), args.Double(1)));
}

}  // namespace rt
