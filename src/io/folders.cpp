#include "io/folders.h"

#include "io/atomic_file.h"
#include "io/folders_system.h"
#include "io/paths.h"

#include <filesystem>
#include <system_error>

#ifndef SWAYFIRE_DATA_FROM_BIN
#error "SWAYFIRE_DATA_FROM_BIN (share/swayfire relative to bin) comes from CMakeLists.txt"
#endif
#ifndef SWAYFIRE_INSTALL_DATA_DIR
#error "SWAYFIRE_INSTALL_DATA_DIR (the installed share/swayfire) comes from CMakeLists.txt"
#endif

namespace fs = std::filesystem;

std::string Join(const std::string& folder, const std::string& name) {
  return FileName((FilePath(folder) / FilePath(name)).lexically_normal());
}

std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::vector<std::string> InstalledDataFolders(const std::string& exeFolder) {
  std::vector<std::string> folders = {Join(exeFolder, SWAYFIRE_DATA_FROM_BIN)};
  const std::string prefix = WithoutTrailingSlash(SWAYFIRE_INSTALL_DATA_DIR);
  if (prefix != folders.front()) folders.push_back(prefix);
  return folders;
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
  fs::create_directories(FilePath(folders.app), ec);
  if (ec) return "cannot make the folder " + folders.app + ": " + ec.message();

  // Through a link (an options file linked into a synced folder) to the file it names, so the
  // link stays a link.
  std::string options;
  std::string linkError;
  if (!FollowLinks(Join(folders.app, "opt.ini"), options, linkError)) return linkError;
  // Made only when there is none: an options file that is already there, even an empty one, is
  // the player's.
  return WriteNewFile(options, kDefaultOptions);
}
