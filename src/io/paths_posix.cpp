#include "io/paths.h"
#include "io/paths_system.h"

#include <system_error>

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path() / "swayfire";
  return path;
}
