#include "io/ini_text.h"

// Our files are plain bytes: no character-set conversion (and no extra library for it).
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <string_view>

namespace {

// A line ends at CR, LF or NUL.
constexpr std::string_view kLineEnds("\r\n\0", 3);
constexpr std::string_view kByteOrderMark("\xEF\xBB\xBF");

// Where a line's text begins: after the blanks and byte-order marks at its start, in any order
// (files pasted together, saved twice by an editor that adds a mark each time, or indented). A mark
// after a blank must go too: the file is written back without the blank, and the mark would then
// be dropped from the name on the next reading.
size_t LineStart(std::string_view text, size_t start) {
  for (;;) {
    if (text.substr(start, kByteOrderMark.size()) == kByteOrderMark) {
      start += kByteOrderMark.size();
    } else if (start < text.size() && (text[start] == ' ' || text[start] == '\t')) {
      ++start;
    } else {
      return start;
    }
  }
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// UTF-16 after its byte-order mark; a lone surrogate becomes U+FFFD, an odd last byte is dropped.
std::string FromUtf16(const std::string& bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](size_t at) {
    const auto hi = static_cast<unsigned char>(bytes[at + (bigEndian ? 0 : 1)]);
    const auto lo = static_cast<unsigned char>(bytes[at + (bigEndian ? 1 : 0)]);
    return static_cast<char32_t>(hi << 8 | lo);
  };
  for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
    char32_t c = unit(at);
    if (c >= 0xD800 && c < 0xDC00 && at + 3 < bytes.size()) {
      const char32_t low = unit(at + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
        at += 2;
        continue;
      }
    }
    AppendUtf8(out, c >= 0xD800 && c < 0xE000 ? 0xFFFD : c);
  }
  return out;
}

// A hand-edited or damaged file must not hide the keys that follow a bad line. SimpleIni stops at
// a NUL byte, and a "[" line without its "]" leaks into the section name of the next key; so a NUL
// ends a line here, byte-order marks at a line's start go, and such a "[" line becomes a comment
// (kept when the file is written back).
std::string Tidied(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  size_t start = 0;
  while (start < text.size()) {
    start = LineStart(text, start);
    size_t end = text.find_first_of(kLineEnds, start);
    if (end == std::string::npos) end = text.size();
    if (start < end && text[start] == '[' &&
        text.substr(start, end - start).find(']') == text.npos) {
      out += ';';
    }
    out.append(text, start, end - start);
    if (end < text.size()) out += text[end] == '\0' ? '\n' : text[end];
    start = end + 1;
  }
  return out;
}

// The comment lines after the last section or key, which SimpleIni does not keep (it keeps those
// before a section or key).
std::string TrailingComments(std::string_view text) {
  std::string comments;
  bool entrySeen = false;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find_first_of(kLineEnds, at);
    if (end == text.npos) end = text.size();
    const std::string_view line = text.substr(at, end - at);
    const size_t head = line.find_first_not_of(" \t");
    if (head != line.npos) {
      if (line[head] == ';' || line[head] == '#') {
        if (entrySeen) comments.append(line).append("\n");
      } else {
        entrySeen = true;
        comments.clear();
      }
    }
    at = end + 1;
  }
  return comments;
}

}  // namespace

std::string DecodedIniText(const std::string& bytes) {
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) return FromUtf16(bytes, false);
  if (bytes.compare(0, 2, "\xFE\xFF") == 0) return FromUtf16(bytes, true);
  return bytes;
}

std::string IniExcerpt(const std::string& text) {
  std::string out;
  for (char c : text.substr(0, 40)) {
    out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
  }
  return text.size() > 40 ? out + "..." : out;
}

