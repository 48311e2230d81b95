#include "engine/recording/trace.h"

#include <charconv>

std::string TraceString(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('"');
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\n') {
      out += "\\n";  // keeps one call on one line
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
  return out;
}

std::string TraceNumber(float value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string TraceNumber(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string TraceNumber(int64_t value) {
  return std::to_string(value);
}

std::string TraceTexture(const Texture& texture) {
  return TraceString(texture ? texture->file : std::string());
}

void Trace::Add(std::string line) {
  if (pendingPass_ > 0) {
    Emit("# pass " + std::to_string(pendingPass_));
    pendingPass_ = 0;
  }
  Emit(line);
}

void Trace::Emit(const std::string& line) {
  if (stream_) *stream_ << line << '\n';
  if (keepLines_) lines_.push_back(line);
}

void TraceCall::Finish() {
  if (hasResult_) line_ += " -> " + result_;
  trace_.Add(std::move(line_));
}

TraceCall& TraceCall::Arg(const std::string& formatted) {
  if (enabled_) {
    line_.push_back(' ');
    line_ += formatted;
  }
  return *this;
}
