#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {

std::string Reason(const std::string& what, const std::string& file) {
  return what + " " + file + ": " + std::strerror(errno);
}

// True when the open file is still the one the name points to.
bool StillNamed(int fd, const std::string& name) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::stat(name.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
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
  temp_ = path_ + ".tmp";
}

AtomicFileWriter::~AtomicFileWriter() {
  Abandon();
}

void AtomicFileWriter::Abandon() {
  if (fd_ < 0) return;
  // Unlinked while the turn is still held: a writer waiting for it sees the name gone and starts
  // again with a fresh temporary file.
  ::unlink(temp_.c_str());
  ::close(fd_);
  fd_ = -1;
}

bool AtomicFileWriter::Begin(std::string& error) {
  Abandon();
  if (!linkError_.empty()) {
    error = linkError_;
    return false;
  }
  // Another writer may rename the temporary file into place (or give it up) while this one waits
  // for its turn; the file this one then holds is no longer the temporary one, so it starts again.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
      error = Reason("cannot create", temp_);
      return false;
    }
    int locked;
    do {
      locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    // A file system without locks (some network ones) still gets whole, renamed writes.
    const bool noLocks = locked != 0 && (errno == ENOLCK || errno == EOPNOTSUPP);
    if (locked != 0 && !noLocks) {
      error = Reason("cannot lock", temp_);
      ::close(fd);
      return false;
    }
    if (StillNamed(fd, temp_)) {
      // A writer that was killed may have left part of a file behind.
      if (::ftruncate(fd, 0) != 0) {
        error = Reason("cannot empty", temp_);
        ::close(fd);
        return false;
      }
      fd_ = fd;
      return true;
    }
    ::close(fd);
  }
  error = "cannot get a turn to write " + temp_;
  return false;
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
  if (::stat(path_.c_str(), &old) == 0) (void)::fchmod(fd_, old.st_mode & 07777);
  if (durable_ && ::fsync(fd_) != 0) {
    error = Reason("cannot flush", temp_);
    Abandon();
    return false;
  }
  // Renamed while the turn is held, so the next writer reads the new file.
  if (std::rename(temp_.c_str(), path_.c_str()) != 0) {
    error = Reason("cannot replace", path_);
    Abandon();
    return false;
  }
  ::close(std::exchange(fd_, -1));  // ends the turn
  return true;
}
