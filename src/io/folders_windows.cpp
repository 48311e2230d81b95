// Where the game's files go on Windows: beside the executable when that folder can be written (a
// portable copy unpacked anywhere), else %APPDATA%\Swayfire, the player's roaming application data.
#include <shlobj.h>
#include <windows.h>

#include <string>

#include "io/folders.h"
#include "io/folders_system.h"
#include "io/wide_windows.h"

namespace {

// Whether a file can be made in the folder, found by making one: the folder's attributes and
// access() do not tell (Program Files is writable by its ACL only for administrators, and a
// protected folder may be redirected). The probe file goes away when its handle closes.
bool CanCreateFileIn(const std::string& folder) {
  const std::wstring probe =
      Wide(Join(folder, "swayfire-probe-" + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(GetTickCount64()) + ".tmp"));
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

FolderProbe FolderProbe::Disk() {
  return FolderProbe{[](const std::string& folder) {
                       const DWORD attributes = GetFileAttributesW(Wide(folder).c_str());
                       return attributes != INVALID_FILE_ATTRIBUTES &&
                              (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                     },
                     CanCreateFileIn};
}

// The player's folder on Windows is the roaming application data folder's Swayfire; the
// environment is not asked (APPDATA may be stale or missing in a service's environment).
std::string UserFolder(const std::function<const char*(const char*)>& /*getenv*/) {
  PWSTR folder = nullptr;
  std::string user;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder))) {
    user = WithoutTrailingSlash(Join(Utf8(folder), "Swayfire"));
  }
  CoTaskMemFree(folder);
  return user;
}

std::string WriteNewFile(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return "";
    return "cannot create " + path + ": " + SystemMessage(error);
  }
  DWORD written = 0;
  const bool ok =
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size();
  const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  if (!ok) {
    DeleteFileW(Wide(path).c_str());  // half a file would be worse than none
    return "cannot write " + path + ": " +
           SystemMessage(error == ERROR_SUCCESS ? ERROR_DISK_FULL : error);
  }
  return "";
}
