#pragma once

// The answers of a run, one line each, as a user types them at the prompts.

#include <initializer_list>
#include <string>
#include <vector>

namespace kvr::test {

/// Answer lines in the order the dialogue asks for them:
///
///   Answers().start("oak.rwl").no().no().number(1).fixed_classes(10, 1).line("c").yes().end()
///
/// is Return at the banner, the file name, no raw plot, no transformation, age alignment,
/// Age Classes of 10 with the first as the RAC, "c" at the chronology plot's menu, the KNMI
/// file, and the closing Return.
class Answers {
 public:
  Answers() = default;
  Answers(std::initializer_list<std::string> lines) : lines_(lines) {}

  /// Any answer line, as typed.
  Answers& line(const std::string& text) {
    lines_.push_back(text);
    return *this;
  }
  Answers& lines(const std::vector<std::string>& texts) {
    lines_.insert(lines_.end(), texts.begin(), texts.end());
    return *this;
  }
  /// Return at the banner, then the input file name.
  Answers& start(const std::string& input) { return line("").line(input); }
  Answers& yes() { return line("y"); }
  Answers& no() { return line("n"); }
  Answers& number(long long value) { return line(std::to_string(value)); }
  /// Age-Class option 1: classes of `size`, the RAC the class numbered `rac`.
  Answers& fixed_classes(int size, int rac) { return number(1).number(size).number(rac); }
  /// Age-Class option 2: the RAC from `first` to `last` (ages or years).
  Answers& rac_bounds(int first, int last) { return number(2).number(first).number(last); }
  /// Yes to a plot question, then at the plot's menu "s" (save the plot) and "c" (go on).
  Answers& save_plot() { return yes().line("s").line("c"); }
  /// The closing Return.
  Answers& end() { return line(""); }

  const std::vector<std::string>& lines() const { return lines_; }
  std::size_t size() const { return lines_.size(); }
  /// The first `count` lines, each ended by `line_end`.
  std::string text(std::size_t count, const std::string& line_end = "\n") const {
    std::string joined;
    for (std::size_t k = 0; k < count && k < lines_.size(); ++k) joined += lines_[k] + line_end;
    return joined;
  }
  /// Every line, each ended by `line_end`.
  std::string text(const std::string& line_end = "\n") const { return text(size(), line_end); }

 private:
  std::vector<std::string> lines_;
};

/// The plain road: no plots, no transformation, `alignment` (1 age, 2 calendar), Age Classes
/// of `class_size` with class `rac` as the RAC, "c" at the chronology plot's menu, the KNMI
/// answer, and the closing Return.
inline Answers plain_answers(const std::string& input, int alignment, int class_size, int rac,
                             bool knmi = true) {
  return Answers()
      .start(input)
      .no()
      .no()
      .number(alignment)
      .fixed_classes(class_size, rac)
      .line("c")
      .line(knmi ? "y" : "n")
      .end();
}

/// The road with every plot saved: the raw-data plot, the power transformation and its plot
/// (when `transform`), `alignment` (1 age, 2 calendar), the Age-Class answers of `layout`, the
/// chronology plot (asked without a question), the KNMI file, and the closing Return.
inline Answers saved_plots_answers(const std::string& input, bool transform, int alignment,
                                   const Answers& layout) {
  Answers answers = Answers().start(input).save_plot();
  if (transform) {
    answers.yes().save_plot();
  } else {
    answers.no();
  }
  return answers.number(alignment).lines(layout.lines()).line("s").line("c").yes().end();
}

}  // namespace kvr::test
