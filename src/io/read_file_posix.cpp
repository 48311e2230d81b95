#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/read_file.h"

namespace {

FileStamp StampOf(const struct stat& st) {
  return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
          static_cast<uint64_t>(st.st_size),
          static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

}  // namespace

FileRead ReadWholeFile(const std::string& path, std::string& text, std::string& error,
                       FileStamp* stamp) {
  text.clear();
  // Without waiting: opening a pipe for reading would wait for a writer that never comes.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return FileRead::Missing;
    error = std::strerror(errno);
    return FileRead::Failed;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    ::close(fd);
    return FileRead::Failed;
  }
  if (static_cast<uint64_t>(st.st_size) > kLargestFileRead) {
    error = TooLargeReason(static_cast<uint64_t>(st.st_size));
    ::close(fd);
    return FileRead::Failed;
  }
  if (stamp != nullptr) *stamp = StampOf(st);
  text.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      ::close(fd);
      return FileRead::Failed;
    }
    text.append(buffer, static_cast<size_t>(n));
    // A file that grows while it is read.
    if (text.size() > kLargestFileRead) {
      error = TooLargeReason(text.size());
      ::close(fd);
      return FileRead::Failed;
    }
  }
  ::close(fd);
  return FileRead::Done;
}

bool StampOfFile(const std::string& path, FileStamp& stamp) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  stamp = StampOf(st);
  return true;
}
