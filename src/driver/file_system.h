#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>

namespace kvr {

/// The files the program opens by name, in the current working directory.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  /// An existing regular file opened for reading, or null with a reason in *error.
  virtual std::unique_ptr<std::istream> open_read(const std::string& name, std::string* error) = 0;
  /// A file created or replaced for writing, or null with a reason in *error.
  virtual std::unique_ptr<std::ostream> open_write(const std::string& name,
                                                   std::string* error) = 0;
  /// True when the two names denote the same file (here: the same name).
  virtual bool same_file(const std::string& a, const std::string& b) { return a == b; }
};

/// The real file system.
class DiskFileSystem : public FileSystem {
 public:
  std::unique_ptr<std::istream> open_read(const std::string& name, std::string* error) override;
  std::unique_ptr<std::ostream> open_write(const std::string& name, std::string* error) override;
  /// True when both names exist and denote one file, also through a link.
  bool same_file(const std::string& a, const std::string& b) override;
};

}  // namespace kvr
