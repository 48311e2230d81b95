// Reading a whole file (read_file_posix.cpp, read_file_windows.cpp): its bytes as they are.
#pragma once

#include <cstdint>
#include <string>

enum class FileRead { Done, Missing, Failed };

// No file of the game's (scores, options) is more than a few kilobytes; a larger one is not read.
inline constexpr uint64_t kLargestFileRead = 1 << 20;

// What tells one version of a file from another: where it lives, its size and when it was last
// written. A file replaced by a rename gets a new one.
struct FileStamp {
  uint64_t device = 0;
  uint64_t file = 0;
  uint64_t size = 0;
  int64_t written = 0;
  bool operator==(const FileStamp&) const = default;
};

// Reads the whole file; a file that is there but cannot be read is told apart from a missing one,
// since writing over it would lose what it holds. Anything but a regular file (a folder, a pipe, a
// device) is not read and fails, without waiting, and so does a file larger than
// kLargestFileRead. With `stamp` given it gets the stamp of the version read.
FileRead ReadWholeFile(const std::string& path, std::string& text, std::string& error,
                       FileStamp* stamp = nullptr);
// The stamp of the file as it is now; false when it is not there or not a regular file.
bool StampOfFile(const std::string& path, FileStamp& stamp);
// The reason given when a file is larger than kLargestFileRead.
inline std::string TooLargeReason(uint64_t size) {
  return "it holds " + std::to_string(size) +
         " bytes, far more than any file of the game (at most 1 MB is read)";
}
