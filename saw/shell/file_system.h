#pragma once
// The file system as the program sees it: files and folders that exist,
// the mounted file systems (removable media is ready when mounted), and
// folder listings. Tests fake the mount table.
#include <string>
#include <vector>

namespace orl {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  virtual bool FolderExists(const std::string& path) const = 0;
  // The folders file systems are mounted on.
  virtual std::vector<std::string> MountPoints() const = 0;
  // The names (without folder) of the files in folder that match pattern,
  // sorted by name; hidden files (names starting with '.') are left out.
  virtual std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) const = 0;
  // The names of the sub-folders of folder, sorted by name.
  virtual std::vector<std::string> ListFolders(const std::string& folder) const = 0;
};

class RealFileSystem : public FileSystem {
 public:
  // mountTable: a file in the form of /proc/self/mounts.
  explicit RealFileSystem(std::string mountTable = "/proc/self/mounts") : mountTable_(std::move(mountTable)) {}
  bool FileExists(const std::string& path) const override;
  bool FolderExists(const std::string& path) const override;
  std::vector<std::string> MountPoints() const override;
  std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) const override;
  std::vector<std::string> ListFolders(const std::string& folder) const override;

 private:
  std::string mountTable_;
};

// A file-list pattern: globs ('*', '?') separated by ';', matched without
// regard to letter case ("CPOut.*;*.CSV" matches "cpout.042" and "a.csv").
bool MatchesFilePattern(const std::string& name, const std::string& pattern);

}  // namespace orl
