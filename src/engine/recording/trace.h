// The headless trace: one line per call of an Engine, Utility or MusicPlayer operation, in call
// order, "Object.Operation" and its arguments, with " -> result" where there is one, and a line
// "# pass N" before the first call of each main-loop pass.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"

// Argument formatting for trace lines.
std::string TraceString(std::string_view text);  // "quoted", with \" and \\ escaped
std::string TraceNumber(float value);            // shortest form that reads back the same
std::string TraceNumber(double value);
std::string TraceNumber(int64_t value);
inline std::string TraceBool(bool value) {
  return value ? "-1" : "0";
}
std::string TraceTexture(const Texture& texture);  // the file it was loaded from, quoted

class Trace {
 public:
  // Lines go to the stream (if any) and are kept in memory when keepLines is set.
  void SetStream(std::ostream* stream) { stream_ = stream; }
  void SetKeepLines(bool keep) { keepLines_ = keep; }
  bool Enabled() const { return stream_ != nullptr || keepLines_; }

  // Marks the start of a main-loop pass; the "# pass N" line is written before its first call.
  void BeginPass(int64_t pass) { pendingPass_ = pass; }
  void Add(std::string line);

  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

 private:
  void Emit(const std::string& line);

  std::ostream* stream_ = nullptr;
  bool keepLines_ = false;
  int64_t pendingPass_ = 0;
  std::vector<std::string> lines_;
};

// Builds one call line: TraceCall(trace, "Engine.EndFrame") << args...; written when destroyed.
class TraceCall {
 public:
  // Inline so that a run without a trace pays only for a test of one flag.
  TraceCall(Trace& trace, std::string_view operation) : trace_(trace), enabled_(trace.Enabled()) {
    if (enabled_) line_ = operation;
  }
  ~TraceCall() {
    if (enabled_) Finish();
  }
  TraceCall(const TraceCall&) = delete;
  TraceCall& operator=(const TraceCall&) = delete;

  TraceCall& Arg(const std::string& formatted);
  // Arguments are formatted only when the trace is on, so a run without a trace pays nothing.
  TraceCall& Str(std::string_view text) { return enabled_ ? Arg(TraceString(text)) : *this; }
  TraceCall& Num(float value) { return enabled_ ? Arg(TraceNumber(value)) : *this; }
  TraceCall& Int(int64_t value) { return enabled_ ? Arg(TraceNumber(value)) : *this; }
  TraceCall& Bool(bool value) { return enabled_ ? Arg(TraceBool(value)) : *this; }
  TraceCall& Tex(const Texture& texture) { return enabled_ ? Arg(TraceTexture(texture)) : *this; }
  void ResultStr(std::string_view text) {
    if (enabled_) SetResult(TraceString(text));
  }
  void ResultNum(float value) {
    if (enabled_) SetResult(TraceNumber(value));
  }
  void ResultInt(int64_t value) {
    if (enabled_) SetResult(TraceNumber(value));
  }
  void ResultBool(bool value) {
    if (enabled_) SetResult(TraceBool(value));
  }

 private:
  void Finish();
  void SetResult(std::string formatted) {
    if (enabled_) {
      result_ = std::move(formatted);
      hasResult_ = true;
    }
  }

  Trace& trace_;
  bool enabled_;
  std::string line_;
  std::string result_;
  bool hasResult_ = false;
};
