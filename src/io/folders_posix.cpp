#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "io/folders.h"
#include "io/folders_system.h"

namespace fs = std::filesystem;

namespace {

std::string HomeFromUserDatabase() {
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr) {
    return "";
  }
  return found->pw_dir;
}

}  // namespace

FolderProbe FolderProbe::Disk() {
  return FolderProbe{[](const std::string& folder) {
                       std::error_code ec;
                       return fs::is_directory(folder, ec);
                     },
                     [](const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; }};
}

std::string UserFolder(const std::function<const char*(const char*)>& getenv) {
  const char* dataHome = getenv("XDG_DATA_HOME");
  // Relative paths in XDG variables are to be ignored.
  if (dataHome != nullptr && dataHome[0] == '/') {
    return WithoutTrailingSlash(Join(dataHome, "swayfire"));
  }
  const char* home = getenv("HOME");
  std::string homeFolder = home != nullptr && home[0] == '/' ? home : HomeFromUserDatabase();
  if (homeFolder.empty()) return "";
  return WithoutTrailingSlash(Join(homeFolder, ".local/share/swayfire"));
}

std::string WriteNewFile(const std::string& path, const std::string& text) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return "";
    return "cannot create " + path + ": " + std::strerror(errno);
  }
  const ssize_t written = ::write(fd, text.data(), text.size());
  const int writeError = errno;
  ::close(fd);
  if (written != static_cast<ssize_t>(text.size())) {
    ::unlink(path.c_str());  // half a file would be worse than none
    return "cannot write " + path + ": " + std::strerror(written < 0 ? writeError : ENOSPC);
  }
  return "";
}
