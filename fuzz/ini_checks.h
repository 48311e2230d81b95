// The properties of the INI reader and writer that the score file relies on, checked on one input.
// Shared by the libFuzzer target (fuzz/ini_fuzz.cpp) and the regression test that replays every
// committed corpus and crash file (tests/fuzz_regression_test.cpp).
//
// An input is "section<RS>key<RS>value<RS>file text", RS being the byte 0x1E. With fewer than three
// separators the whole input is the file text and the store is "SCORE", "M1", "0", the first write
// the game makes; so any INI file is an input as it stands.
//
// The properties, for any file text and any section, key and value:
//  1. Reading and storing never crash.
//  2. The reader agrees with a plain, independent reading of the text (PlainEntries below) on
//     every key the text names: no key is hidden by a damaged line before it.
//  3. When the names and the value can be stored (IniNameCanBeStored, IniValueCanBeStored), a
//     lookup of the same section and key in the stored text returns the value; otherwise the text
//     comes back unchanged.
//  4. Every other key keeps its value: each key the text names reads the same before and after
//     the store, unless it is the stored one (names compare ignoring ASCII case).
//  5. The stored text, read plainly, gives what the reader gives: the written file says the same
//     to any reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "io/ini_utility.h"

namespace fuzzcheck {

struct IniCase {
  std::string section = "SCORE";
  std::string key = "M1";
  std::string value = "0";
  std::string text;
};

inline IniCase SplitIniInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  IniCase c;
  size_t a = input.find('\x1e');
  size_t b = a == std::string::npos ? a : input.find('\x1e', a + 1);
  size_t d = b == std::string::npos ? b : input.find('\x1e', b + 1);
  if (d == std::string::npos) {
    c.text = input;
    return c;
  }
  c.section = input.substr(0, a);
  c.key = input.substr(a + 1, b - a - 1);
  c.value = input.substr(b + 1, d - b - 1);
  c.text = input.substr(d + 1);
  return c;
}

inline std::string Lowered(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

inline std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A plain reading of INI text, independent of the reader under test, that says what the game
// expects of its files: UTF-16 with its byte-order mark is read as the text it holds, UTF-8
// byte-order marks among the blanks at the start of a line are skipped; a line ends at CR, LF or
// NUL; blanks around names and values do not count; names compare ignoring ASCII case; a line
// "[name]" opens a section (text after the "]" does not count); a line starting with ";" or "#" is
// a comment; "key=value" stores a value, the later of two equal keys in one section winning; every
// other line (a "[" without "]", a line without "=", an empty key) is ignored.
struct IniEntry {
  std::string section;
  std::string key;
  std::string value;
};

// UTF-16 after its byte-order mark, as UTF-8 (code points below U+10000 and pairs; a lone
// surrogate as U+FFFD).
inline std::string PlainUtf16(const std::string& bytes, bool big) {
  std::u16string units;
  for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
    const auto a = static_cast<unsigned char>(bytes[at]);
    const auto b = static_cast<unsigned char>(bytes[at + 1]);
    units += static_cast<char16_t>(big ? (a << 8 | b) : (b << 8 | a));
  }
  std::string out;
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      out += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
              static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
  }
  return out;
}

inline std::vector<IniEntry> PlainEntries(const std::string& bytes) {
  const std::string text = bytes.compare(0, 2, "\xFF\xFE") == 0   ? PlainUtf16(bytes, false)
                           : bytes.compare(0, 2, "\xFE\xFF") == 0 ? PlainUtf16(bytes, true)
                                                                  : bytes;
  std::vector<IniEntry> entries;
  std::string section;
  size_t start = 0;
  while (start <= text.size()) {
    while (text.compare(start, 3, "\xEF\xBB\xBF") == 0 ||
           (start < text.size() && (text[start] == ' ' || text[start] == '\t'))) {
      start += text[start] == '\xEF' ? 3 : 1;
    }
    size_t end = text.find_first_of(std::string("\r\n\0", 3), start);
    if (end == std::string::npos) end = text.size();
    std::string line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      size_t close = line.find(']');
      if (close != std::string::npos) section = Trimmed(line.substr(1, close - 1));
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    entries.push_back({section, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))});
  }
  return entries;
}

