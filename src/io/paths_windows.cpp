#include <windows.h>

#include <string>

#include "io/paths_system.h"

std::filesystem::path ExecutablePath() {
  // The name may be longer than MAX_PATH: grow the buffer until it fits.
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return std::filesystem::current_path() / L"swayfire.exe";
    if (length < name.size()) {
      name.resize(length);
      return std::filesystem::path(name);
    }
    name.resize(name.size() * 2);
  }
}
