#include "engine/common/data_files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/engine.h"
#include "io/paths.h"

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(FilePath(path), ec)) {
    error = std::filesystem::exists(FilePath(path), ec) ? "not a file" : "file not found";
    return false;
  }
  std::ifstream in(FilePath(path), std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::string LowerExtension(const std::string& path) {
  std::string extension = FileName(FilePath(path).extension());
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

void ApplyColorKey(uint8_t* rgba, int width, int height, size_t pitch, int32_t colorKey) {
  const auto key = static_cast<uint32_t>(colorKey);
  const uint8_t r = (key >> 16) & 0xFF, g = (key >> 8) & 0xFF, b = key & 0xFF;
  for (int y = 0; y < height; ++y) {
    uint8_t* p = rgba + static_cast<size_t>(y) * pitch;
    for (int x = 0; x < width; ++x, p += 4) {
      if (p[0] == r && p[1] == g && p[2] == b) p[3] = 0;
    }
  }
}

std::vector<std::string> MusicCandidates(const std::string& path,
                                         std::initializer_list<const char*> extensions) {
  std::vector<std::string> candidates = {path};
  for (const char* extension : extensions) {
    std::filesystem::path other = FilePath(path);
    other.replace_extension(extension);
    if (FileName(other) != path) candidates.push_back(FileName(other));
  }
  return candidates;
}

void LoadMusicTrack(const std::string& path, std::initializer_list<const char*> extensions,
                    const std::function<bool(const std::string& file, std::string& error)>& load) {
  std::string reasons;
  bool anyFile = false;
  for (const std::string& candidate : MusicCandidates(path, extensions)) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(FilePath(candidate), ec)) continue;
    anyFile = true;
    std::string error;
    if (load(candidate, error)) return;
    reasons += "; " + candidate + ": " + error;
  }
  if (!anyFile) {
    // "(nor the same name as .ogg, .flac, .mp3 or .wav)"
    std::string others;
    size_t left = extensions.size();
    for (const char* extension : extensions) {
      others += extension;
      --left;
      if (left > 1) others += ", ";
      if (left == 1) others += " or ";
    }
    throw EngineError("cannot find the music \"" + path + "\" (nor the same name as " + others +
                      ")");
  }
  throw EngineError("cannot play the music \"" + path + "\"" + reasons);
}
