#include "runtime/core/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace rt {
namespace {

template <typename Number>
Number ReadBack(const char* text) {
  if constexpr (std::is_same_v<Number, float>)
    return std::strtof(text, nullptr);
  else
    return std::strtod(text, nullptr);
}

// The shortest decimal that reads back as the same value, written like std::to_chars without
// a format: plain or with an exponent, whichever is shorter, plain on a tie. Found by asking
// printf for more and more digits; the library's own shortest formatting brings tables that
// would double the size of the program.
template <typename Number>
std::string Shortest(Number value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0) return std::signbit(value) ? "-0" : "0";

  constexpr int kMostDigits = std::numeric_limits<Number>::max_digits10;
  char scientific[40];
  for (int digits = 1; digits <= kMostDigits; ++digits) {
    std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, static_cast<double>(value));
    if (ReadBack<Number>(scientific) == value) break;
  }

  // "-d.ddde+XX" taken apart into sign, digits and the exponent of the first digit.
  const char* p = scientific;
  std::string sign = *p == '-' ? (++p, "-") : "";
  std::string digits;
  for (; *p != 'e'; ++p)
    if (*p != '.') digits += *p;
  const int exponent = std::atoi(p + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string withExponent = sign;
  withExponent.append(digits, 0, 1);
  if (digits.size() > 1) withExponent.append(1, '.').append(digits, 1);
  char exponentText[8];
  std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+',
                exponent < 0 ? -exponent : exponent);
  withExponent += exponentText;

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
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year),
                date.month, date.day, static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

}  // namespace rt
