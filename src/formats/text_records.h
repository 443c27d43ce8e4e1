#pragma once

#include <array>
#include <string>

namespace kvr {

/// Text records kept between read calls: the title (first text record met in the latest
/// call, blank when the call met none) and the header lines: the first three text records of
/// the file, until a later call that meets text records puts its own first ones (up to three)
/// in their place. Each is 85 characters, blank padded; a stored record holds the line's
/// first 80.
struct TrrwText {
  std::string title = std::string(85, ' ');
  std::array<std::string, 3> header_lines = {std::string(85, ' '), std::string(85, ' '),
                                             std::string(85, ' ')};
};

/// The text records of one read call: each is echoed for the console, the first under
/// " title of data:", and kept in *text; at most 25 in one call.
class TextRecords {
 public:
  /// A call that reads the file's first series (`first_series`) clears the header lines; every
  /// call clears the title.
  TextRecords(TrrwText* text, std::string* echo, bool first_series);

  /// Takes the next text record of the call (its first 80 columns). Past the 25th, echoes
  /// " sbr trrw:  over 25 text lines" instead and returns false: the file cannot be read on.
  [[nodiscard]] bool take(const std::string& record);

 private:
  TrrwText* text_;
  std::string* echo_;
  int count_ = 0;
};

}  // namespace kvr
