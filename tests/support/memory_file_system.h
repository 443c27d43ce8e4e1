#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "io/file_system.h"

namespace kvr {

/// Files kept in memory, for in-process runs: tests and the fuzzing harness. A file opened by
/// open_write is stored when its stream is destroyed, one opened by open_replacement when it
/// is committed. Names put in `failing` cannot be created; names in `full` accept no bytes (as
/// on a full disk). `opened` lists every name asked for writing, in order, refused ones too.
class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> failing;
  std::set<std::string> full;
  std::vector<std::string> opened;

  std::unique_ptr<std::istream> open_read(const std::string& name, std::string* error) override;
  std::unique_ptr<std::ostream> open_write(const std::string& name, std::string* error) override;
  std::unique_ptr<ReplacementFile> open_replacement(const std::string& name,
                                                    std::string* error) override;
};

}  // namespace kvr
