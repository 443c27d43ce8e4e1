#include "memory_file_system.h"

#include <sstream>
#include <streambuf>

namespace kvr {
namespace {

// An output stream that hands its bytes to a file of the MemoryFileSystem when destroyed.
class MemoryFileStream : public std::ostringstream {
 public:
  explicit MemoryFileStream(std::string* target) : target_(target) {}
  ~MemoryFileStream() override { *target_ = str(); }

 private:
  std::string* target_;
};

// A stream buffer that fails every write, as a file on a full disk does.
class FullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

class FullStream : public std::ostream {
 public:
  FullStream() : std::ostream(&buffer_) {}

 private:
  FullBuffer buffer_;
};

// A file kept aside until its commit stores it under its name; on a full disk every write
// fails.
class MemoryReplacement : public ReplacementFile {
 public:
  MemoryReplacement(std::map<std::string, std::string>* files, std::string name, bool full)
      : files_(files), name_(std::move(name)), full_(full) {}
  std::ostream& stream() override {
    if (full_) return full_stream_;
    return bytes_;
  }
  bool commit(std::string* error) override {
    if (full_ || !bytes_) {
      *error = kWriteFailed;
      return false;
    }
    (*files_)[name_] = bytes_.str();
    return true;
  }

 private:
  std::map<std::string, std::string>* files_;
  std::string name_;
  bool full_;
  std::ostringstream bytes_;
  FullStream full_stream_;
};

}  // namespace

std::unique_ptr<std::istream> MemoryFileSystem::open_read(const std::string& name,
                                                          std::string* error) {
  const auto file = files.find(name);
  if (file == files.end()) {
    *error = "No such file or directory";
    return nullptr;
  }
  return std::make_unique<std::istringstream>(file->second);
}

std::unique_ptr<std::ostream> MemoryFileSystem::open_write(const std::string& name,
                                                           std::string* error) {
  opened.push_back(name);
  if (failing.count(name) != 0) {
    *error = "Permission denied";
    return nullptr;
  }
  if (full.count(name) != 0) return std::make_unique<FullStream>();
  return std::make_unique<MemoryFileStream>(&files[name]);
}

std::unique_ptr<ReplacementFile> MemoryFileSystem::open_replacement(const std::string& name,
                                                                    std::string* error) {
  opened.push_back(name);
  if (failing.count(name) != 0) {
    *error = "Permission denied";
    return nullptr;
  }
  return std::make_unique<MemoryReplacement>(&files, name, full.count(name) != 0);
}

}  // namespace kvr
