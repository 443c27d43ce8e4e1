#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace kvr::test {

/// A fresh folder under the system's temporary folder, made the current working directory
/// for the lifetime of the object (the program opens its files by name), removed afterwards.
class ScopedTempDir {
 public:
  ScopedTempDir();
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

/// The whole file, bytes as stored; empty when it cannot be read.
std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

/// A file of the real archive (beside the checkout), or of the project.
std::filesystem::path archive_file(const std::string& name);
std::filesystem::path project_file(const std::string& relative);

/// Empty when the archive file `name` is there; else the reason to skip a test that needs it
/// (the archive folder ../shared/data beside the checkout may be absent).
std::string archive_file_missing(const std::string& name);

/// Skips the current test, with a message, when the archive file `name` is absent.
#define KVR_SKIP_WITHOUT_ARCHIVE_FILE(name)                                    \
  if (const std::string kvr_missing = ::kvr::test::archive_file_missing(name); \
      !kvr_missing.empty())                                                    \
  GTEST_SKIP() << kvr_missing

/// Copies the file `from` into the current folder as `name`, replacing one there.
void copy_here(const std::filesystem::path& from, const std::string& name);

/// Result of running the real program.
struct ProgramRun {
  int exit_status = -1;  // -1 when it did not exit normally (a signal)
  std::string output;    // standard output and standard error, interleaved
};

/// Runs build/kvr in the current folder with standard input from `answers_file` and the
/// given extra environment assignments (e.g. "DISPLAY=" to unset the display).
ProgramRun run_program(const std::string& answers_file, const std::string& environment = "");

/// True when `program` is an executable file in a folder of PATH.
bool on_path(const std::string& program);

/// The line segments a PostScript file of PLplot draws: its prolog defines D as lineto, so
/// the D operators after the first %%Page: are the segments. -1 when there is no page.
int lineto_count(const std::string& postscript);

/// True when the PostScript file ends with %%EOF (and line ends only): PLplot wrote it whole.
bool postscript_complete(const std::string& postscript);

/// The shares of dark pixels (every channel below 64) and of light ones (every channel above
/// 191) in a part of a figure: a PostScript or PDF page rendered by ghostscript, or a PNG
/// image converted by ImageMagick (into page.ppm and gs.log in the current folder). The part
/// is given in fractions of the width and height from the top left; by default the middle,
/// which leaves out the paper margin that PLplot leaves white under a black background
/// (PostScript pages lie rotated on the sheet: use the middle for them). Nothing when the
/// rendering fails.
struct PageTones {
  double dark = 0.0;
  double light = 0.0;
};
struct PageRegion {
  double left = 0.3;
  double top = 0.3;
  double right = 0.7;
  double bottom = 0.7;
};
std::optional<PageTones> render_page_tones(const std::string& figure_file,
                                           const PageRegion& region = {});

/// Width and height of a PNG image from its header; nothing when the file is not a PNG.
std::optional<std::pair<int, int>> png_size(const std::string& png_file);

/// Compares `actual` with the golden file testdata/<name>; on a difference reports the first
/// differing line with blanks made visible. KVR_UPDATE_GOLDEN=1 rewrites the golden file.
void expect_matches_golden(const std::string& name, const std::string& actual);

/// The same for an expected file worked out apart from the program, which
/// KVR_UPDATE_GOLDEN never rewrites.
void expect_matches_file(const std::string& name, const std::string& actual);

}  // namespace kvr::test
