#include "driver/age_classes.h"

#include <climits>
#include <string_view>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "standardize/age_class_layout.h"

namespace kvr {
namespace {

// How one attempt of the dialogue ended.
enum class Step {
  kDone,        // a complete layout: the dialogue ends
  kNewAttempt,  // rejected: the dialogue starts again from its first line
  kStop,        // the console gave no usable answer: the run ends
};

int domain_length(const AgeDomain& domain) {
  return domain.age_aligned ? domain.longest_length : domain.time_span;
}

void reject_invalid(Console& console) {
  console.line("");
  console.line(" Invalid entries. Try Again or quit");
}

void print_introduction(Console& console, const AgeDomain& domain) {
  console.line("");
  console.line(" Define the size and number of Age Classes to analyze.............");
  console.line("");
  if (domain.age_aligned) {
    console.line(" Maximum series age is " + format_int(domain.longest_length, 4));
  } else {
    console.line(" Maximum chronology length is " + format_int(domain.time_span, 4));
    console.line(" Start Year : " + format_int(domain.earliest_first_year, 5));
    console.line(" End Year   : " + format_int(domain.latest_last_year, 5));
  }
  console.line(" Maximum number of permitted Age Classes is : 250");
  static constexpr std::string_view kExplanation[] = {
      "",
      " There are 2 options for defining Age Classes and determining which  ",
      " to use for the Reference Age Class (RAC)",
      "",
      " The FIRST is to enter a fixed Age Class size (x) and allow the program  ",
      " to create (n) number of contiguous Age Classes of size(x) sequentially ",
      " across the entire time/age domain of your data.",
      "",
      " The SECOND is to explicitly define the RACs time/age span by entering ",
      " its start(x1) and end(x2) years/ages and allow the program to compute ",
      " the class size n=(x2-x1)+1 and divide the entire time domain into as many ",
      " contiguous Age Classes of size n as it can with the understanding that ",
      " the first and last Age Classes may not be the same size.",
      "",
      " Select Age Class option: ",
      " Option [1] Use fixed Age Class Size",
      " Option [2] Provide RAC start and end values (compute size) ",
  };
  for (std::string_view text : kExplanation) console.line(text);
}

// Option 1: classes of the typed size n from position 1 on, a table of the complete ones, and
// the choice of the RAC among them.
Step fixed_size_option(Console& console, const AgeDomain& domain, AgeClassTable* table,
                       RunTitle* title, Answer* answer) {
  console.line("");
  console.prompt(" Enter Reference Age Class (RAC) size :> ");
  int n = 0;
  if ((*answer = console.read_int(&n)) != Answer::kOk) return Step::kStop;
  // A size of 0 or less makes no classes at all (and would divide by zero below).
  if (n <= 0) {
    reject_invalid(console);
    return Step::kNewAttempt;
  }

  console.line("");
  console.line(domain.age_aligned ? " AgeClass    Start    Stop   "
                                  : " AgeClass  Strt.Yr  End.Yr   Strt.pos.  End.pos");
  const int length = domain_length(domain);
  const std::vector<AgeClass> layout = fixed_size_classes(length, n);
  const long long count = static_cast<long long>(layout.size());
  // The overrunning last class gets no row.
  const bool overrun = !layout.empty() && layout.back().end > length;
  for (long long k = 1; k <= count - (overrun ? 1 : 0); ++k) {
    const AgeClass& c = layout[static_cast<std::size_t>(k - 1)];
    std::string row = " [" + format_int(k, 3) + "]       ";
    if (domain.age_aligned) {
      row += format_int(c.start, 5) + "    " + format_int(c.end, 5);
    } else {
      const long long start_year = domain.earliest_first_year + (k - 1) * static_cast<long long>(n);
      const long long end_year = start_year + n - 1;
      row += format_int(start_year, 5) + "    " + format_int(end_year, 5) + "     " +
             format_int(c.start, 5) + "   " + format_int(c.end, 5);
    }
    console.line(row);
  }

  if (count > kMaxAgeClasses) {
    console.line("");
    console.line(" **** Too many Ages classes ****");
    console.line(" **** Max =  250 Your Age Class Size produces : " + format_int(count, 5) +
                 " ****");
    console.line(" **** Hit RETURN to Try again or CTRL C to quite ? ****");
    if ((*answer = console.pause()) != Answer::kOk) return Step::kStop;
    return Step::kNewAttempt;
  }

  table->classes = layout;
  console.line("");
  console.line(" Select the age class to use as your Reference Age Class (RAC)");
  console.line("");
  // The overrunning last class is not offered in the note, but it is a class and may be
  // chosen (it is the only one when n exceeds the domain).
  const long long bound = overrun ? count - 1 : count;
  const std::string note =
      " (Note: Must be a value between 1 and " + format_int(bound, 3) + ") :> ";
  int rac = 0;
  for (;;) {
    console.prompt(note);
    if ((*answer = console.read_int(&rac)) != Answer::kOk) return Step::kStop;
    if (rac >= 1 && rac <= table->count()) break;
  }
  table->class_size = n;
  table->rac_index = rac;
  table->rac_start = table->at(rac).start;
  table->rac_end = table->at(rac).end;
  *title = {title->age_aligned, RunTitle::Layout::kFixedSize, n, table->rac_start, table->rac_end};
  return Step::kDone;
}

// Option 2: the RAC is given by its bounds; classes of its size are laid out below and above
// it, the first and the last cut at the ends of the domain.
Step rac_bounds_option(Console& console, const AgeDomain& domain, AgeClassTable* table,
                       RunTitle* title, Answer* answer) {
  console.line("");
  int x1 = 0;
  int x2 = 0;
  console.prompt(domain.age_aligned ? " Enter Reference Age Class (RAC) Start Age :> "
                                    : " Enter Reference Age Class (RAC) Start Year :> ");
  if ((*answer = console.read_int(&x1)) != Answer::kOk) return Step::kStop;
  console.prompt(domain.age_aligned ? " Enter Reference Age Class (RAC) End Age   :> "
                                    : " Enter Reference Age Class (RAC) End Year   :> ");
  if ((*answer = console.read_int(&x2)) != Answer::kOk) return Step::kStop;

  bool valid = true;
  if (domain.age_aligned) {
    // Ages are counted from 1: there is no ring of age 0.
    if (x1 <= 0 || x1 > domain.longest_length) {
      valid = false;
    } else if (x2 < 0 || x2 < x1) {
      valid = false;
    }
  } else {
    if (x1 < domain.earliest_first_year || x1 > domain.latest_last_year) {
      valid = false;
    } else if (x2 < domain.earliest_first_year || x2 < x1) {
      valid = false;
    }
  }
  // x1 = x2 would divide the class-count estimate by zero.
  if (valid && x2 == x1) valid = false;

  const long long first_year = domain.age_aligned ? 1 : domain.earliest_first_year;
  const long long size = static_cast<long long>(x2) - x1 + 1;
  const long long rac_start = x1 - first_year + 1;
  const long long rac_end = x2 - first_year + 1;
  // An end so far beyond the data that its position or the size leaves the integer range
  // (possible only with calendar years before year 1).
  if (valid && (size > INT_MAX || rac_end > INT_MAX)) valid = false;
  if (!valid) {
    reject_invalid(console);
    return Step::kNewAttempt;
  }

  const long long length = domain_length(domain);
  if (length / (static_cast<long long>(x2) - x1) + 1 > kMaxAgeClasses) {
    console.line("");
    console.line(" Too many age classes. Try Again or quit");
    return Step::kNewAttempt;
  }

  *table = rac_bounds_layout(static_cast<int>(rac_start), static_cast<int>(rac_end),
                             static_cast<int>(length));
  *title = {title->age_aligned, RunTitle::Layout::kRacBounds, size, x1, x2};
  return Step::kDone;
}

}  // namespace

Answer age_class_dialogue(Console& console, const AgeDomain& domain, AgeClassTable* table,
                          RunTitle* run_title) {
  for (;;) {
    *table = AgeClassTable{};
    print_introduction(console, domain);
    console.prompt("  Enter 1 or 2 (no default) :> ");
    int option = 0;
    Answer answer = console.read_int(&option);
    if (answer != Answer::kOk) return answer;
    Step step = Step::kNewAttempt;
    if (option == 1) {
      step = fixed_size_option(console, domain, table, run_title, &answer);
    } else if (option == 2) {
      step = rac_bounds_option(console, domain, table, run_title, &answer);
    }
    if (step == Step::kStop) return answer;
    if (step == Step::kDone) return Answer::kOk;
  }
}

}  // namespace kvr
