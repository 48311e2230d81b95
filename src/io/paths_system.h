// What paths.cpp asks of the operating system (paths_posix.cpp, paths_windows.cpp).
#pragma once

#include <filesystem>

// The running executable's own file.
std::filesystem::path ExecutablePath();
