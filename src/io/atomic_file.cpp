#include "io/atomic_file.h"

// The writer itself is the system's: atomic_file_posix.cpp, atomic_file_windows.cpp.
bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& error,
                         bool durable) {
  AtomicFileWriter writer(path, durable);
  return writer.Begin(error) && writer.Commit(contents, error);
}

std::string LockFileOf(const std::string& path) {
  return path + ".lock";
}

bool IsTemporaryFileOf(const std::string& name, const std::string& fileName) {
  // "name.tmp" itself is what earlier versions of the game used.
  const std::string stem = fileName + ".tmp";
  if (name.compare(0, stem.size(), stem) != 0) return false;
  return name.size() == stem.size() || (name.size() == stem.size() + 7 && name[stem.size()] == '-');
}
