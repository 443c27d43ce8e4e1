#include "test_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace kvr::test {

ScopedTempDir::ScopedTempDir() {
  std::random_device seed;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("kvr_test_" + std::to_string(::getpid()) + "_" + std::to_string(seed()));
    if (std::filesystem::create_directory(path_)) break;
  }
  previous_ = std::filesystem::current_path();
  std::filesystem::current_path(path_);
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::filesystem::path archive_file(const std::string& name) {
  return std::filesystem::path(KVR_SHARED_DATA_DIR) / name;
}

std::filesystem::path project_file(const std::string& relative) {
  return std::filesystem::path(KVR_SOURCE_DIR) / relative;
}

ProgramRun run_program(const std::string& answers_file, const std::string& environment) {
  const std::string command = (environment.empty() ? "" : "env " + environment + " ") + "'" +
                              std::string(KVR_BINARY) + "' < '" + answers_file + "' 2>&1";
  ProgramRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
  const int status = ::pclose(pipe);
  if (WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
  return run;
}

bool on_path(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path != nullptr ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (!dir.empty() && ::access((std::filesystem::path(dir) / program).c_str(), X_OK) == 0) {
      return true;
    }
  }
  return false;
}

int lineto_count(const std::string& postscript) {
  const std::size_t page = postscript.find("%%Page:");
  if (page == std::string::npos) return -1;
  std::istringstream words(postscript.substr(page));
  std::string word;
  int count = 0;
  while (words >> word) count += word == "D" ? 1 : 0;
  return count;
}

bool postscript_complete(const std::string& postscript) {
  const std::size_t end = postscript.rfind("%%EOF");
  return end != std::string::npos &&
         postscript.find_first_not_of("\r\n", end + 5) == std::string::npos;
}

namespace {

std::string visible(const std::string& line) {
  std::string out;
  for (const char c : line) {
    if (c == ' ') {
      out += "\xc2\xb7";  // a middle dot for each blank
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

void expect_matches_golden(const std::string& name, const std::string& actual) {
  const std::filesystem::path path = project_file("testdata/" + name);
  const char* update = std::getenv("KVR_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    write_file(path, actual);
    return;
  }
  const std::string expected = read_file(path);
  if (expected == actual) return;
  std::istringstream want(expected);
  std::istringstream got(actual);
  std::string want_line;
  std::string got_line;
  for (int line = 1;; ++line) {
    const bool more_want = static_cast<bool>(std::getline(want, want_line));
    const bool more_got = static_cast<bool>(std::getline(got, got_line));
    if (!more_want && !more_got) break;
    if (!more_want || !more_got || want_line != got_line) {
      ADD_FAILURE() << "testdata/" << name << " differs at line " << line
                    << "\n  expected: " << (more_want ? visible(want_line) : "<end of file>")
                    << "\n  actual:   " << (more_got ? visible(got_line) : "<end of file>");
      return;
    }
  }
  ADD_FAILURE() << "testdata/" << name << " differs (line ends)";
}

}  // namespace kvr::test
