#include "driver/run.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/fixed_format.h"
#include "common/grid.h"
#include "driver/age_classes.h"
#include "driver/banner.h"
#include "driver/read_input.h"
#include "driver/report_lines.h"
#include "driver/result_lines.h"
#include "driver/summary_lines.h"
#include "driver/table_text.h"
#include "io/free_memory.h"
#include "measurements/calendar_shift.h"
#include "measurements/measurement_set.h"
#include "measurements/power_transform.h"
#include "measurements/summary.h"
#include "plot/comparison_plot.h"
#include "plot/plot_context.h"
#include "plot/plotchron.h"
#include "plot/plotmeas.h"
#include "results/modeled_files.h"
#include "results/output_files.h"
#include "results/result_files.h"
#include "results/run_title.h"
#include "standardize/age_class_table.h"
#include "standardize/chronology.h"
#include "standardize/rankcls.h"
#include "statistics/rcs_chronology.h"
#include "statistics/rcs_comparison.h"
#include "statistics/regional_curve.h"
#include "statistics/series_report.h"
#include "statistics/signal_strength.h"

namespace kvr {
namespace {

// How a step ended: the run goes on, or it stops with the lines that say why (none when the
// step has said it already). finish() is the one place that prints them.
struct Status {
  bool stop = false;
  std::vector<std::string> lines;
};

Status go_on() { return {}; }
Status stop(std::vector<std::string> lines = {}) { return {true, std::move(lines)}; }

// The run stops after a console answer that was not usable, and goes on after a usable one.
Status on_answer(Answer answer) {
  switch (answer) {
    case Answer::kOk:
      return go_on();
    case Answer::kInvalid:
      return stop({"", " Input error: a whole number was expected. Program terminating."});
    case Answer::kEndOfInput:
      break;
  }
  return stop({"", " End of input before the dialogue was complete. Program terminating."});
}

Status write_failure(const std::string& name, const std::string& reason) {
  return stop({"", " Cannot write the file " + name + ": " + reason + ". Program terminating."});
}

// Prints why the run stopped, if it did, and gives the exit status.
int finish(Console& console, const Status& status) {
  for (const std::string& line : status.lines) console.line(line);
  return status.stop ? kExitFailure : kExitNormal;
}

// What the steps of a run hand on to the later ones.
struct RunState {
  std::string input_name;  // as the run takes it: cut to kFileNameLength, no trailing blanks
  std::string result_name;
  std::unique_ptr<std::istream> input;    // from opening to reading
  std::vector<std::string> source_lines;  // what the input says of its data (source_lines)
  MeasurementSet set;
  // The series in double precision as the file gives them, from reading until the series
  // report and the RCS chronology are computed; nothing later needs them.
  std::vector<MeasuredSeries> measured;
  SeriesReport report;
  RegionalCurve curve;  // until the comparison takes them
  RcsChronology rcs;
  bool power_transformed = false;
  RunTitle title;  // the alignment and the Age-Class layout
  AgeClassTable classes;
  Grid<float> by_year;  // the standardized values by calendar position
  Chronology chronology;
  SignalStrength signal;
  RcsComparison comparison;
};

// One analysis: its steps in order, each a member that reads and fills the state.
class Analysis {
 public:
  Analysis(Console& console, Plotter& plotter, FileSystem& files, std::string_view font_folder)
      : console_(console),
        files_(files),
        plots_{console, plotter, files},
        font_folder_(font_folder) {}

  Status run() {
    using Step = Status (Analysis::*)();
    static constexpr Step kSteps[] = {
        &Analysis::welcome,        &Analysis::name_input,      &Analysis::open_input,
        &Analysis::read_input,     &Analysis::summarize_data,  &Analysis::report_series,
        &Analysis::plot_raw_data,  &Analysis::transform,       &Analysis::align,
        &Analysis::define_classes, &Analysis::standardize,     &Analysis::chronology,
        &Analysis::write_results,  &Analysis::offer_knmi_file, &Analysis::close,
    };
    for (const Step step : kSteps) {
      Status status = (this->*step)();
      if (status.stop) return status;
    }
    return go_on();
  }

  // Once the input file name has been asked for, the lines read are kept in the answers
  // file, unless the input is that file itself.
  Status keep_answers() {
    if (!answers_kept_) return go_on();
    return write_results(ResultFile::When::kLast);
  }

 private:
  Status welcome() {
    print_banner(console_, font_folder_);
    console_.line(" Hit Return to begin");
    return on_answer(console_.pause());
  }

