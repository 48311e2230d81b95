#include "io/paths.h"

#include "io/paths_system.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

std::string Slashes(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

// The game builds absolute names as the application folder followed by "\name". The folder is a
// host path and stays as it is (a folder name may hold a backslash); only the game's part is
// converted.
std::string ResolveIn(const std::string& folder, const std::string& appFolder,
                      const std::string& name) {
  if (!appFolder.empty() && name.size() > appFolder.size() &&
      name.compare(0, appFolder.size(), appFolder) == 0 &&
      (name[appFolder.size()] == '\\' || name[appFolder.size()] == '/')) {
    return appFolder + "/" + Slashes(name.substr(appFolder.size() + 1));
  }
  std::string path = Slashes(name);
  if (!path.empty() && path.front() == '/') return path;
  if (folder.empty()) return path;
  if (folder.back() == '/') return folder + path;
  return folder + "/" + path;
}

}  // namespace

std::string Paths::Resolve(const std::string& name) const {
  return ResolveIn(appFolder_, appFolder_, name);
}

std::string Paths::ResolveData(const std::string& name) const {
  return ResolveIn(DataFolder(), appFolder_, name);
}

std::filesystem::path FilePath(const std::string& name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string FileName(const std::filesystem::path& path) {
  const std::u8string name = path.generic_u8string();
  return std::string(name.begin(), name.end());
}

std::string ExecutableFolder() {
  std::string folder = FileName(ExecutablePath().parent_path());
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string ExecutableName() {
  return FileName(ExecutablePath().stem());
}
