// What folders.cpp asks of the operating system (folders_posix.cpp, folders_windows.cpp), and
// the helpers both share.
#pragma once

#include <string>

// The folder and the name joined, with "." and ".." taken out; '/' between them.
std::string Join(const std::string& folder, const std::string& name);
std::string WithoutTrailingSlash(std::string folder);

// Creates the file with the text when there is no file of that name; never touches one that is
// there. Returns what went wrong, "" when the file was made or was already there. A file that
// could not be written whole is removed again.
std::string WriteNewFile(const std::string& path, const std::string& text);
