// Reading a whole file (read_file_posix.cpp, read_file_windows.cpp): its bytes as they are.
#pragma once

#include <string>

enum class FileRead { Done, Missing, Failed };

// Reads the whole file; a file that is there but cannot be read is told apart from a missing one,
// since writing over it would lose what it holds.
FileRead ReadWholeFile(const std::string& path, std::string& text, std::string& error);
