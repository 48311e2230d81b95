#include "io/ini_utility.h"

#include "io/atomic_file.h"
#include "io/paths.h"
#include "io/read_file.h"

// Our files are plain bytes: no character-set conversion (and no extra library for it).
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string_view>

namespace {

// A line ends at CR, LF or NUL.
constexpr std::string_view kLineEnds("\r\n\0", 3);

// A hand-edited or damaged file must not hide the keys that follow a bad line. SimpleIni stops at
// a NUL byte, and a "[" line without its "]" leaks into the section name of the next key; so a NUL
// ends a line here, and such a "[" line becomes a comment (kept when the file is written back).
std::string Tidied(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  const size_t bom = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  out.append(text, 0, bom);
  size_t start = bom;
  while (start < text.size()) {
    size_t end = text.find_first_of(kLineEnds, start);
    if (end == std::string::npos) end = text.size();
    size_t first = text.find_first_not_of(" \t", start);
    if (first < end && text[first] == '[' &&
        std::string_view(text.data() + first, end - first).find(']') == std::string_view::npos) {
      out += ';';
    }
    out.append(text, start, end - start);
    if (end < text.size()) out += text[end] == '\0' ? '\n' : text[end];
    start = end + 1;
  }
  return out;
}

// Section and key names are case-insensitive; one value per key (a later duplicate replaces an
// earlier one); values are single lines.
void Parse(CSimpleIniA& ini, const std::string& text) {
  ini.SetUnicode(false);
  ini.SetMultiKey(false);
  ini.SetMultiLine(false);
  ini.SetSpaces(false);
  std::string tidied = Tidied(text);
  ini.LoadData(tidied.data(), tidied.size());
}

// A short, printable excerpt of a line for a message.
std::string Excerpt(const std::string& text) {
  std::string out;
  for (char c : text.substr(0, 40)) {
    out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
  }
  return text.size() > 40 ? out + "..." : out;
}

// Says what in the text is not understood and will be ignored: NUL bytes, and lines that are
// neither blank, a comment, a [section] nor key=value. "" when there is nothing to say.
std::string Trouble(const std::string& text) {
  std::string trouble;
  if (text.find('\0') != std::string::npos) trouble = "NUL bytes (read as line ends)";
  int line = 0;
  int bad = 0;
  std::string first;
  size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (start < text.size()) {
    ++line;
    size_t end = text.find_first_of(kLineEnds, start);
    if (end == std::string::npos) end = text.size();
    size_t head = text.find_first_not_of(" \t", start);
    if (head < end) {
      std::string_view content(text.data() + head, end - head);
      char c = content[0];
      size_t equals = content.find('=');
      bool understood =
          c == ';' || c == '#' ||
          (c == '[' ? content.find(']') != content.npos : equals != content.npos && equals > 0);
      if (!understood && bad++ == 0) {
        first = "line " + std::to_string(line) + " \"" + Excerpt(std::string(content)) + "\"";
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

}  // namespace

bool IniValueCanBeStored(const std::string& value) {
  if (value.find_first_of(kLineEnds) != std::string::npos) return false;
  if (value.empty()) return true;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return !blank(value.front()) && !blank(value.back());
}

bool IniNameCanBeStored(const std::string& name, IniName kind) {
  if (name.empty() || !IniValueCanBeStored(name)) return false;
  if (kind == IniName::Section) return name.find(']') == std::string::npos;
  return name.find('=') == std::string::npos && name[0] != '[' && name[0] != ';' && name[0] != '#';
}

std::string IniLookup(const std::string& text, const std::string& section, const std::string& key) {
  CSimpleIniA ini;
  Parse(ini, text);
  const char* value = ini.GetValue(section.c_str(), key.c_str(), nullptr);
  return value ? std::string(value) : std::string();
}

std::string IniStore(const std::string& text, const std::string& section, const std::string& key,
                     const std::string& value) {
  if (!IniNameCanBeStored(section, IniName::Section) || !IniNameCanBeStored(key, IniName::Key) ||
      !IniValueCanBeStored(value)) {
    return text;
  }
  CSimpleIniA ini;
  Parse(ini, text);
  ini.SetValue(section.c_str(), key.c_str(), value.c_str());
  std::string out;
  ini.Save(out, false);
  // A first line that happens to start with the bytes of a byte-order mark would lose them when
  // read back (the mark is skipped); a blank line in front keeps the line whole.
  if (out.compare(0, 3, "\xEF\xBB\xBF") == 0) out.insert(0, "\n");
  return out;
}

void IniUtility::Setup(int16_t) {}

void IniUtility::WarnOnce(const std::string& what, const std::string& message) {
  if (!warned_.insert(what).second) return;
  std::cerr << "swayfire: warning: " << message << "\n";
}

std::string IniUtility::ReadIni(const std::string& section, const std::string& key,
                                const std::string& file, int16_t) {
  std::string path = paths_.Resolve(file);
  std::string text;
  std::string error;
  FileRead read = ReadWholeFile(path, text, error);
  if (read == FileRead::Failed) {
    WarnOnce("read " + path,
             "cannot read " + path + " (" + error + "); its values count as missing");
  }
  if (read != FileRead::Done) return "";
  if (!warned_.count("trouble " + path)) {
    std::string trouble = Trouble(text);
    if (!trouble.empty()) WarnOnce("trouble " + path, path + " holds " + trouble + "; ignored");
  }
  return IniLookup(text, section, key);
}

void IniUtility::WriteIni(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& file, int16_t) {
  std::string path = paths_.Resolve(file);
  const std::string what = "[" + section + "] " + key + " = \"" + Excerpt(value) + "\" to " + path;
  if (!IniNameCanBeStored(section, IniName::Section) || !IniNameCanBeStored(key, IniName::Key) ||
      !IniValueCanBeStored(value)) {
    WarnOnce("store " + path, "not saving " + what + ": the name or value cannot be stored");
    return;
  }
  // The temporary file goes beside the file, in a folder made for it if need be.
  std::error_code ec;
  const auto folder = FilePath(path).parent_path();
  if (!folder.empty() && !std::filesystem::exists(folder, ec)) {
    std::filesystem::create_directories(folder, ec);
  }
  // The game goes on with its scores in memory; say once what could not be saved, and show it
  // the first time in a run.
  auto couldNotSave = [&](const std::string& why) {
    WarnOnce("write " + path, "could not save " + what + " (" + why +
                                  "); scores of this run are kept in memory only");
    if (platform_ == nullptr || saveFailureShown_) return;
    saveFailureShown_ = true;
    platform_->ShowWarning("Swayfire: scores not saved",
                           "Your scores cannot be saved to " + path + ":\n" + why +
                               ".\n\nThe game goes on and keeps the scores of this run until it "
                               "ends; the file keeps what it held. This is not said again in "
                               "this run.");
  };
  std::string error;
  AtomicFileWriter writer(path, durable_);
  if (!writer.Begin(error)) {
    couldNotSave(error);
    return;
  }
  // Read while holding the turn: another copy of the game saving at the same moment cannot slip
  // a write in between and have its key lost.
  std::string text;
  if (ReadWholeFile(path, text, error) == FileRead::Failed) {
    // Writing the one key over a file we cannot read would lose everything else in it.
    couldNotSave("cannot read the file: " + error);
    return;
  }
  if (!writer.Commit(IniStore(text, section, key, value), error)) couldNotSave(error);
}

float IniUtility::Distance(float x1, float y1, float x2, float y2) {
  float dx = x2 - x1;
  float dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}
