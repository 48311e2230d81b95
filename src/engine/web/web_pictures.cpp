#include "engine/web/web_pictures.h"

#include <stb_image.h>

#include "engine/common/data_files.h"
#include "io/dds.h"

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
  if (colorKey != 0) {
    ApplyColorKey(picture.rgba.data(), picture.width, picture.height,
                  static_cast<size_t>(picture.width) * 4, colorKey);
  }
  return true;
}
