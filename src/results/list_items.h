#pragma once

#include <cstddef>
#include <string>

namespace kvr {

/// Free-form items of the result table and the KNMI file: an integer right-aligned in 12
/// columns (a wider one widens its field); a real with six significant digits, in fixed form
/// in 11 columns when 0.1 <= |x| < 1e6 after rounding, else in exponent form in 15 columns,
/// missing (kMissing) as -99.99. The integer is appended to *line, the real returned.
void append_list_int(std::string* line, long long v);
std::string list_real(float v);

/// Room for any one item: a long long, or a float in either form.
inline constexpr std::size_t kListItemRoom = 32;
/// The same items written at p, which has room for kListItemRoom characters; they return the
/// end of the item. A row of many items is written so into a string sized beforehand.
char* put_list_int(char* p, long long v);
char* put_list_real(char* p, float v);

}  // namespace kvr
