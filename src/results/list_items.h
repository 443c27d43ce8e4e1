#pragma once

#include <string>

namespace kvr {

/// Free-form items of the result table and the KNMI file: an integer right-aligned in 12
/// columns (a wider one widens its field); a real with six significant digits, in fixed form
/// in 11 columns when 0.1 <= |x| < 1e6 after rounding, else in exponent form in 15 columns,
/// missing (kMissing) as -99.99.
std::string list_int(long long v);
std::string list_real(float v);

/// The same items appended to *line, without a temporary string (the table of a large run
/// holds ten million of them).
void append_list_int(std::string* line, long long v);
void append_list_real(std::string* line, float v);

}  // namespace kvr
