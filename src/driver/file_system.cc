#include "driver/file_system.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace kvr {

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

bool DiskFileSystem::same_file(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace kvr
