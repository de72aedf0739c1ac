#include "runtime/core/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

#include "runtime/core/big_integer.h"

namespace rt {
namespace {

// A positive finite value as mantissa * 2^exponent.
struct BinaryValue {
  uint64_t mantissa;
  int exponent;
};

BinaryValue Decompose(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const int biased = static_cast<int>(bits >> 52);
  if (biased == 0) return {fraction, -1074};
  return {fraction | uint64_t{1} << 52, biased - 1075};
}

BinaryValue Decompose(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const uint32_t fraction = bits & ((1u << 23) - 1);
  const int biased = static_cast<int>(bits >> 23);
  if (biased == 0) return {fraction, -149};
  return {fraction | 1u << 23, biased - 150};
}

constexpr int kMostDigits = std::numeric_limits<double>::max_digits10;

// The value's first significant digits, exactly, and after each of them how the rest compares
// with half a unit of that digit: what rounding to any count of digits needs.
struct LeadingDigits {
  char digits[kMostDigits];
  int restAgainstHalf[kMostDigits];  // below 0, 0 or above 0
  int exponent;                      // of the first digit
};

LeadingDigits ExactDigits(BinaryValue binary, int count) {
  // value / 10^exponent = rest / unit, brought into [1, 10).
  BigInteger rest(binary.mantissa), unit(1);
  if (binary.exponent >= 0)
    rest.ShiftLeft(binary.exponent);
  else
    unit.ShiftLeft(-binary.exponent);
  const int bitExponent = 63 - __builtin_clzll(binary.mantissa) + binary.exponent;
  int exponent = bitExponent * 30103 / 100000;  // about log10 of the value; made exact below
  if (exponent >= 0)
    unit.MultiplyByPowerOfTen(exponent);
  else
    rest.MultiplyByPowerOfTen(-exponent);
  while (Compare(rest, unit) < 0) {
    rest.Multiply(10);
    --exponent;
  }
  for (;;) {
    BigInteger tenUnits = unit;
    tenUnits.Multiply(10);
    if (Compare(rest, tenUnits) < 0) break;
    unit = tenUnits;
    ++exponent;
  }

  LeadingDigits leading;
  leading.exponent = exponent;
  for (int i = 0; i < count; ++i) {
    char digit = '0';
    while (Compare(rest, unit) >= 0) {
      rest.Subtract(unit);
      ++digit;
    }
    leading.digits[i] = digit;
    BigInteger twice = rest;
    twice.ShiftLeft(1);
    leading.restAgainstHalf[i] = Compare(twice, unit);
    rest.Multiply(10);
  }
  return leading;
}

// The value rounded to count significant digits, half to even, as printf's "%.*e" writes them;
// exponent: that of the first digit (one more when the rounding carries into a new digit).
std::string RoundedDigits(const LeadingDigits& exact, int count, int& exponent) {
  std::string digits(exact.digits, count);
  exponent = exact.exponent;
  const int rest = exact.restAgainstHalf[count - 1];
  if (rest > 0 || (rest == 0 && (digits.back() - '0') % 2 == 1)) {
    int i = count - 1;
    for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits.insert(digits.begin(), '1');
      digits.pop_back();
      ++exponent;
    }
  }
  return digits;
}

// "e+05", "e-123": the sign and at least two digits.
std::string ExponentText(int exponent) {
  std::string text = exponent < 0 ? "e-" : "e+";
  const int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude >= 100) text += static_cast<char>('0' + magnitude / 100);
  text += static_cast<char>('0' + magnitude / 10 % 10);
  text += static_cast<char>('0' + magnitude % 10);
  return text;
}

// "d.ddde+XX", the form printf's "%.*e" gives.
std::string ScientificText(const std::string& digits, int exponent) {
  std::string text(1, digits[0]);
  if (digits.size() > 1) text.append(1, '.').append(digits, 1);
  return text + ExponentText(exponent);
}

