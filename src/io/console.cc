#include "io/console.h"

#include <charconv>
#include <limits>

namespace kvr {
namespace {

// One line of standard input; a line ends at LF, CR LF or a lone CR. False at the end of
// input when no character was read.
bool get_line(std::istream& in, std::string* line) {
  line->clear();
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr) return false;
  using Traits = std::char_traits<char>;
  bool any = false;
  for (;;) {
    const Traits::int_type c = buffer->sbumpc();
    if (Traits::eq_int_type(c, Traits::eof())) {
      in.setstate(std::ios::eofbit);
      return any;
    }
    any = true;
    const char ch = Traits::to_char_type(c);
    if (ch == '\n') return true;
    if (ch == '\r') {
      if (Traits::eq_int_type(buffer->sgetc(), Traits::to_int_type('\n'))) buffer->sbumpc();
      return true;
    }
    line->push_back(ch);
  }
}

bool is_separator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }

// The first free-form item of `line`, or false when the line holds none (blanks only).
bool first_item(const std::string& line, std::string* item) {
  item->clear();
  std::size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  const char c = line[i];
  if (c == ',' || c == '/') return true;  // a null item: the empty answer
  if (c == '\'' || c == '"') {
    for (++i; i < line.size(); ++i) {
      if (line[i] == c) {
        if (i + 1 < line.size() && line[i + 1] == c) {
          item->push_back(c);
          ++i;
          continue;
        }
        break;
      }
      item->push_back(line[i]);
    }
    return true;
  }
  while (i < line.size() && !is_separator(line[i])) item->push_back(line[i++]);
  return true;
}

}  // namespace

Console::Console(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

bool Console::next_line(std::string* line) {
  if (!get_line(in_, line)) return false;
  lines_read_ += *line;
  lines_read_ += '\n';
  return true;
}

void Console::line(std::string_view text) { out_ << text << '\n'; }

void Console::prompt(std::string_view text) {
  out_ << text;
  out_.flush();
}

Answer Console::read_item(std::string* item) {
  std::string text;
  for (;;) {
    if (!next_line(&text)) return Answer::kEndOfInput;
    if (first_item(text, item)) return Answer::kOk;
  }
}

Answer Console::read_yes_no(bool* yes) {
  std::string item;
  const Answer answer = read_item(&item);
  if (answer != Answer::kOk) return answer;
  *yes = !item.empty() && (item[0] == 'y' || item[0] == 'Y');
  return Answer::kOk;
}

Answer Console::read_int(int* value) {
  std::string item;
  const Answer answer = read_item(&item);
  if (answer != Answer::kOk) return answer;
  std::size_t start = 0;
  if (!item.empty() && (item[0] == '+' || item[0] == '-')) start = 1;
  if (start == item.size()) return Answer::kInvalid;
  for (std::size_t i = start; i < item.size(); ++i) {
    if (item[i] < '0' || item[i] > '9') return Answer::kInvalid;
  }
  // from_chars takes a minus sign but not a plus sign.
  const char* first = item.data() + (item[0] == '+' ? 1 : 0);
  int parsed = 0;
  const auto [end, error] = std::from_chars(first, item.data() + item.size(), parsed);
  if (error != std::errc() || end != item.data() + item.size()) return Answer::kInvalid;
  *value = parsed;
  return Answer::kOk;
}

Answer Console::read_line(std::string* line) {
  return next_line(line) ? Answer::kOk : Answer::kEndOfInput;
}

Answer Console::pause() {
  std::string ignored;
  return read_line(&ignored);
}

}  // namespace kvr
