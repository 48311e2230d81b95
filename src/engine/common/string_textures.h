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

  // The entry of a string in a font, now the most recently drawn. A string not kept yet is made by
  // `render(texture, width, height)` (false when it cannot be) and kept, the least recently drawn
  // one handed to `free` when full. Null when the string cannot be drawn. Looking up a string
  // already kept allocates nothing.
  template <class Render, class Free>
  const Entry* Lookup(const std::string& font, const std::string& text, Render render, Free free) {
    key_.assign(font);
    key_ += '\0';
    key_ += text;
    if (const Entry* cached = Find(key_)) return cached;
    Texture texture{};
    int width = 0, height = 0;
    if (!render(texture, width, height)) return nullptr;
    return Add(key_, texture, width, height, free);
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
  const Entry* Add(const std::string& key, Texture texture, int width, int height, Free free) {
    if (cache_.size() >= kCapacity) {
      free(cache_.back().texture);
      index_.erase(cache_.back().key);
      cache_.pop_back();
    }
    cache_.push_front(Entry{key, texture, width, height});
    index_[key] = cache_.begin();
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
  std::string key_;         // the key looked up last, its room kept for the next
  std::list<Entry> cache_;  // most recently drawn first
  std::unordered_map<std::string, typename std::list<Entry>::iterator> index_;
};

// How a DrawText call paints: its ARGB colour split up.
struct TextPaint {
  uint8_t red, green, blue, alpha;
};

// The start of every DrawText: false when there is nothing to draw (no text, a clear colour, a box
// off the number line); otherwise the colour to paint with.
inline bool StartText(const std::string& text, float x, float y, float width, int32_t color,
                      TextPaint& paint) {
  const auto argb = static_cast<uint32_t>(color);
  paint = {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
           static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 24)};
  return !text.empty() && paint.alpha != 0 && std::isfinite(x) && std::isfinite(y) &&
         std::isfinite(width);
}

// Where a string `textWidth` x `textHeight` goes in a box at (x, y), `width` wide: alignment 0
// left, 1 centred, 2 right. Whole pixels keep the glyphs crisp.
struct TextPlace {
  float left, top, width, height;
};
inline TextPlace PlaceText(float x, float y, float width, int textWidth, int textHeight,
                           int16_t alignment) {
  float left = x;
  if (alignment == 1) left = x + (width - textWidth) / 2;
  if (alignment == 2) left = x + width - textWidth;
  return {std::round(left), std::round(y), static_cast<float>(textWidth),
          static_cast<float>(textHeight)};
}
