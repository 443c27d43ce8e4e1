#include "io/rejoined_input.h"

namespace kvr {
namespace {
constexpr std::size_t kBlockBytes = std::size_t{1} << 16;
}  // namespace

RejoinedInput::RejoinedInput(std::string_view head, std::istream& rest)
    : std::istream(static_cast<std::streambuf*>(this)), head_(head), rest_(rest.rdbuf()) {}

std::streambuf::int_type RejoinedInput::underflow() {
  if (gptr() < egptr()) return std::streambuf::traits_type::to_int_type(*gptr());
  if (!head_given_) {
    head_given_ = true;
    if (!head_.empty()) {
      setg(head_.data(), head_.data(), head_.data() + head_.size());
      return std::streambuf::traits_type::to_int_type(*gptr());
    }
  }
  if (rest_ == nullptr) return std::streambuf::traits_type::eof();
  if (block_.empty()) block_.resize(kBlockBytes);
  const std::streamsize got =
      rest_->sgetn(block_.data(), static_cast<std::streamsize>(kBlockBytes));
  if (got <= 0) return std::streambuf::traits_type::eof();
  setg(block_.data(), block_.data(), block_.data() + got);
  return std::streambuf::traits_type::to_int_type(*gptr());
}

}  // namespace kvr
