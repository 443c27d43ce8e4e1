#pragma once

#include <istream>
#include <streambuf>
#include <string_view>

namespace kvr {

/// An input stream over bytes held elsewhere, read where they lie (they must outlive it): the
/// readers that judge a file's first block read it without a copy of their own.
class ViewInput : private std::streambuf, public std::istream {
 public:
  explicit ViewInput(std::string_view bytes) : std::istream(static_cast<std::streambuf*>(this)) {
    // The get area is only read: a stream puts back only the byte it read, where it stands.
    char* begin = const_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
  }
};

}  // namespace kvr
