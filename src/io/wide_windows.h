// File names between the game (UTF-8) and Windows' wide calls (UTF-16), for the io layer's
// Windows files. Every file the Windows code opens goes through these, so a folder named with any
// letters works whatever the system's code page.
#pragma once

#include <windows.h>

#include <string>

// UTF-8 to UTF-16; '/' becomes '\\', as some calls (the long-path prefix) want.
std::wstring Wide(const std::string& utf8);
// UTF-16 to UTF-8; '\\' becomes '/', as the game's own names use.
std::string Utf8(const std::wstring& wide);
// The message Windows gives for an error code (GetLastError()), in UTF-8, without the line end.
std::string SystemMessage(DWORD code);
