#include "io/atomic_file.h"

// The writer itself is the system's: atomic_file_posix.cpp, atomic_file_windows.cpp.
bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& error,
                         bool durable) {
  AtomicFileWriter writer(path, durable);
  return writer.Begin(error) && writer.Commit(contents, error);
}
