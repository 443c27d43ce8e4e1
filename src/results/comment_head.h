#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace kvr {

/// What the `#` lines at the head of a tab-separated result file say of the run:
///   # input file: <input name>
///   # <source line>            one per line: what the input says of its data (a NOAA
///                              template's study, site, species, investigators, variable);
///                              none for a decade file
///   # run title: <run title>
struct CommentHead {
  std::string_view input_name;
  std::span<const std::string> source_lines;
  std::string run_title;
};

/// Writes the head's lines; trailing blanks of the name and the title are dropped and control
/// characters shown as '?', so that each stays one comment line for every reader.
void write_comment_head(std::ostream& out, const CommentHead& head);

}  // namespace kvr
