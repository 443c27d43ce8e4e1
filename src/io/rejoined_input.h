#pragma once

#include <istream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

/// The bytes of a file whose first bytes were taken from its stream already (LineReader::head
/// takes one block to judge the file's kind), from its start again: a copy of those first
/// bytes, then the rest of the stream, block by block, so that a large file is never held
/// whole. Nothing else may read from `rest` while this is in use.
class RejoinedInput : private std::streambuf, public std::istream {
 public:
  RejoinedInput(std::string_view head, std::istream& rest);

 private:
  std::streambuf::int_type underflow() override;

  std::string head_;
  bool head_given_ = false;
  std::streambuf* rest_;
  std::vector<char> block_;
};

}  // namespace kvr
