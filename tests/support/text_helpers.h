#pragma once

// String helpers for checking screens and files.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kvr::test {

inline bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

/// True when `line` stands in `text` as a whole line between two line ends.
inline bool contains_line(const std::string& text, const std::string& line) {
  return contains(text, "\n" + line + "\n");
}

inline bool ends_with(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

/// How often `part` occurs in `text`, overlapping occurrences included.
inline int count_of(std::string_view text, std::string_view part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos;
       at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

/// `text` with every occurrence of `from` replaced by `to`.
inline std::string replace_all(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

/// The lines, each ended by a line feed.
inline std::string joined_lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace kvr::test
