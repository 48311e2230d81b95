// The atomic write on Windows, to the same contract as on Linux (atomic_file.h): the new contents
// go to "name.tmp", are flushed with FlushFileBuffers, and MoveFileExW puts them in place with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH. Writers take turns with an exclusive
// LockFileEx lock on the temporary file, held from Begin until the new file is in place. Every
// handle on the temporary file shares delete access, so it can be renamed while other writers
// wait on it; a writer that gets the turn checks that the name still leads to the file it holds.
//
// A read-only file is not replaced: MoveFileExW refuses to move over it, and the save is told as
// failed. Windows links (symbolic links need a privilege to make) are not followed: a link is
// replaced by the new file.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <utility>

#include "io/atomic_file.h"
#include "io/wide_windows.h"

namespace {

constexpr int kAttempts = 1000;
constexpr int kBusyAttempts = 100;  // a temporary file still being deleted by another writer
constexpr int kMoveAttempts = 10;

std::string Reason(const std::string& what, const std::string& file, DWORD error) {
  return what + " " + file + ": " + SystemMessage(error);
}

HANDLE HandleOf(int fd) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

bool SameFile(HANDLE held, const std::string& name) {
  BY_HANDLE_FILE_INFORMATION heldInfo{};
  BY_HANDLE_FILE_INFORMATION namedInfo{};
  if (!GetFileInformationByHandle(held, &heldInfo)) return false;
  HANDLE named =
      CreateFileW(Wide(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  const bool ok = GetFileInformationByHandle(named, &namedInfo);
  CloseHandle(named);
  return ok && heldInfo.dwVolumeSerialNumber == namedInfo.dwVolumeSerialNumber &&
         heldInfo.nFileIndexHigh == namedInfo.nFileIndexHigh &&
         heldInfo.nFileIndexLow == namedInfo.nFileIndexLow;
}

}  // namespace

bool FollowLinks(const std::string& name, std::string& path, std::string& /*error*/) {
  path = name;
  return true;
}

AtomicFileWriter::AtomicFileWriter(std::string path, bool durable)
    : path_(std::move(path)), durable_(durable) {
  temp_ = path_ + ".tmp";
}

AtomicFileWriter::~AtomicFileWriter() {
  Abandon();
}

void AtomicFileWriter::Abandon() {
  if (fd_ < 0) return;
  // Deleted while the turn is still held: a writer waiting for it sees the name gone and starts
  // again with a fresh temporary file.
  FILE_DISPOSITION_INFO dispose{};
  dispose.DeleteFile = TRUE;
  SetFileInformationByHandle(HandleOf(fd_), FileDispositionInfo, &dispose, sizeof dispose);
  _close(fd_);  // closes the handle too
  fd_ = -1;
}

bool AtomicFileWriter::Begin(std::string& error) {
  Abandon();
  int busy = 0;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    HANDLE file = CreateFileW(Wide(temp_).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD code = GetLastError();
      // A temporary file another writer is deleting cannot be opened until its last handle
      // closes; anything else (a folder that cannot be written) is final.
      if ((code == ERROR_ACCESS_DENIED || code == ERROR_DELETE_PENDING) && ++busy < kBusyAttempts &&
          GetFileAttributesW(Wide(temp_).c_str()) != INVALID_FILE_ATTRIBUTES) {
        Sleep(1);
        continue;
      }
      error = Reason("cannot create", temp_, code);
      return false;
    }
    OVERLAPPED whole{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
      const DWORD code = GetLastError();
      // A file system without locks still gets whole, renamed writes.
      if (code != ERROR_NOT_SUPPORTED && code != ERROR_INVALID_FUNCTION) {
        error = Reason("cannot lock", temp_, code);
        CloseHandle(file);
        return false;
      }
    }
    if (SameFile(file, temp_)) {
      // A writer that was killed may have left part of a file behind.
      FILE_END_OF_FILE_INFO empty{};
      if (!SetFileInformationByHandle(file, FileEndOfFileInfo, &empty, sizeof empty)) {
        error = Reason("cannot empty", temp_, GetLastError());
        CloseHandle(file);
        return false;
      }
      fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
      if (fd_ < 0) {
        error = "cannot hold " + temp_;
        CloseHandle(file);
        return false;
      }
      return true;
    }
    CloseHandle(file);
  }
  error = "cannot get a turn to write " + temp_;
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
  // A file the player made read-only is meant to stay as it is; MoveFileExW refuses to replace
  // it on Windows, and the reason is said before anything is moved.
  const DWORD attributes = GetFileAttributesW(Wide(path_).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    error = Reason("cannot replace", path_, ERROR_ACCESS_DENIED) + " (the file is read-only)";
    Abandon();
    return false;
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
  _close(std::exchange(fd_, -1));  // ends the turn
  return true;
}