std::string IniTrouble(const std::string& text) {
  std::string trouble;
  if (text.find('\0') != std::string::npos) trouble = "NUL bytes (read as line ends)";
  int line = 0;
  int bad = 0;
  std::string first;
  size_t start = 0;
  while (start < text.size()) {
    ++line;
    start = LineStart(text, start);
    size_t end = text.find_first_of(kLineEnds, start);
    if (end == std::string::npos) end = text.size();
    if (start < end) {
      std::string_view content(text.data() + start, end - start);
      char c = content[0];
      size_t equals = content.find('=');
      bool understood =
          c == ';' || c == '#' ||
          (c == '[' ? content.find(']') != content.npos : equals != content.npos && equals > 0);
      if (!understood && bad++ == 0) {
        first = "line " + std::to_string(line) + " \"" + IniExcerpt(std::string(content)) + "\"";
      }
    }
    // CR LF ends one line.
    bool crlf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
    start = end + (crlf ? 2 : 1);
  }
  if (bad > 0) {
    if (!trouble.empty()) trouble += " and ";
    trouble += std::to_string(bad) + (bad == 1 ? " line that is" : " lines that are") +
               " neither [section] nor key=value (first: " + first + ")";
  }
  return trouble;
}

bool IniValueCanBeStored(const std::string& value) {
  if (value.find_first_of(kLineEnds) != std::string::npos) return false;
  if (value.empty()) return true;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return !blank(value.front()) && !blank(value.back());
}

bool IniNameCanBeStored(const std::string& name, IniName kind) {
  if (name.empty() || !IniValueCanBeStored(name)) return false;
  if (kind == IniName::Section) return name.find(']') == std::string::npos;
  return name.find('=') == std::string::npos && name[0] != '[' && name[0] != ';' &&
         name[0] != '#' && name.compare(0, kByteOrderMark.size(), kByteOrderMark) != 0;
}

struct IniDocument::Parsed {
  CSimpleIniA ini;
  std::string trailing;
};

IniDocument::IniDocument(const std::string& text) : parsed_(std::make_unique<Parsed>()) {
  CSimpleIniA& ini = parsed_->ini;
  ini.SetUnicode(false);
  ini.SetMultiKey(false);
  ini.SetMultiLine(false);
  ini.SetSpaces(false);
  const std::string tidied = Tidied(text);
  ini.LoadData(tidied.data(), tidied.size());
  parsed_->trailing = TrailingComments(tidied);
}

IniDocument::~IniDocument() = default;
IniDocument::IniDocument(IniDocument&&) noexcept = default;
IniDocument& IniDocument::operator=(IniDocument&&) noexcept = default;

std::string IniDocument::Get(const std::string& section, const std::string& key) const {
  const char* value = parsed_->ini.GetValue(section.c_str(), key.c_str(), nullptr);
  return value ? std::string(value) : std::string();
}

bool IniDocument::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
  if (!IniNameCanBeStored(section, IniName::Section) || !IniNameCanBeStored(key, IniName::Key) ||
      !IniValueCanBeStored(value)) {
    return false;
  }
  parsed_->ini.SetValue(section.c_str(), key.c_str(), value.c_str());
  return true;
}

std::string IniDocument::Text() const {
  std::string out;
  parsed_->ini.Save(out, false);
  // A first line that starts with the bytes of a UTF-16 byte-order mark would make the whole file
  // read as UTF-16; a blank line in front keeps it what it is.
  if (out.compare(0, 2, "\xFF\xFE") == 0 || out.compare(0, 2, "\xFE\xFF") == 0) out.insert(0, "\n");
  if (!parsed_->trailing.empty()) {
    if (!out.empty() && out.back() != '\n') out += '\n';
    out += parsed_->trailing;
  }
  return out;
}

std::string IniLookup(const std::string& bytes, const std::string& section,
                      const std::string& key) {
  return IniDocument(DecodedIniText(bytes)).Get(section, key);
}

std::string IniStore(const std::string& bytes, const std::string& section, const std::string& key,
                     const std::string& value) {
  IniDocument document(DecodedIniText(bytes));
  if (!document.Set(section, key, value)) return bytes;
  return document.Text();
}
