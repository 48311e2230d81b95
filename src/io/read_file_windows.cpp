// Reading a whole file on Windows: through the wide call, so any name works, and in binary, so
// CR LF line ends and a Ctrl-Z reach the reader as they are.
#include <windows.h>

#include "io/read_file.h"
#include "io/wide_windows.h"

namespace {

FileStamp StampOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber,
          (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
          (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
          static_cast<int64_t>((static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                               info.ftLastWriteTime.dwLowDateTime)};
}

HANDLE OpenToRead(const std::string& path) {
  return CreateFileW(Wide(path).c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

FileRead ReadWholeFile(const std::string& path, std::string& text, std::string& error,
                       FileStamp* stamp) {
  text.clear();
  HANDLE file = OpenToRead(path);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return FileRead::Missing;
    error = SystemMessage(code);
    return FileRead::Failed;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  // A pipe or a device is not read: reading it could wait for ever.
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = "not a regular file";
    CloseHandle(file);
    return FileRead::Failed;
  }
  const FileStamp found = StampOf(info);
  if (found.size > kLargestFileRead) {
    error = TooLargeReason(found.size);
    CloseHandle(file);
    return FileRead::Failed;
  }
  if (stamp != nullptr) *stamp = found;
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
      error = SystemMessage(GetLastError());
      CloseHandle(file);
      return FileRead::Failed;
    }
    if (n == 0) break;
    text.append(buffer, n);
    if (text.size() > kLargestFileRead) {
      error = TooLargeReason(text.size());
      CloseHandle(file);
      return FileRead::Failed;
    }
  }
  CloseHandle(file);
  return FileRead::Done;
}

bool StampOfFile(const std::string& path, FileStamp& stamp) {
  HANDLE file = OpenToRead(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
                  (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  CloseHandle(file);
  if (ok) stamp = StampOf(info);
  return ok;
}
