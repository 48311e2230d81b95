// Scripted input for headless runs, one event per line:
//   <pass> down <scancode>   key pressed and held
//   <pass> up <scancode>     key released
//   <pass> tap <scancode>    key pressed for that pass only
//   <pass> close             a close request, as if the window had been closed
//   <pass> blur              the window loses the focus (the player switches to another window)
// Passes count from 1, the first main-loop pass; pass 0 means during start-up (the splash).
// Lines starting with '#' and blank lines are ignored.
#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

struct ScriptEvent {
  enum class Kind { Down, Up, Tap, Close, Blur };
  int64_t pass = 0;
  Kind kind = Kind::Down;
  int16_t scanCode = 0;
};

class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const std::string& what)
      : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// Reads a whole script; throws ScriptError naming the first malformed line. Events come back
// sorted by pass, keeping the file's order within a pass.
std::vector<ScriptEvent> ParseInputScript(std::istream& in);
