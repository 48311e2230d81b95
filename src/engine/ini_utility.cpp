#include "engine/ini_utility.h"

// Our files are plain bytes: no character-set conversion (and no extra library for it).
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

// Section and key names are case-insensitive; one value per key (a later duplicate replaces an
// earlier one); values are single lines.
void Parse(CSimpleIniA& ini, const std::string& text) {
  ini.SetUnicode(false);
  ini.SetMultiKey(false);
  ini.SetMultiLine(false);
  ini.SetSpaces(false);
  ini.LoadData(text.data(), text.size());
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return true;
}

}  // namespace

std::string IniLookup(const std::string& text, const std::string& section, const std::string& key) {
  CSimpleIniA ini;
  Parse(ini, text);
  const char* value = ini.GetValue(section.c_str(), key.c_str(), nullptr);
  return value ? std::string(value) : std::string();
}

std::string IniStore(const std::string& text, const std::string& section, const std::string& key,
                     const std::string& value) {
  CSimpleIniA ini;
  Parse(ini, text);
  ini.SetValue(section.c_str(), key.c_str(), value.c_str());
  std::string out;
  ini.Save(out, false);
  return out;
}

bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& error,
                         bool durable) {
  std::string temp = path + ".tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = "cannot create " + temp + ": " + std::strerror(errno);
    return false;
  }
  const char* data = contents.data();
  size_t left = contents.size();
  while (left > 0) {
    ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = "cannot write " + temp + ": " + std::strerror(errno);
      ::close(fd);
      ::unlink(temp.c_str());
      return false;
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  if ((durable && ::fsync(fd) != 0) || ::close(fd) != 0) {
    error = "cannot flush " + temp + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

void IniUtility::Setup(int16_t) {}

std::string IniUtility::ReadIni(const std::string& section, const std::string& key,
                                const std::string& file, int16_t) {
  std::string text;
  if (!ReadWholeFile(paths_.Resolve(file), text)) return "";
  return IniLookup(text, section, key);
}

void IniUtility::WriteIni(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& file, int16_t) {
  std::string path = paths_.Resolve(file);
  std::string text;
  if (!ReadWholeFile(path, text)) {
    // A missing file starts empty, in a folder made for it if need be.
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  }
  std::string error;
  if (!WriteFileAtomically(path, IniStore(text, section, key, value), error, durable_)) {
    // The game goes on with its scores in memory; say once what could not be saved.
    if (!warnedWrite_) {
      std::cerr << "swayfire: warning: could not save [" << section << "] " << key << " to " << path
                << " (" << error << "); scores of this run are kept in memory only\n";
      warnedWrite_ = true;
    }
  }
}

float IniUtility::Distance(float x1, float y1, float x2, float y2) {
  float dx = x2 - x1;
  float dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}
