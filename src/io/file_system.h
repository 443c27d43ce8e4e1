#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>

namespace kvr {

/// The reason given when a result file's bytes could not all be written.
inline constexpr const char* kWriteFailed = "the write failed";

/// A result file being written. Its bytes go to stream(); commit() puts the file in place
/// under its name. Destroyed without a successful commit, it leaves nothing behind, and a file
/// of that name from an earlier run stays as it was.
class ReplacementFile {
 public:
  virtual ~ReplacementFile() = default;
  virtual std::ostream& stream() = 0;
  /// Flushes and closes the file and puts it in place. False, with the reason in *error, when
  /// any of that failed: kWriteFailed for a write, the flush or the close, the system's reason
  /// when the file cannot be put in place.
  [[nodiscard]] virtual bool commit(std::string* error) = 0;
};

/// The files the program opens by name, in the current working directory.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  /// An existing regular file opened for reading, or null with a reason in *error.
  virtual std::unique_ptr<std::istream> open_read(const std::string& name, std::string* error) = 0;
  /// A file created or replaced for writing, or null with a reason in *error.
  virtual std::unique_ptr<std::ostream> open_write(const std::string& name, std::string* error) = 0;
  /// A file that replaces `name` whole or not at all, or null with a reason in *error. This
  /// default writes through open_write, in place; the file systems below override it.
  virtual std::unique_ptr<ReplacementFile> open_replacement(const std::string& name,
                                                            std::string* error);
  /// True when the two names denote the same file (here: the same name).
  virtual bool same_file(const std::string& a, const std::string& b) { return a == b; }
};

/// The real file system.
class DiskFileSystem : public FileSystem {
 public:
  std::unique_ptr<std::istream> open_read(const std::string& name, std::string* error) override;
  std::unique_ptr<std::ostream> open_write(const std::string& name, std::string* error) override;
  /// Writes a temporary file in the folder of `name` and renames it over `name` on commit.
  /// A symbolic link is followed: the file it leads to is replaced, and the link stays. A
  /// folder of that name, or an existing file the user may not write, is refused at once. A
  /// name that leads to something other than a regular file (a device such as /dev/null, a
  /// pipe) is written in place, as there is no earlier file to keep.
  std::unique_ptr<ReplacementFile> open_replacement(const std::string& name,
                                                    std::string* error) override;
  /// True when both names exist and denote one file, also through a link.
  bool same_file(const std::string& a, const std::string& b) override;
};

}  // namespace kvr
