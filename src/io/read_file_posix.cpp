#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/read_file.h"

FileRead ReadWholeFile(const std::string& path, std::string& text, std::string& error) {
  text.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return FileRead::Missing;
    error = std::strerror(errno);
    return FileRead::Failed;
  }
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
  }
  ::close(fd);
  return FileRead::Done;
}
