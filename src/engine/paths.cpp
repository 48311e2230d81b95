#include "engine/paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

std::string Paths::Resolve(const std::string& name) const {
  std::string path = name;
  std::replace(path.begin(), path.end(), '\\', '/');
  if (!path.empty() && path.front() == '/') return path;
  if (appFolder_.empty()) return path;
  if (appFolder_.back() == '/') return appFolder_ + path;
  return appFolder_ + "/" + path;
}

namespace {
std::filesystem::path ExecutablePath() {
  std::error_code ec;
  auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path() / "swayfire";
  return path;
}
}  // namespace

std::string ExecutableFolder() {
  std::string folder = ExecutablePath().parent_path().string();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string ExecutableName() {
  return ExecutablePath().stem().string();
}