  Status name_input() {
    console_.line("");
    console_.prompt(" Enter input file name :> ");
    answers_kept_ = true;
    std::string typed;
    if (Answer a = console_.read_item(&typed); a != Answer::kOk) return on_answer(a);
    state_.input_name = trim_right(pad_right(typed, kFileNameLength));
    state_.result_name = result_table_file(state_.input_name);
    const std::string& input_file = state_.input_name;
    answers_kept_ = !files_.same_file(input_file, kAnswersFile);
    if (state_.result_name == input_file) {
      return stop({" The result file name " + state_.result_name +
                   " would be the input file name; rename the input file to less than 53" +
                   " characters. Program terminating."});
    }
    return go_on();
  }

  Status open_input() {
    const std::string& input_file = state_.input_name;
    std::string error;
    state_.input = files_.open_read(input_file, &error);
    if (state_.input == nullptr) {
      return stop(
          {" Cannot open the input file " + input_file + ": " + error + ". Program terminating."});
    }
    // A file that the run writes must not be the input (a result file analysed again, or a
    // link): it would be replaced.
    for (const std::string& output : output_files(state_.input_name)) {
      if (files_.same_file(input_file, output)) {
        return stop({" The input file " + input_file + " is the file " + output +
                     " that the run writes; copy it to another name first. Program terminating."});
      }
    }
    // The result table is written at the end of the run; that it can be is checked now,
    // before the dialogue, by making its temporary file and removing it again.
    if (files_.open_replacement(state_.result_name, &error) == nullptr) {
      return write_failure(state_.result_name, error);
    }
    return go_on();
  }

  Status read_input() {
    MeasurementReading reading = read_measurement_file(*state_.input);
    state_.input.reset();
    if (!show_reading(console_, reading)) return stop();
    state_.source_lines = source_lines(reading);
    state_.set = std::move(reading.set);
    state_.measured = std::move(reading.measured);
    return go_on();
  }

  Status summarize_data() {
    const DataSummary summary = summarize(state_.set);
    for (const std::string& line : summary_lines(summary)) console_.line(line);
    return summary.kind == DataSummary::Kind::kTooManySeries ? stop() : go_on();
  }

  // The series report, shown now, and the RCS side of the comparison, shown with the
  // chronology: both from the measurements as the file gives them, before any transformation.
  // The measurements are let go after, and their memory handed back when it is much, so that
  // it does not add to the memory of the ranking.
  Status report_series() {
    state_.report = series_report(state_.measured);
    for (const std::string& line : series_report_lines(state_.report)) console_.line(line);
    state_.curve = regional_curve(state_.measured);
    state_.rcs = rcs_chronology(state_.measured, state_.curve);
    const std::size_t values = value_count(state_.measured);
    std::vector<MeasuredSeries>().swap(state_.measured);
    release_free_memory(values * sizeof(double));
    return go_on();
  }

  Status plot_raw_data() {
    console_.line("");
    console_.prompt(" Plot raw data? [Y]es or [N]o? :> ");
    return plot_measurements_if_asked(kPlotRaw);
  }

  Status transform() {
    console_.line("");
    console_.prompt(" Apply Power Transformation? [Y]es or [N]o :> ");
    bool yes = false;
    if (Answer a = console_.read_yes_no(&yes); a != Answer::kOk || !yes) return on_answer(a);
    state_.power_transformed = true;
    float mean_power = 0.0f;
    if (!power_transform(&state_.set, &mean_power)) {
      return stop({" ***Something is rotten in the state of Denmark***",
                   "              Cannot perform PT. ",
                   "   *** Try again later. Program terminating ***"});
    }
    console_.line("  (The mean adaptive power transform power applied is: " +
                  format_fixed(mean_power, 8, 3) + ")");
    console_.line("");
    console_.prompt(" Plot Transformed data? [Y]es or [N]o? :> ");
    return plot_measurements_if_asked(kPlotTransformed);
  }

  // Reads the answer to a plot question and, on yes, shows the measurement plot of that kind.
  Status plot_measurements_if_asked(int plot_kind) {
    bool yes = false;
    if (Answer a = console_.read_yes_no(&yes); a != Answer::kOk || !yes) return on_answer(a);
    return on_answer(plotmeas(plots_, state_.set, plot_kind, state_.input_name));
  }

  Status align() {
    console_.line("");
    console_.line(" Continue analysis with, ");
    console_.line(" [1] Age Aligned  ");
    console_.prompt(" [2] Calendar Aligned values [1 or 2]? :> ");
    int alignment = 0;
    if (Answer a = console_.read_int(&alignment); a != Answer::kOk) return on_answer(a);
    state_.title.age_aligned = alignment == 1;
    if (!state_.title.age_aligned) shift_to_calendar(state_.set, &state_.set.values);
    return go_on();
  }

