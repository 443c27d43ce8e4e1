#include "io/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace kvr {
namespace {

// Flushes `out` and, for a file on disk, closes it, since closing can fail too and the
// stream's destructor would not tell. True when every byte went out.
bool flush_and_close(std::ostream& out) {
  out.flush();
  if (auto* file = dynamic_cast<std::filebuf*>(out.rdbuf()); file != nullptr && file->is_open()) {
    if (file->close() == nullptr) out.setstate(std::ios::badbit);
  }
  return static_cast<bool>(out);
}

// A file written where it stands, through FileSystem::open_write.
class InPlaceFile : public ReplacementFile {
 public:
  explicit InPlaceFile(std::unique_ptr<std::ostream> out) : out_(std::move(out)) {}
  std::ostream& stream() override { return *out_; }
  bool commit(std::string* error) override {
    if (flush_and_close(*out_)) return true;
    *error = kWriteFailed;
    return false;
  }

 private:
  std::unique_ptr<std::ostream> out_;
};

// A temporary file renamed over its target on commit, and removed otherwise.
class RenamedFile : public ReplacementFile {
 public:
  RenamedFile(std::string temporary, std::string target)
      : temporary_(std::move(temporary)),
        target_(std::move(target)),
        out_(temporary_, std::ios::binary | std::ios::app) {}
  ~RenamedFile() override {
    if (pending_) {
      out_.close();
      ::unlink(temporary_.c_str());
    }
  }
  RenamedFile(const RenamedFile&) = delete;
  RenamedFile& operator=(const RenamedFile&) = delete;

  bool opened() const { return out_.is_open(); }
  std::ostream& stream() override { return out_; }
  bool commit(std::string* error) override {
    pending_ = false;
    if (!flush_and_close(out_)) {
      *error = kWriteFailed;
    } else if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
      *error = std::strerror(errno);
    } else {
      return true;
    }
    ::unlink(temporary_.c_str());
    return false;
  }

 private:
  std::string temporary_;
  std::string target_;
  std::ofstream out_;
  bool pending_ = true;
};

// The path that `name` leads to once the symbolic links at its end are followed (at most
// 40, as the system allows); the path need not exist.
std::filesystem::path follow_links(const std::string& name) {
  std::filesystem::path path = name;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
    std::error_code failed;
    const std::filesystem::path target = std::filesystem::read_symlink(path, failed);
    if (failed) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

}  // namespace

std::unique_ptr<ReplacementFile> FileSystem::open_replacement(const std::string& name,
                                                              std::string* error) {
  std::unique_ptr<std::ostream> out = open_write(name, error);
  if (out == nullptr) return nullptr;
  return std::make_unique<InPlaceFile>(std::move(out));
}

std::unique_ptr<std::istream> DiskFileSystem::open_read(const std::string& name,
                                                        std::string* error) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) {
    *error = std::strerror(errno);
    return nullptr;
  }
  if (!S_ISREG(info.st_mode)) {
    *error = S_ISDIR(info.st_mode) ? "it is a directory" : "it is not a regular file";
    return nullptr;
  }
  auto file = std::make_unique<std::ifstream>(name, std::ios::binary);
  if (!*file) {
    *error = std::strerror(errno);
    return nullptr;
  }
  return file;
}

std::unique_ptr<std::ostream> DiskFileSystem::open_write(const std::string& name,
                                                         std::string* error) {
  auto file = std::make_unique<std::ofstream>(name, std::ios::binary | std::ios::trunc);
  if (!*file) {
    *error = std::strerror(errno);
    return nullptr;
  }
  return file;
}

std::unique_ptr<ReplacementFile> DiskFileSystem::open_replacement(const std::string& name,
                                                                  std::string* error) {
  const std::filesystem::path target = follow_links(name);
  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) {
    *error = std::strerror(errno);
    return nullptr;
  }
  if (exists && S_ISDIR(info.st_mode)) {
    *error = std::strerror(EISDIR);
    return nullptr;
  }
  if (exists && !S_ISREG(info.st_mode)) return FileSystem::open_replacement(name, error);
  // A file the user has made read-only is not replaced behind its back.
  if (exists && ::access(target.c_str(), W_OK) != 0) {
    *error = std::strerror(errno);
    return nullptr;
  }

  // A fresh name in the target's folder; O_EXCL never takes over a file that is there.
  const std::string stem = (target.parent_path() / ("." + target.filename().string())).string() +
                           "." + std::to_string(::getpid());
  for (int attempt = 0;; ++attempt) {
    const std::string temporary = stem + "." + std::to_string(attempt) + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST && attempt < 100) continue;
    if (fd < 0) {
      *error = std::strerror(errno);
      return nullptr;
    }
    // The new file keeps the permissions of the one it replaces.
    if (exists) (void)::fchmod(fd, info.st_mode & 07777);
    ::close(fd);
    auto file = std::make_unique<RenamedFile>(temporary, target.string());
    if (!file->opened()) {
      *error = std::strerror(errno);
      return nullptr;
    }
    return file;
  }
}

bool DiskFileSystem::same_file(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace kvr
