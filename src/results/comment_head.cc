#include "results/comment_head.h"

#include <ostream>

#include "common/fixed_format.h"

namespace kvr {
namespace {

std::string comment_text(std::string_view text) {
  return control_characters_shown(trim_right(text));
}

}  // namespace

void write_comment_head(std::ostream& out, const CommentHead& head) {
  out << "# input file: " << comment_text(head.input_name) << '\n';
  for (const std::string& line : head.source_lines) out << "# " << comment_text(line) << '\n';
  out << "# run title: " << comment_text(head.run_title) << '\n';
}

}  // namespace kvr
