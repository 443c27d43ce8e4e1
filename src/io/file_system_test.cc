#include "io/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <set>
#include <string>

#include "test_support.h"

namespace kvr {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::ScopedTempDir;
using test::write_file;

// Every name in the current folder, hidden ones included: a temporary file left behind
// shows here.
std::set<std::string> names_here() {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(".")) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(DiskFileSystemTest, ReplacementsLinksFoldersAndFailedRenames) {
  ScopedTempDir dir;
  DiskFileSystem files;
  std::string error;
  auto replace = [&](const std::string& name, bool commit) {
    std::unique_ptr<ReplacementFile> file = files.open_replacement(name, &error);
    if (file == nullptr) return false;
    file->stream() << "this run";
    return commit && file->commit(&error);
  };
  write_file("old.txt", "earlier run");
  fs::permissions("old.txt", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_directory("data");
  write_file("data/target.txt", "earlier run");
  fs::create_symlink("data/target.txt", "link.txt");
  fs::create_directory("folder.txt");

  // Not committed: the earlier file stays. Committed: replaced, with its permissions.
  EXPECT_FALSE(replace("old.txt", false));
  EXPECT_EQ(read_file("old.txt"), "earlier run");
  ASSERT_TRUE(replace("old.txt", true)) << error;
  EXPECT_EQ(read_file("old.txt"), "this run");
  EXPECT_EQ(fs::status("old.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  // A link is followed: the file it leads to is replaced, the link stays.
  ASSERT_TRUE(replace("link.txt", true)) << error;
  EXPECT_TRUE(fs::is_symlink("link.txt"));
  EXPECT_EQ(read_file("data/target.txt"), "this run");
  // A folder in the file's place is refused before anything is written.
  EXPECT_FALSE(replace("folder.txt", true));
  EXPECT_EQ(error, "Is a directory");
  // The rename fails (a folder has taken the name meanwhile): reported as such.
  {
    std::unique_ptr<ReplacementFile> file = files.open_replacement("late.txt", &error);
    ASSERT_NE(file, nullptr) << error;
    fs::create_directory("late.txt");
    EXPECT_FALSE(file->commit(&error));
    EXPECT_EQ(error, "Is a directory");
  }
  // No temporary file is left behind by any of them.
  EXPECT_EQ(names_here(),
            (std::set<std::string>{"data", "folder.txt", "late.txt", "link.txt", "old.txt"}));
  EXPECT_EQ(std::distance(fs::directory_iterator("data"), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace kvr
