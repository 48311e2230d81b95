// The atomic write on Windows, to the same contract as on Linux (atomic_file.h): the new contents
// go to a temporary file made with CREATE_NEW under a name of its own, are flushed with
// FlushFileBuffers, and MoveFileExW puts them in place with MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH. Writers take turns with an exclusive LockFileEx lock on "name.lock",
// held from Begin until the new file is in place; the lock file is opened without delete sharing,
// so its folder cannot vanish under a writer.
//
// A read-only file is not replaced: the reason is said before anything is moved. Windows links
// (symbolic links need a privilege to make) are not followed: the lock file must not be one, and a
// leftover temporary file that is one is removed as a link.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <utility>

#include "io/atomic_file.h"
#include "io/wide_windows.h"

namespace {

constexpr int kNameAttempts = 100;
constexpr int kMoveAttempts = 10;

std::string Reason(const std::string& what, const std::string& file, DWORD error) {
  return what + " " + file + ": " + SystemMessage(error);
}

HANDLE HandleOf(int fd) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

int Held(HANDLE handle) {
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
  if (fd < 0) CloseHandle(handle);
  return fd;
}

// Six letters and digits that differ between processes, and between calls in one.
std::string UniqueSuffix() {
  static std::atomic<unsigned> counter{0};
  unsigned long long mix = GetTickCount64() * 1000003ull ^ GetCurrentProcessId() * 7919ull ^
                           (counter.fetch_add(1) + 1) * 2654435761ull;
  const char* const letters = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int i = 0; i < 6; ++i) {
    suffix += letters[mix % 36];
    mix /= 36;
  }
  return suffix;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool FollowLinks(const std::string& name, std::string& path, std::string& /*error*/) {
  path = name;
  return true;
}

AtomicFileWriter::AtomicFileWriter(std::string path, bool durable)
    : path_(std::move(path)), durable_(durable) {}

AtomicFileWriter::~AtomicFileWriter() {
  Abandon();
}

void AtomicFileWriter::Abandon() {
  if (fd_ >= 0) {
    FILE_DISPOSITION_INFO dispose{};
    dispose.DeleteFile = TRUE;
    SetFileInformationByHandle(HandleOf(fd_), FileDispositionInfo, &dispose, sizeof dispose);
    _close(std::exchange(fd_, -1));  // closes the handle too
  }
  if (lock_ >= 0) _close(std::exchange(lock_, -1));  // ends the turn
}

bool AtomicFileWriter::TakeTurn(std::string& error) {
  const std::string lockName = LockFileOf(path_);
  HANDLE lock =
      CreateFileW(Wide(lockName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (lock == INVALID_HANDLE_VALUE) {
    error = Reason("cannot create", lockName, GetLastError());
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(lock, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    error = "cannot lock " + lockName + ": not a regular file";
    CloseHandle(lock);
    return false;
  }
  OVERLAPPED whole{};
  if (!LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
    const DWORD code = GetLastError();
    // A file system without locks still gets whole, renamed writes.
    if (code != ERROR_NOT_SUPPORTED && code != ERROR_INVALID_FUNCTION) {
      error = Reason("cannot lock", lockName, code);
      CloseHandle(lock);
      return false;
    }
  }
  lock_ = Held(lock);
  if (lock_ < 0) {
    error = "cannot hold " + lockName;
    return false;
  }
  return true;
}

void AtomicFileWriter::RemoveLeftovers() {
  const std::string folder = FolderOf(path_);
  const std::string fileName = NameOf(path_);
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(Wide(path_ + ".tmp*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = Utf8(found.cFileName);
    if (!IsTemporaryFileOf(name, fileName)) continue;
    // A folder is left alone; a link goes as a link (DeleteFileW never follows one).
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    const std::wstring leftover = Wide(folder + "/" + name);
    SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(leftover.c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

bool AtomicFileWriter::Begin(std::string& error) {
  Abandon();
  if (!TakeTurn(error)) return false;
  const DWORD attributes = GetFileAttributesW(Wide(path_).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
      error = "cannot replace " + path_ + ": not a regular file";
      Abandon();
      return false;
    }
    // A file the player made read-only is meant to stay as it is.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      error = Reason("cannot replace", path_, ERROR_ACCESS_DENIED) + " (the file is read-only)";
      Abandon();
      return false;
    }
  }
  RemoveLeftovers();
  DWORD code = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = path_ + ".tmp-" + UniqueSuffix();
    // CREATE_NEW: made only where nothing has the name, a link included. Delete sharing lets it be
    // moved into place while open.
    HANDLE file =
        CreateFileW(Wide(name).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      fd_ = Held(file);
      if (fd_ < 0) break;
      temp_ = name;
      return true;
    }
    code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) break;
  }
  error = Reason("cannot create", path_ + ".tmp-", code);
  Abandon();
  return false;
}

bool AtomicFileWriter::Commit(const std::string& contents, std::string& error) {
  if (fd_ < 0) {
    error = "nothing begun for " + path_;
    return false;
  }
  HANDLE file = HandleOf(fd_);
  const char* data = contents.data();
  size_t left = contents.size();
  while (left > 0) {
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) {
      error = Reason("cannot write", temp_, GetLastError());
      Abandon();
      return false;
    }
    data += written;
    left -= written;
  }
  if (durable_ && !FlushFileBuffers(file)) {
    error = Reason("cannot flush", temp_, GetLastError());
    Abandon();
    return false;
  }
  // Moving within the folder keeps the file's index, size and time of writing.
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(file, &info)) {
    written_ = {
        info.dwVolumeSerialNumber,
        (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
        (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
        static_cast<int64_t>((static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                             info.ftLastWriteTime.dwLowDateTime)};
  }
  // Moved while the turn is held, so the next writer reads the new file.
  // A virus scanner or an indexer may hold the old file open for a moment without sharing it:
  // a few short retries before the save is told as failed.
  bool moved = false;
  DWORD code = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kMoveAttempts && !moved; ++attempt) {
    if (attempt > 0) Sleep(20);
    moved = MoveFileExW(Wide(temp_).c_str(), Wide(path_).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    code = moved ? ERROR_SUCCESS : GetLastError();
    if (code != ERROR_SHARING_VIOLATION && code != ERROR_LOCK_VIOLATION &&
        code != ERROR_ACCESS_DENIED) {
      break;
    }
  }
  if (!moved) {
    error = Reason("cannot replace", path_, code);
    Abandon();
    return false;
  }
  _close(std::exchange(fd_, -1));
  Abandon();  // ends the turn
  return true;
}

bool WriteNewFile(const std::string& path, const std::string& contents, std::string& error,
                  bool& taken) {
  taken = false;
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    taken = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
    error = Reason("cannot create", path, code);
    return false;
  }
  DWORD written = 0;
  const bool ok =
      contents.size() < (1u << 30) &&
      WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
      written == contents.size() && FlushFileBuffers(file);
  if (!ok) {
    error = Reason("cannot write", path, GetLastError());
    FILE_DISPOSITION_INFO dispose{};
    dispose.DeleteFile = TRUE;
    SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose);
  }
  CloseHandle(file);
  return ok;
}
