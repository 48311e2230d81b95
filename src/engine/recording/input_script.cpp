#include "engine/recording/input_script.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace {

bool ParseInteger(const std::string& word, int64_t& value) {
  if (word.empty() || word.size() > 18) return false;
  auto result = std::from_chars(word.data(), word.data() + word.size(), value);
  return result.ec == std::errc() && result.ptr == word.data() + word.size();
}

}  // namespace

std::vector<ScriptEvent> ParseInputScript(std::istream& in) {
  std::vector<ScriptEvent> events;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;

    std::istringstream words(line);
    std::string passWord, kindWord, codeWord, extra;
    words >> passWord >> kindWord >> codeWord >> extra;

    ScriptEvent event;
    if (!ParseInteger(passWord, event.pass) || event.pass < 0) {
      throw ScriptError(number, "expected a pass number (0 or more), got '" + passWord + "'");
    }
    if (kindWord == "close" || kindWord == "blur") {
      if (!codeWord.empty()) throw ScriptError(number, "'" + kindWord + "' takes no scan code");
      event.kind = kindWord == "close" ? ScriptEvent::Kind::Close : ScriptEvent::Kind::Blur;
    } else {
      if (kindWord == "down") {
        event.kind = ScriptEvent::Kind::Down;
      } else if (kindWord == "up") {
        event.kind = ScriptEvent::Kind::Up;
      } else if (kindWord == "tap") {
        event.kind = ScriptEvent::Kind::Tap;
      } else {
        throw ScriptError(number, "expected down, up, tap, close or blur, got '" + kindWord + "'");
      }
      int64_t code = 0;
      if (!ParseInteger(codeWord, code) || code < 1 || code > 255) {
        throw ScriptError(number, "expected a scan code from 1 to 255, got '" + codeWord + "'");
      }
      if (!extra.empty()) throw ScriptError(number, "unexpected '" + extra + "'");
      event.scanCode = static_cast<int16_t>(code);
    }
    events.push_back(event);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.pass < b.pass; });
  return events;
}
