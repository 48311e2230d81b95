#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "io/atomic_file.h"

namespace {

std::string Reason(const std::string& what, const std::string& file) {
  return what + " " + file + ": " + std::strerror(errno);
}

// Why a file that is there is not one the game reads or replaces; "" for a regular file.
std::string NotRegular(const struct stat& st) {
  if (S_ISREG(st.st_mode)) return "";
  if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
  return "not a regular file";
}

// True when the open file is still the one the name points to.
bool StillNamed(int fd, const std::string& name) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::stat(name.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// The permission bits a new file gets: what the player's umask allows of rw-rw-rw-, and always
// reading and writing for the player (a umask may say otherwise: Emscripten's is 0777).
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return (0666 & ~mask) | 0600;
}

}  // namespace

bool FollowLinks(const std::string& name, std::string& path, std::string& error) {
  namespace fs = std::filesystem;
  fs::path at = name;
  // As many links as the system itself follows in one name.
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(at, ec))) {
      path = at.string();
      return true;
    }
    const fs::path target = fs::read_symlink(at, ec);
    if (ec) {
      error = "cannot follow the link " + at.string() + ": " + ec.message();
      return false;
    }
    // A relative link is relative to the folder that holds it.
    at = target.is_absolute() ? target : at.parent_path() / target;
  }
  error = "cannot follow the link " + name + ": " + std::strerror(ELOOP);
  return false;
}

AtomicFileWriter::AtomicFileWriter(std::string path, bool durable) : durable_(durable) {
  if (!FollowLinks(path, path_, linkError_)) path_ = std::move(path);
}

AtomicFileWriter::~AtomicFileWriter() {
  Abandon();
}

void AtomicFileWriter::Abandon() {
  if (fd_ >= 0) {
    ::unlink(temp_.c_str());
    ::close(std::exchange(fd_, -1));
  }
  if (lock_ >= 0) ::close(std::exchange(lock_, -1));  // ends the turn
}

bool AtomicFileWriter::TakeTurn(std::string& error) {
  const std::string lockName = LockFileOf(path_);
  // The lock file is only ever locked, never written. Not through a link, and not a pipe (whose
  // opening would wait for a writer).
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int fd =
        ::open(lockName.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
      error = errno == ELOOP ? "cannot lock " + lockName + ": it is a link, which is not followed"
                             : Reason("cannot create", lockName);
      return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !NotRegular(st).empty()) {
      error = "cannot lock " + lockName + ": " + NotRegular(st);
      ::close(fd);
      return false;
    }
    int locked;
    do {
      locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    // A file system without locks (some network ones) still gets whole, renamed writes.
    if (locked != 0 && errno != ENOLCK && errno != EOPNOTSUPP) {
      error = Reason("cannot lock", lockName);
      ::close(fd);
      return false;
    }
    // The lock file may have gone with its folder while this writer waited.
    if (StillNamed(fd, lockName)) {
      lock_ = fd;
      return true;
    }
    ::close(fd);
  }
  error = "cannot get a turn to write " + path_;
  return false;
}

void AtomicFileWriter::RemoveLeftovers() {
  const std::filesystem::path file(path_);
  std::string folder = file.parent_path().string();
  if (folder.empty()) folder = ".";
  const std::string fileName = file.filename().string();
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> leftovers;
  while (const dirent* entry = ::readdir(dir)) {
    if (IsTemporaryFileOf(entry->d_name, fileName)) leftovers.emplace_back(entry->d_name);
  }
  // Removing a name never follows it: a link named like a temporary file goes, not what it names.
  for (const std::string& name : leftovers) {
    struct stat st {};
    if (::fstatat(::dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) {
      ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
  }
  ::closedir(dir);
}

bool AtomicFileWriter::Begin(std::string& error) {
  Abandon();
  if (!linkError_.empty()) {
    error = linkError_;
    return false;
  }
  if (!TakeTurn(error)) return false;
  struct stat old {};
  if (::stat(path_.c_str(), &old) == 0) {
    if (!NotRegular(old).empty()) {
      error = "cannot replace " + path_ + ": " + NotRegular(old);
      Abandon();
      return false;
    }
    // A file the player made read-only is meant to stay as it is (the rename would replace it).
    if ((old.st_mode & 0222) == 0 || (::access(path_.c_str(), W_OK) != 0 && errno == EACCES)) {
      error = "cannot replace " + path_ + ": the file is read-only";
      Abandon();
      return false;
    }
  }
  RemoveLeftovers();
  std::string name = path_ + ".tmp-XXXXXX";
  // Made only where nothing has the name (not even a link), readable by the player alone until it
  // takes the old file's permission bits.
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    error = Reason("cannot create", name);
    Abandon();
    return false;
  }
  fd_ = fd;
  temp_ = name;
  return true;
}

bool AtomicFileWriter::Commit(const std::string& contents, std::string& error) {
  if (fd_ < 0) {
    error = "nothing begun for " + path_;
    return false;
  }
  const char* data = contents.data();
  size_t left = contents.size();
  while (left > 0) {
    const ssize_t n = ::write(fd_, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = Reason("cannot write", temp_);
      Abandon();
      return false;
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  // The new file keeps the old one's permission bits: a score file made private stays private.
  // Where they cannot be set (a file system without them) the file is still saved.
  struct stat old {};
  (void)::fchmod(fd_, ::stat(path_.c_str(), &old) == 0 ? old.st_mode & 07777 : NewFileMode());
  if (durable_ && ::fsync(fd_) != 0) {
    error = Reason("cannot flush", temp_);
    Abandon();
    return false;
  }
  struct stat made {};
  if (::fstat(fd_, &made) == 0) {
    written_ = {static_cast<uint64_t>(made.st_dev), static_cast<uint64_t>(made.st_ino),
                static_cast<uint64_t>(made.st_size),
                static_cast<int64_t>(made.st_mtim.tv_sec) * 1000000000 + made.st_mtim.tv_nsec};
  }
  // Renamed while the turn is held, so the next writer reads the new file.
  if (std::rename(temp_.c_str(), path_.c_str()) != 0) {
    error = Reason("cannot replace", path_);
    Abandon();
    return false;
  }
  ::close(std::exchange(fd_, -1));
  if (durable_) {
    // The rename itself reaches the disk with its folder.
    const std::string folder = std::filesystem::path(path_).parent_path().string();
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      (void)::fsync(dir);
      ::close(dir);
    }
  }
  Abandon();  // ends the turn
  return true;
}

bool WriteNewFile(const std::string& path, const std::string& contents, std::string& error,
                  bool& taken) {
  taken = false;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    taken = errno == EEXIST;
    error = Reason("cannot create", path);
    return false;
  }
  const char* data = contents.data();
  size_t left = contents.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = Reason("cannot write", path);
      ::close(fd);
      ::unlink(path.c_str());
      return false;
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    error = Reason("cannot write", path);
    ::unlink(path.c_str());
    return false;
  }
  return true;
}
