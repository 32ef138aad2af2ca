#include "saw/shell/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

namespace orl {
namespace fs = std::filesystem;
namespace {

// ".saving-" followed by six characters chosen by mkostemp: 14 bytes
// whatever the target's name, so a name the file system takes is never
// refused because of its temporary. Earlier saves named theirs
// ".NAME.saving-XXXXXX"; those are recognised as well.
constexpr std::string_view kTemporaryMarker = ".saving-";
constexpr std::size_t kTemporarySuffixLength = 6;
// More links in a row than this is a loop (the kernel's own limit).
constexpr int kMaxLinkHops = 40;

// errno after a failed call; a call that failed without saying why counts
// as an input/output error.
int LastError() { return errno != 0 ? errno : EIO; }

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The file a save of path writes: symbolic links are followed, so the link
// stays and the file it names gets the contents. Empty for a link loop.
fs::path FinalTarget(const fs::path& path) {
  fs::path target = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(target, error)) return target;
    const fs::path next = fs::read_symlink(target, error);
    if (error) return {};
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return {};
}

bool IsSaveTemporary(std::string_view name) {
  if (name.empty()) return false;
  const std::size_t marker = name.rfind(kTemporaryMarker);
  return name.front() == '.' && marker != std::string_view::npos &&
         name.size() == marker + kTemporaryMarker.size() + kTemporarySuffixLength;
}

bool SameFile(int fd, const std::string& path) {
  struct stat opened {}, named {};
  return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// A save holds a lock on its temporary file until the rename; one nobody
// holds was left by a save that died, and goes.
void RemoveIfAbandoned(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && SameFile(fd, path)) ::unlink(path.c_str());
  ::close(fd);
}

void RemoveAbandonedTemporaries(const fs::path& folder) {
  std::error_code error;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end; !error && it != end;
       it.increment(error)) {
    if (IsSaveTemporary(it->path().filename().string())) RemoveIfAbandoned(it->path().string());
  }
}

// A hidden file in target's folder, locked, so that a save in another process
// clearing abandoned temporaries leaves it alone. A file that was removed
// before the lock was taken is made anew.
int CreateTemporary(const fs::path& target, std::string& temporary) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    temporary = (target.parent_path() / (std::string(kTemporaryMarker) + "XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    ::flock(fd, LOCK_EX);  // where locks are not supported, nobody can take one to remove it either
    if (SameFile(fd, temporary)) return fd;
    ::close(fd);
  }
  return -1;
}

// mkostemp makes the file private and the process's own; the saved file
// keeps the mode, owner and group the old one had, as far as the process
// may give them.
void KeepModeAndOwner(int fd, const fs::path& target) {
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) {
    ::fchmod(fd, 0644);
    return;
  }
  if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    // Neither is allowed: the file becomes the process's own.
  }
  ::fchmod(fd, old.st_mode & 07777);
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents) {
  std::error_code ignored;
  return WriteFileAtomically(path, contents, ignored);
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents, std::error_code& error) {
  error.clear();
  const auto fail = [&error](int code) {
    error = std::error_code(code, std::generic_category());
    return false;
  };
  const fs::path target = FinalTarget(path);
  if (target.empty()) return fail(ELOOP);
  RemoveAbandonedTemporaries(target.parent_path());
  std::string temporary;
  errno = 0;
  const int fd = CreateTemporary(target, temporary);
  if (fd < 0) return fail(LastError());
  KeepModeAndOwner(fd, target);
  int code = 0;
  errno = 0;
  if (!WriteAll(fd, contents) || ::fsync(fd) != 0) code = LastError();
  // Renamed while still locked: the temporary is never seen unlocked.
  if (code == 0 && std::rename(temporary.c_str(), target.c_str()) != 0) code = LastError();
  if (code != 0) std::remove(temporary.c_str());
  ::close(fd);  // after fsync a failed close loses nothing
  return code == 0 || fail(code);
}

}  // namespace orl
