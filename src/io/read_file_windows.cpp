// Reading a whole file on Windows: through the wide call, so any name works, and in binary, so
// CR LF line ends and a Ctrl-Z reach the reader as they are.
#include <windows.h>

#include "io/read_file.h"
#include "io/wide_windows.h"

FileRead ReadWholeFile(const std::string& path, std::string& text, std::string& error) {
  text.clear();
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return FileRead::Missing;
    error = SystemMessage(code);
    return FileRead::Failed;
  }
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
  }
  CloseHandle(file);
  return FileRead::Done;
}
