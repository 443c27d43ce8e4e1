#include "driver/run.h"

#include <memory>
#include <string>
#include <vector>

#include "common/dimensions.h"
#include "common/fixed_format.h"
#include "common/grid.h"
#include "common/output_files.h"
#include "data/calendar_shift.h"
#include "data/decade_outputs.h"
#include "data/measurement_set.h"
#include "data/power_transform.h"
#include "data/summary.h"
#include "data/trrw.h"
#include "driver/age_classes.h"
#include "driver/banner.h"
#include "driver/read_input.h"
#include "plot/plot_loop.h"
#include "plot/plotchron.h"
#include "plot/plotmeas.h"
#include "standardize/age_class_table.h"
#include "standardize/chronology.h"
#include "standardize/rankcls.h"
#include "standardize/result_table.h"
#include "standardize/signal_files.h"

namespace kvr {
namespace {

// The run title: the alignment, then the Age-Class layout.
constexpr std::size_t kTitleLength = 60;

// Everything one run works on; made once per run, on the heap, because the grids can be large.
struct RunState {
  std::string input_name;   // 60 characters, blank padded
  std::string result_name;  // as opened
  MeasurementSet set;
  TrrwText text;
  Grid<float> by_year;  // the standardized values by calendar position
  SampleDepth depth;
  bool power_transformed = false;
  bool age_aligned = false;
  std::string run_title = std::string(kTitleLength, ' ');
  AgeClassTable classes;
  Chronology chronology;
};

// Ends the run after a console answer that was not usable.
int answer_failure(Console& console, Answer answer) {
  if (answer == Answer::kInvalid) {
    console.line("");
    console.line(" Input error: a whole number was expected. Program terminating.");
  } else {
    console.line("");
    console.line(" End of input before the dialogue was complete. Program terminating.");
  }
  return kExitFailure;
}

int write_failure(Console& console, const std::string& name, const std::string& reason) {
  console.line("");
  console.line(" Cannot write the file " + name + ": " + reason + ". Program terminating.");
  return kExitFailure;
}

// Writes the result file `name` through `write`, whole or not at all: under a temporary
// name that replaces `name` only once complete. False after the failure has been reported;
// the run must then end.
template <typename Write>
bool write_result_file(FileSystem& files, Console& console, const std::string& name, Write write) {
  std::string error;
  std::unique_ptr<ReplacementFile> file = files.open_replacement(name, &error);
  if (file != nullptr) {
    write(file->stream());
    if (file->commit(&error)) return true;
  }
  write_failure(console, name, error);
  return false;
}

// The run itself. *keep_answers becomes true once the input file name is asked for, unless
// that file is the answers file, which must then stay as it is.
int run_dialogue(Console& console, Plotter& plotter, FileSystem& files,
                 std::string_view font_folder, bool* keep_answers) {
  auto run = std::make_unique<RunState>();
  PlotContext plots{console, plotter, files};

  print_banner(console, font_folder);
  console.line(" Hit Return to begin");
  if (Answer a = console.pause(); a != Answer::kOk) return answer_failure(console, a);

  console.line("");
  console.prompt(" Enter input file name :> ");
  *keep_answers = true;
  std::string typed;
  if (Answer a = console.read_item(&typed); a != Answer::kOk) return answer_failure(console, a);
  run->input_name = pad_right(typed, kFileNameLength);
  run->result_name = result_table_file(run->input_name);
  const std::string input_file = trim_right(run->input_name);
  *keep_answers = !files.same_file(input_file, kAnswersFile);
  if (run->result_name == input_file) {
    console.line(" The result file name " + run->result_name +
                 " would be the input file name; rename the input file to less than 53" +
                 " characters. Program terminating.");
    return kExitFailure;
  }

  std::string error;
  std::unique_ptr<std::istream> input = files.open_read(input_file, &error);
  if (input == nullptr) {
    console.line(" Cannot open the input file " + input_file + ": " + error +
                 ". Program terminating.");
    return kExitFailure;
  }
  // A file that the run writes must not be the input (a result file analysed again, or a
  // link): it would be replaced.
  for (const std::string& output : output_files(run->input_name)) {
    if (files.same_file(input_file, output)) {
      console.line(" The input file " + input_file + " is the file " + output +
                   " that the run writes; copy it to another name first. Program terminating.");
      return kExitFailure;
    }
  }
  // The result table is written at the end of the run; that it can be is checked now, before
  // the dialogue, by making its temporary file and removing it again.
  if (files.open_replacement(run->result_name, &error) == nullptr) {
    return write_failure(console, run->result_name, error);
  }

  if (!read_measurements(*input, console, &run->set, &run->text)) return kExitFailure;
  input.reset();
  MeasurementSet& set = run->set;

  const DataSummary summary = summarize(set);
  for (const std::string& line : summary_lines(summary)) console.line(line);
  if (summary.kind == DataSummary::Kind::kTooManySeries) return kExitFailure;

  bool yes = false;
  console.line("");
  console.prompt(" Plot raw data? [Y]es or [N]o? :> ");
  if (Answer a = console.read_yes_no(&yes); a != Answer::kOk) return answer_failure(console, a);
  if (yes) {
    if (Answer a = plotmeas(plots, set, &run->depth, kPlotRaw, trim_right(run->input_name));
        a != Answer::kOk) {
      return answer_failure(console, a);
    }
  }

  console.line("");
  console.prompt(" Apply Power Transformation? [Y]es or [N]o :> ");
  if (Answer a = console.read_yes_no(&yes); a != Answer::kOk) return answer_failure(console, a);
  if (yes) {
    run->power_transformed = true;
    float mean_power = 0.0f;
    if (!power_transform(&set, &mean_power)) {
      console.line(" ***Something is rotten in the state of Denmark***");
      console.line("              Cannot perform PT. ");
      console.line("   *** Try again later. Program terminating ***");
      return kExitFailure;
    }
    console.line("  (The mean adaptive power transform power applied is: " +
                 format_fixed(mean_power, 8, 3) + ")");
    console.line("");
    console.prompt(" Plot Transformed data? [Y]es or [N]o? :> ");
    if (Answer a = console.read_yes_no(&yes); a != Answer::kOk) {
      return answer_failure(console, a);
    }
    if (yes) {
      if (Answer a =
              plotmeas(plots, set, &run->depth, kPlotTransformed, trim_right(run->input_name));
          a != Answer::kOk) {
        return answer_failure(console, a);
      }
    }
  }

  console.line("");
  console.line(" Continue analysis with, ");
  console.line(" [1] Age Aligned  ");
  console.prompt(" [2] Calendar Aligned values [1 or 2]? :> ");
  int alignment = 0;
  if (Answer a = console.read_int(&alignment); a != Answer::kOk) {
    return answer_failure(console, a);
  }
  run->age_aligned = alignment == 1;
  if (run->age_aligned) {
    run->run_title.replace(0, 15, "Age Aligned    ");
  } else {
    run->run_title.replace(0, 15, "Calendar Dates ");
    shift_to_calendar(set, &set.values);
  }

  const AgeDomain domain{run->age_aligned, set.longest_length, set.time_span,
                         set.earliest_first_year, set.latest_last_year};
  if (Answer a = age_class_dialogue(console, domain, &run->classes, &run->run_title);
      a != Answer::kOk) {
    return answer_failure(console, a);
  }

  console.line(" ");
  console.line(" ");
  run->by_year = rank_standardize(set, run->classes, run->age_aligned, console.out());
  const Grid<float>& by_year = run->by_year;

  run->chronology = build_chronology(by_year, set.count(), set.time_span);
  if (!write_result_file(files, console, run->result_name, [&](std::ostream& out) {
        write_result_table(out, set, by_year, run->chronology, run->age_aligned, run->run_title);
      })) {
    return kExitFailure;
  }

  const SignalStrength signal =
      signal_strength(by_year, set.count(), set.time_span, run->chronology.sample_depth);
  for (const std::string& line : signal_screen_lines(signal, set.earliest_first_year)) {
    console.line(line);
  }

  const int chronology_kind = run->power_transformed ? kPlotTransformed : kPlotRaw;
  if (Answer a = plotchron(plots, set, by_year, trim_right(run->input_name), chronology_kind,
                           run->chronology);
      a != Answer::kOk) {
    return answer_failure(console, a);
  }

  if (!write_result_file(files, console, kModeledRawFile, [&](std::ostream& out) {
        write_modeled_raw(out, run->input_name, run->run_title, set, by_year);
      })) {
    return kExitFailure;
  }
  CrnAdjustments adjusted;
  if (!write_result_file(files, console, kModeledCrnFile, [&](std::ostream& out) {
        adjusted = write_modeled_crn(out, run->input_name, run->run_title, run->age_aligned,
                                     run->chronology.robust_mean, run->chronology.sample_depth,
                                     set.earliest_first_year);
      })) {
    return kExitFailure;
  }
  for (const std::string& line : crn_warning_lines(adjusted)) console.line(line);
  if (!write_result_file(files, console, kSignalFile, [&](std::ostream& out) {
        write_signal_file(out, run->input_name, run->run_title, signal, set.earliest_first_year);
      })) {
    return kExitFailure;
  }
  if (!write_result_file(files, console, kSubsampleSignalFile, [&](std::ostream& out) {
        write_sss_file(out, run->input_name, run->run_title, signal, run->chronology.sample_depth,
                       set.earliest_first_year);
      })) {
    return kExitFailure;
  }

  console.line("");
  console.line(" Do you want to save the final chronology in ");
  console.line(" a format suitable for uploading into KNMI.CE?");
  console.prompt(" Enter [Y]es or [N]o :> ");
  if (Answer a = console.read_yes_no(&yes); a != Answer::kOk) return answer_failure(console, a);
  if (yes && !write_result_file(files, console, kKnmiFile, [&](std::ostream& out) {
        write_knmi(out, run->input_name, run->run_title, run->age_aligned, run->chronology,
                   set.earliest_first_year);
      })) {
    return kExitFailure;
  }

  console.line("");
  console.line(" Normal Termination of Program");
  console.line(" Hit RETURN to EXIT");
  // Everything is written by now, so the end of input here ends the run normally.
  (void)console.pause();
  return kExitNormal;
}

}  // namespace

int run_analysis(Console& console, Plotter& plotter, FileSystem& files,
                 std::string_view font_folder) {
  bool keep_answers = false;
  const int status = run_dialogue(console, plotter, files, font_folder, &keep_answers);
  // Written after the last read: a run fed from KVRanswers.txt has taken all its lines before
  // the file is replaced.
  if (keep_answers && !write_result_file(files, console, kAnswersFile,
                                         [&](std::ostream& out) { out << console.lines_read(); })) {
    return kExitFailure;
  }
  return status;
}

}  // namespace kvr
