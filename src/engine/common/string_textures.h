// Strings of a TrueType font as the backends draw them: each string rendered once into a texture
// of its own, kept while it is drawn often, and placed by its alignment.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <utility>

// The textures of the strings drawn lately, each under its font and text; once there are
// kCapacity of them, the least recently drawn goes first.
template <class Texture>
class StringTextures {
 public:
  static constexpr size_t kCapacity = 256;

  struct Entry {
    std::string key;
    Texture texture;
    int width;
    int height;
  };

  static std::string Key(const std::string& font, const std::string& text) {
    std::string key = font;
    key += '\0';
    key += text;
    return key;
  }

  // The entry under a key, now the most recently drawn; null when there is none.
  const Entry* Find(const std::string& key) {
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    cache_.splice(cache_.begin(), cache_, it->second);
    return &cache_.front();
  }

  // Keeps a new string's texture, handing the least recently drawn one to `free` when full.
  template <class Free>
  const Entry* Add(std::string key, Texture texture, int width, int height, Free free) {
    if (cache_.size() >= kCapacity) {
      free(cache_.back().texture);
      index_.erase(cache_.back().key);
      cache_.pop_back();
    }
    cache_.push_front(Entry{key, texture, width, height});
    index_[std::move(key)] = cache_.begin();
    return &cache_.front();
  }

  // Hands every texture to `free` and forgets them all.
  template <class Free>
  void Clear(Free free) {
    for (Entry& entry : cache_) free(entry.texture);
    cache_.clear();
    index_.clear();
  }

  size_t Size() const { return cache_.size(); }

 private:
  std::list<Entry> cache_;  // most recently drawn first
  std::unordered_map<std::string, typename std::list<Entry>::iterator> index_;
};

// The left edge of a string `textWidth` wide in a box at x, `width` wide: alignment 0 left,
// 1 centred, 2 right. Whole pixels keep the glyphs crisp.
inline float AlignedLeft(float x, float width, int textWidth, int16_t alignment) {
  float left = x;
  if (alignment == 1) left = x + (width - textWidth) / 2;
  if (alignment == 2) left = x + width - textWidth;
  return std::round(left);
}
