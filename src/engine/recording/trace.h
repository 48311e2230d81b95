// The headless trace: one line per call of an Engine, Utility or MusicPlayer operation, in call
// order, "Object.Operation" and its arguments, with " -> result" where there is one, and a line
// "# pass N" before the first call of each main-loop pass. The calls are kept as typed records
// (calls.h); FormatCall is the one place that turns a record into its line.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "engine/recording/calls.h"

// Argument formatting for trace lines.
std::string TraceString(std::string_view text);  // "quoted", with \" and \\ escaped
std::string TraceNumber(float value);            // shortest form that reads back the same
std::string TraceNumber(double value);
std::string TraceNumber(int64_t value);
inline std::string TraceBool(bool value) {
  return value ? "-1" : "0";
}
std::string TraceTexture(const Texture& texture);  // the file it was loaded from, quoted

// A record's trace line, e.g. Engine.SetColor 255 255 42.
std::string FormatCall(const Call& call);

class Trace {
 public:
  // Lines go to the stream (if any); the records are kept in memory when keepCalls is set.
  void SetStream(std::ostream* stream) { stream_ = stream; }
  void SetKeepCalls(bool keep) { keepCalls_ = keep; }
  // Recording backends build a record only when this is true, so a run that neither writes nor
  // keeps a trace pays for the test of two flags and nothing else.
  bool Enabled() const { return stream_ != nullptr || keepCalls_; }

  // Marks the start of a main-loop pass; the "# pass N" line is written before its first call.
  void BeginPass(int64_t pass) { pendingPass_ = pass; }
  void Add(Call call);

  // The kept records, and the same as the text of the trace ("# pass N" lines included).
  const std::vector<Call>& Calls() const { return calls_; }
  std::vector<std::string> Lines() const;
  void Clear();

 private:
  struct PassStart {
    size_t firstCall;  // index in calls_
    int64_t pass;
  };

  std::ostream* stream_ = nullptr;
  bool keepCalls_ = false;
  int64_t pendingPass_ = 0;
  std::vector<Call> calls_;
  std::vector<PassStart> passStarts_;
};