// Read back by the C library's reader, the one that also reads numbers from text
// (value_conversion.cpp): a text is the shortest for the reader the runtime uses. That reader
// takes a few decimals just below a power of two for the power itself, so exact half-way points
// between neighbouring values would not decide the same.
bool ReadsBack(const std::string& digits, int exponent, double value) {
  return std::strtod(ScientificText(digits, exponent).c_str(), nullptr) == value;
}
bool ReadsBack(const std::string& digits, int exponent, float value) {
  return std::strtof(ScientificText(digits, exponent).c_str(), nullptr) == value;
}

// Plain or with an exponent, whichever is shorter, plain on a tie.
std::string Compose(bool negative, std::string digits, int exponent) {
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const std::string sign = negative ? "-" : "";
  const std::string withExponent = sign + ScientificText(digits, exponent);

  const int count = static_cast<int>(digits.size());
  std::string plain = sign;
  if (exponent < 0)
    plain.append("0.").append(-exponent - 1, '0').append(digits);
  else if (exponent + 1 >= count)
    plain.append(digits).append(exponent + 1 - count, '0');
  else
    plain.append(digits, 0, exponent + 1).append(1, '.').append(digits, exponent + 1);

  return plain.size() <= withExponent.size() ? plain : withExponent;
}

// The shortest decimal that reads back as the same value, written like std::to_chars without
// a format. For each count of digits from one up, the value rounded to that many is tried until
// one reads back. The digits are worked out here, exactly: the library's shortest formatting
// brings tables that would double the size of the program, and printf a formatter of some 20 KB.
template <typename Number>
std::string Shortest(Number value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0) return std::signbit(value) ? "-0" : "0";

  constexpr int kDigits = std::numeric_limits<Number>::max_digits10;
  const Number magnitude = std::fabs(value);
  const LeadingDigits exact = ExactDigits(Decompose(magnitude), kDigits);
  std::string digits;
  int exponent = 0;
  for (int count = 1; count <= kDigits; ++count) {
    digits = RoundedDigits(exact, count, exponent);
    if (ReadsBack(digits, exponent, magnitude)) break;
  }
  return Compose(std::signbit(value), std::move(digits), exponent);
}

// The OLE date range: 0100-01-01 up to the end of 9999-12-31.
constexpr double kFirstDate = -657434.0;
constexpr double kEndDate = 2958466.0;
constexpr int64_t kDaysFrom1970To1899_12_30 = -25569;

struct CivilDate {
  int64_t year;
  unsigned month;
  unsigned day;
};

// Days since 1970-01-01 to a proleptic Gregorian date (H. Hinnant's civil_from_days).
CivilDate CivilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  const int64_t year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

// The value's last digits, as many as asked for, with leading zeros.
void AppendDigits(std::string& text, uint32_t value, int count) {
  text.append(count, '0');
  for (auto digit = text.end(); count-- > 0; value /= 10) *--digit = static_cast<char>('0' + value % 10);
}

}  // namespace

std::string FormatNumber(double value) { return Shortest(value); }
std::string FormatNumber(float value) { return Shortest(value); }

std::string FormatDateTime(double oleDate) {
  if (!(oleDate >= kFirstDate && oleDate < kEndDate)) return {};
  // Before 1899-12-30 the whole part still counts days backwards while the fraction counts the
  // time forwards: -1.25 is 1899-12-29 06:00.
  double whole = std::trunc(oleDate);
  int64_t seconds = std::llround(std::fabs(oleDate - whole) * 86400.0);
  if (seconds == 86400) {
    whole += oleDate < 0 ? -1 : 1;
    seconds = 0;
    if (whole < kFirstDate || whole >= kEndDate) return {};
  }
  const CivilDate date = CivilFromDays(static_cast<int64_t>(whole) + kDaysFrom1970To1899_12_30);
  // The range keeps the year to four digits.
  std::string text;
  AppendDigits(text, static_cast<uint32_t>(date.year), 4);
  text += '-';
  AppendDigits(text, date.month, 2);
  text += '-';
  AppendDigits(text, date.day, 2);
  text += ' ';
  AppendDigits(text, static_cast<uint32_t>(seconds / 3600), 2);
  text += ':';
  AppendDigits(text, static_cast<uint32_t>(seconds / 60 % 60), 2);
  text += ':';
  AppendDigits(text, static_cast<uint32_t>(seconds % 60), 2);
  return text;
}

}  // namespace rt