  Status define_classes() {
    const MeasurementSet& set = state_.set;
    const AgeDomain domain{state_.title.age_aligned, set.longest_length, set.time_span,
                           set.earliest_first_year, set.latest_last_year};
    return on_answer(age_class_dialogue(console_, domain, &state_.classes, &state_.title));
  }

  Status standardize() {
    console_.line(" ");
    console_.line(" ");
    RankStandardized standardized =
        rank_standardize(state_.set, state_.classes, state_.title.age_aligned);
    // The sort of each class without measurements says so.
    for (int k = 0; k < standardized.empty_classes; ++k) {
      console_.line(" the number of values to be sorted is not positive.");
    }
    state_.by_year = std::move(standardized.by_year);
    return go_on();
  }

  // The chronology: computed, written to the result table, its signal strength and its
  // comparison with RCS shown, and plotted; a save of its figure saves the comparison's too.
  Status chronology() {
    const MeasurementSet& set = state_.set;
    state_.chronology = build_chronology(state_.by_year, set.count(), set.time_span);
    if (Status s = write_results(ResultFile::When::kWithChronology); s.stop) return s;
    state_.signal =
        signal_strength(state_.by_year, set.count(), set.time_span, state_.chronology.sample_depth);
    for (const std::string& line : signal_screen_lines(state_.signal, set.earliest_first_year)) {
      console_.line(line);
    }
    state_.comparison =
        compare_with_rcs(std::move(state_.curve), std::move(state_.rcs), state_.by_year,
                         set.count(), set.time_span, set.earliest_first_year, state_.chronology);
    for (const std::string& line : rcs_lines(state_.comparison)) console_.line(line);
    const SavedPage comparison = comparison_page(state_.comparison, state_.input_name);
    const int plot_kind = state_.power_transformed ? kPlotTransformed : kPlotRaw;
    return on_answer(plotchron(plots_, set, state_.by_year, state_.input_name, plot_kind,
                               state_.chronology, {&comparison, 1}));
  }

  Status write_results() { return write_results(ResultFile::When::kWithResults); }

  Status offer_knmi_file() {
    console_.line("");
    console_.line(" Do you want to save the final chronology in ");
    console_.line(" a format suitable for uploading into KNMI.CE?");
    console_.prompt(" Enter [Y]es or [N]o :> ");
    bool yes = false;
    if (Answer a = console_.read_yes_no(&yes); a != Answer::kOk || !yes) return on_answer(a);
    return write_results(ResultFile::When::kOnRequest);
  }

  Status close() {
    console_.line("");
    console_.line(" Normal Termination of Program");
    console_.line(" Hit RETURN to EXIT");
    // Everything is written by now, so the end of input here ends the run normally.
    (void)console_.pause();
    return go_on();
  }

  // Writes the result files due `when`, in the order of their list, each whole or not at
  // all: under a temporary name that replaces the file only once complete. What a writer had
  // to adjust is said right after its file.
  Status write_results(ResultFile::When when) {
    const RunResults results{state_.input_name, state_.source_lines,  state_.title,  state_.set,
                             state_.by_year,    state_.chronology,    state_.signal, state_.report,
                             state_.comparison, console_.lines_read()};
    for (const ResultFile& result : result_files()) {
      if (result.when != when) continue;
      const std::string name = result.name(results);
      std::string error;
      std::unique_ptr<ReplacementFile> file = files_.open_replacement(name, &error);
      if (file == nullptr) return write_failure(name, error);
      const FileAdjustments adjusted = result.write(file->stream(), results);
      if (!file->commit(&error)) return write_failure(name, error);
      for (const std::string& line : adjustment_lines(adjusted)) console_.line(line);
    }
    return go_on();
  }

  Console& console_;
  FileSystem& files_;
  PlotContext plots_;
  std::string_view font_folder_;
  bool answers_kept_ = false;
  RunState state_;
};

}  // namespace

int run_analysis(Console& console, Plotter& plotter, FileSystem& files,
                 std::string_view font_folder) {
  Analysis analysis(console, plotter, files, font_folder);
  const int status = finish(console, analysis.run());
  // Written after the last read: a run fed from KVRanswers.txt has taken all its lines before
  // the file is replaced.
  const Status kept = analysis.keep_answers();
  return kept.stop ? finish(console, kept) : status;
}

}  // namespace kvr