inline std::string PlainLookup(const std::vector<IniEntry>& entries, const std::string& section,
                               const std::string& key) {
  std::string value;
  for (const IniEntry& entry : entries) {
    if (Lowered(entry.section) == Lowered(section) && Lowered(entry.key) == Lowered(key)) {
      value = entry.value;
    }
  }
  return value;
}

inline std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      static const char* digits = "0123456789abcdef";
      out += "\\x";
      out += digits[c >> 4];
      out += digits[c & 15];
    }
  }
  return out + "\"";
}

// The distinct keys the entries name; of a long text a sample of `limit` keys spread evenly over
// it, the last one included (every lookup parses the whole text, and the fuzzer must stay fast).
inline std::vector<IniEntry> DistinctKeys(const std::vector<IniEntry>& entries, size_t limit = 8) {
  std::vector<IniEntry> keys;
  std::set<std::pair<std::string, std::string>> seen;
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (seen.insert({Lowered(entry->section), Lowered(entry->key)}).second) keys.push_back(*entry);
  }
  if (keys.size() <= limit) return keys;
  std::vector<IniEntry> sample;
  for (size_t i = 0; i < limit; ++i) sample.push_back(keys[i * (keys.size() - 1) / (limit - 1)]);
  return sample;
}

inline std::string Named(const IniEntry& entry) {
  return "[" + Quoted(entry.section) + "] " + Quoted(entry.key);
}

// Returns "" when every property holds, otherwise what went wrong.
inline std::string CheckIniRoundTrip(const IniCase& c) {
  const bool storable = IniNameCanBeStored(c.section, IniName::Section) &&
                        IniNameCanBeStored(c.key, IniName::Key) && IniValueCanBeStored(c.value);
  const std::string stored = IniStore(c.text, c.section, c.key, c.value);
  auto where = [&] {
    return " (store [" + Quoted(c.section) + "] " + Quoted(c.key) + " = " + Quoted(c.value) +
           " into " + Quoted(c.text) + ", giving " + Quoted(stored) + ")";
  };

  if (storable) {
    std::string back = IniLookup(stored, c.section, c.key);
    if (back != c.value) return "the stored value reads back as " + Quoted(back) + where();
  } else if (stored != c.text) {
    return "a store of names or a value that cannot be stored changed the text" + where();
  }

  const std::vector<IniEntry> before = PlainEntries(c.text);
  const std::vector<IniEntry> after = PlainEntries(stored);
  for (const IniEntry& entry : DistinctKeys(before)) {
    std::string plain = PlainLookup(before, entry.section, entry.key);
    std::string read = IniLookup(c.text, entry.section, entry.key);
    if (read != plain) {
      return Named(entry) + " reads as " + Quoted(read) + " instead of " + Quoted(plain) +
             " in the file " + Quoted(c.text);
    }
    bool isStored = storable && Lowered(entry.section) == Lowered(c.section) &&
                    Lowered(entry.key) == Lowered(c.key);
    std::string readAfter = isStored ? c.value : IniLookup(stored, entry.section, entry.key);
    if (!isStored && readAfter != read) {
      return Named(entry) + " was " + Quoted(read) + " and became " + Quoted(readAfter) + where();
    }
    std::string plainAfter = PlainLookup(after, entry.section, entry.key);
    if (plainAfter != readAfter) {
      return Named(entry) + " reads as " + Quoted(readAfter) + " but the written file says " +
             Quoted(plainAfter) + where();
    }
  }
  if (storable && PlainLookup(after, c.section, c.key) != c.value) {
    return "the written file says " + Quoted(PlainLookup(after, c.section, c.key)) +
           " for the stored key" + where();
  }
  return "";
}

}  // namespace fuzzcheck
