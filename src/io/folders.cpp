#include "io/folders.h"

#include "io/atomic_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef SWAYFIRE_DATA_FROM_BIN
#error "SWAYFIRE_DATA_FROM_BIN (share/swayfire relative to bin) comes from CMakeLists.txt"
#endif
#ifndef SWAYFIRE_INSTALL_DATA_DIR
#error "SWAYFIRE_INSTALL_DATA_DIR (the installed share/swayfire) comes from CMakeLists.txt"
#endif

namespace fs = std::filesystem;

namespace {

std::string Join(const std::string& folder, const std::string& name) {
  return (fs::path(folder) / name).lexically_normal().string();
}

std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

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

std::vector<std::string> InstalledDataFolders(const std::string& exeFolder) {
  std::vector<std::string> folders = {Join(exeFolder, SWAYFIRE_DATA_FROM_BIN)};
  const std::string prefix = WithoutTrailingSlash(SWAYFIRE_INSTALL_DATA_DIR);
  if (prefix != folders.front()) folders.push_back(prefix);
  return folders;
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

FolderChoice ChooseFolders(const std::string& exeFolder,
                           const std::vector<std::string>& installedData,
                           const std::function<std::string()>& userFolder,
                           const FolderProbe& probe) {
  FolderChoice choice;
  const std::string besideExe = Join(exeFolder, "files");
  const bool filesBeside = probe.isFolder(besideExe);
  if (filesBeside && probe.canWrite(exeFolder) && probe.canWrite(besideExe)) {
    choice.folders = {exeFolder, exeFolder, true};
    return choice;
  }

  std::string data;
  if (filesBeside) {
    data = exeFolder;  // a read-only copy of the game: its own files come first
  } else {
    for (const std::string& candidate : installedData) {
      if (probe.isFolder(Join(candidate, "files"))) {
        data = candidate;
        break;
      }
    }
  }
  if (data.empty()) {
    choice.error = "cannot find the game's files: no files/ folder in " + exeFolder;
    for (const std::string& candidate : installedData) choice.error += ", " + candidate;
    return choice;
  }

  const std::string user = userFolder();
  if (user.empty()) {
    choice.error =
        "cannot find a folder for your options and scores: neither HOME nor XDG_DATA_HOME is set "
        "and the user database has no home folder";
    return choice;
  }
  choice.folders = {user, data, false};
  return choice;
}

std::string PrepareUserFolder(const Folders& folders) {
  if (folders.portable) return "";
  std::error_code ec;
  fs::create_directories(folders.app, ec);
  if (ec) return "cannot make the folder " + folders.app + ": " + ec.message();

  // Through a link (an options file linked into a synced folder) to the file it names, so the
  // link stays a link.
  std::string options;
  std::string linkError;
  if (!FollowLinks(Join(folders.app, "opt.ini"), options, linkError)) return linkError;
  // O_EXCL: an options file that is already there, even an empty one, is the player's.
  int fd = ::open(options.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return "";
    return "cannot create " + options + ": " + std::strerror(errno);
  }
  const std::string text = kDefaultOptions;
  const ssize_t written = ::write(fd, text.data(), text.size());
  const int writeError = errno;
  ::close(fd);
  if (written != static_cast<ssize_t>(text.size())) {
    ::unlink(options.c_str());  // half an options file would be worse than none
    return "cannot write " + options + ": " + std::strerror(written < 0 ? writeError : ENOSPC);
  }
  return "";
}
