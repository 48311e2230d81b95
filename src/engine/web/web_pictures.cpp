#include "engine/web/web_pictures.h"

#include <stb_image.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "io/dds.h"

namespace {

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

void ApplyColorKey(Picture& picture, int32_t colorKey) {
  const auto key = static_cast<uint32_t>(colorKey);
  const uint8_t r = (key >> 16) & 0xFF, g = (key >> 8) & 0xFF, b = key & 0xFF;
  for (size_t i = 0; i + 3 < picture.rgba.size(); i += 4) {
    uint8_t* p = &picture.rgba[i];
    if (p[0] == r && p[1] == g && p[2] == b) p[3] = 0;
  }
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = std::filesystem::exists(path, ec) ? "not a file" : "file not found";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool LoadPicture(const std::string& path, int32_t colorKey, Picture& picture, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  if (LowerExtension(path) == ".dds") {
    DdsImage image;
    if (!DecodeDds(bytes.data(), bytes.size(), image, error)) return false;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgba = std::move(image.rgba);
  } else {
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width,
                                            &height, &channels, 4);
    if (pixels == nullptr) {
      error = stbi_failure_reason() ? stbi_failure_reason() : "cannot decode";
      return false;
    }
    picture.width = width;
    picture.height = height;
    picture.rgba.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
    stbi_image_free(pixels);
  }
  if (colorKey != 0) ApplyColorKey(picture, colorKey);
  return true;
}
