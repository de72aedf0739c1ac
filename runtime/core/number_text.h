#pragma once
// How the runtime writes floating-point numbers and dates as text.
//
// Numbers: the shortest decimal text that reads back as the same value, in plain or exponent
// form, whichever is shorter ("0.1", "3", "-2.5", "1e+20"); "inf", "-inf" and "nan" for the
// special values. Single-precision values get the shortest text for a float.
//
// Dates: a DateTime holds an OLE automation date, the days since 1899-12-30 00:00 as a double
// whose fraction, taken by magnitude, is the time of day. It is written as "YYYY-MM-DD HH:MM:SS",
// rounded to the second; a value outside the years 100-9999 or not finite gives the empty text.

#include <string>

namespace rt {

std::string FormatNumber(double value);
std::string FormatNumber(float value);
std::string FormatDateTime(double oleDate);

}  // namespace rt
