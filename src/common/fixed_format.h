#pragma once

#include <string>
#include <string_view>

namespace kvr {

/// `v` right-aligned in `width` columns, or `width` asterisks when it does not fit.
std::string format_int(long long v, int width);
/// The same field appended to *line, without a temporary string (the writers of large files
/// call it for every value).
void append_int(std::string* line, long long v, int width);
/// The widest field put_int writes: a long long's digits with its sign.
inline constexpr int kIntFieldRoom = 24;
/// The same field written at p (width <= kIntFieldRoom); returns its end. Writers of many
/// fields put a whole line into a buffer this way and append it at once.
char* put_int(char* p, long long v, int width);

/// `v` in fixed-point form with `decimals` decimals, right-aligned in `width` columns, or
/// `width` asterisks when it does not fit. A value of magnitude below 1 keeps its leading 0
/// only when there is room for it ("0.50" in 4 columns, ".50" in 3). The digits are those of
/// the exact binary value, correctly rounded.
std::string format_fixed(double v, int width, int decimals);

/// `text` cut or padded with blanks on the right to exactly `width` characters: characters of
/// UTF-8 when `text` is valid UTF-8 with multi-byte characters, bytes otherwise.
std::string pad_right(std::string_view text, std::size_t width);

/// `text` padded with blanks on the right to `width` characters (counted as pad_right counts
/// them); a longer text stays whole.
std::string pad_right_whole(std::string_view text, std::size_t width);

/// `text` with every control character (below 0x20, and 0x7F) shown as '?', so that a line of
/// a damaged file sends no escape sequence to the terminal and stays one line of a file.
std::string control_characters_shown(std::string_view text);

/// `text` without its trailing blanks; an all-blank text gives the empty string.
std::string trim_right(std::string_view text);

}  // namespace kvr
