#include "saw/shell/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "fakes/temp_folder.h"
#include "saw/shell/file_system.h"

namespace orl {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

std::vector<std::string> AllNames(const TempFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder.Path())) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(AtomicFile, TemporariesAreHiddenAndThoseOfADeadSaveAreCleared) {
  TempFolder folder;
  folder.Write("program", "old");
  folder.Write(".program.saving-Ab12Cd", "left by a save that died");
  folder.Write(".other.saving-Zz99Yy", "another one");
  folder.Write(".saving-Qq77Rr", "left by a later save that died");
  folder.Write(".profile", "a hidden file that is not a save's");
  // A save under way in another process holds its temporary locked.
  const std::string busy = folder.Write(".program.saving-Busy01", "being written");
  const int busyFd = ::open(busy.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(busyFd, LOCK_EX), 0);

  EXPECT_EQ(RealFileSystem().ListFiles(folder.Folder(), "*.*"), std::vector<std::string>{"program"});
  ASSERT_TRUE(WriteFileAtomically(folder.File("program"), "new"));
  ::close(busyFd);
  EXPECT_EQ(folder.Read("program"), "new");
  EXPECT_EQ(AllNames(folder), (std::vector<std::string>{".profile", ".program.saving-Busy01", "program"}));
}

TEST(AtomicFile, ASaveThroughALinkWritesTheFileItNames) {
  TempFolder folder;
  folder.Write("real/program", "old");
  fs::create_symlink("real/program", folder.Path() / "link");
  fs::create_symlink(folder.Path() / "real/new", folder.Path() / "dangling");
  ASSERT_TRUE(WriteFileAtomically(folder.File("link"), "new"));
  ASSERT_TRUE(WriteFileAtomically(folder.File("dangling"), "made"));
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "link"));
  EXPECT_EQ(folder.Read("real/program"), "new");
  EXPECT_EQ(folder.Read("real/new"), "made");

  fs::create_symlink("loop", folder.Path() / "loop");
  std::error_code error;
  EXPECT_FALSE(WriteFileAtomically(folder.File("loop"), "x", error));
  EXPECT_EQ(error, std::errc::too_many_symbolic_link_levels);
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "loop"));
}

TEST(AtomicFile, ModeOwnerAndGroupAreKept) {
  TempFolder folder;
  const std::string path = folder.Write("program", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  // Only a privileged process may give a file away; others keep the mode.
  const bool privileged = ::geteuid() == 0;
  if (privileged) {
    ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
  }
  ASSERT_TRUE(WriteFileAtomically(path, "new"));
  struct stat saved {};
  ASSERT_EQ(::stat(path.c_str(), &saved), 0);
  EXPECT_EQ(saved.st_mode & 07777, 0640u);
  if (privileged) {
    EXPECT_EQ(saved.st_uid, 4321u);
    EXPECT_EQ(saved.st_gid, 4322u);
  }
}

}  // namespace
}  // namespace orl
