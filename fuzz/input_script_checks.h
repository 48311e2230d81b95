// The properties of the headless runner's input script reader, checked on one text. Shared by the
// libFuzzer target (fuzz/input_script_fuzz.cpp) and the regression test that replays every
// committed corpus and crash file (tests/fuzz_regression_test.cpp).
//
//  1. Any text is either read or refused with a ScriptError naming a line of the text; nothing
//     else is thrown and nothing crashes.
//  2. What is read is well formed: at most one event per line, passes of 0 or more in ascending
//     order, scan codes 1 to 255 on key events and 0 on close and blur.
//  3. The events written out in the script's own format read back as the same events.
#pragma once

#include <algorithm>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "engine/recording/input_script.h"

namespace fuzzcheck {

inline const char* KindWord(ScriptEvent::Kind kind) {
  switch (kind) {
    case ScriptEvent::Kind::Down:
      return "down";
    case ScriptEvent::Kind::Up:
      return "up";
    case ScriptEvent::Kind::Tap:
      return "tap";
    case ScriptEvent::Kind::Close:
      return "close";
    case ScriptEvent::Kind::Blur:
      return "blur";
  }
  return "?";
}

// Key events carry a scan code; close and blur do not.
inline bool TakesScanCode(ScriptEvent::Kind kind) {
  return kind != ScriptEvent::Kind::Close && kind != ScriptEvent::Kind::Blur;
}

// The events as a script, one line each: "<pass> <kind> <scancode>", "<pass> close" or
// "<pass> blur".
inline std::string FormatInputScript(const std::vector<ScriptEvent>& events) {
  std::string text;
  for (const ScriptEvent& event : events) {
    text += std::to_string(event.pass) + " " + KindWord(event.kind);
    if (TakesScanCode(event.kind)) text += " " + std::to_string(event.scanCode);
    text += "\n";
  }
  return text;
}

inline bool SameEvents(const std::vector<ScriptEvent>& a, const std::vector<ScriptEvent>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const ScriptEvent& x, const ScriptEvent& y) {
                      return x.pass == y.pass && x.kind == y.kind && x.scanCode == y.scanCode;
                    });
}

// The number of lines std::getline sees in the text.
inline int LineCount(const std::string& text) {
  int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  if (!text.empty() && text.back() != '\n') ++lines;
  return lines;
}

inline std::string Parsed(const std::string& text, std::vector<ScriptEvent>& events) {
  std::istringstream in(text);
  try {
    events = ParseInputScript(in);
  } catch (const ScriptError& error) {
    if (error.Line() < 1 || error.Line() > LineCount(text)) {
      return "refused naming line " + std::to_string(error.Line()) + " of a text of " +
             std::to_string(LineCount(text)) + " lines";
    }
    return "refused";
  } catch (const std::exception& error) {
    return std::string("threw ") + error.what();
  }
  return "";
}

// Returns "" when every property holds, otherwise what went wrong.
inline std::string CheckInputScript(const std::string& text) {
  std::vector<ScriptEvent> events;
  std::string outcome = Parsed(text, events);
  if (outcome == "refused") return "";
  if (!outcome.empty()) return outcome;

  if (static_cast<int>(events.size()) > LineCount(text)) return "more events than lines";
  for (size_t i = 0; i < events.size(); ++i) {
    const ScriptEvent& event = events[i];
    if (event.pass < 0) return "a negative pass was read";
    if (i > 0 && event.pass < events[i - 1].pass) return "events out of pass order";
    if (!TakesScanCode(event.kind) ? event.scanCode != 0
                                   : (event.scanCode < 1 || event.scanCode > 255)) {
      return "scan code " + std::to_string(event.scanCode) + " read for a " + KindWord(event.kind) +
             " event";
    }
  }

  std::string written = FormatInputScript(events);
  std::vector<ScriptEvent> again;
  outcome = Parsed(written, again);
  if (!outcome.empty()) return "the written script was " + outcome + ": " + written;
  if (!SameEvents(events, again)) return "the written script reads back differently: " + written;
  return "";
}

}  // namespace fuzzcheck
