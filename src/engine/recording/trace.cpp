#include "engine/recording/trace.h"

#include <charconv>
#include <tuple>
#include <type_traits>
#include <utility>

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

namespace {

// One argument or result in its trace form, chosen by its type.
template <typename T>
std::string TraceValue(const T& value) {
  if constexpr (std::is_same_v<T, Texture>) {
    return TraceTexture(value);
  } else if constexpr (std::is_same_v<T, std::string>) {
    return TraceString(value);
  } else if constexpr (std::is_same_v<T, bool>) {
    return TraceBool(value);
  } else if constexpr (std::is_same_v<T, float>) {
    return TraceNumber(value);
  } else {
    static_assert(std::is_integral_v<T>, "a trace argument is a text, a number or a Boolean");
    return TraceNumber(static_cast<int64_t>(value));
  }
}

}  // namespace

std::string FormatCall(const Call& call) {
  return std::visit(
      [](const auto& c) {
        std::string line(c.kName);
        if constexpr (requires { c.Args(); }) {
          std::apply([&line](const auto&... arg) { ((line += ' ', line += TraceValue(arg)), ...); },
                     c.Args());
        }
        if constexpr (requires { c.result; }) line += " -> " + TraceValue(c.result);
        return line;
      },
      call);
}

void Trace::Add(Call call) {
  const int64_t pass = std::exchange(pendingPass_, 0);
  if (stream_) {
    if (pass > 0) *stream_ << "# pass " << pass << '\n';
    *stream_ << FormatCall(call) << '\n';
  }
  if (keepCalls_) {
    if (pass > 0) passStarts_.push_back({calls_.size(), pass});
    calls_.push_back(std::move(call));
  }
}

std::vector<std::string> Trace::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(calls_.size() + passStarts_.size());
  auto start = passStarts_.begin();
  for (size_t i = 0; i < calls_.size(); ++i) {
    if (start != passStarts_.end() && start->firstCall == i) {
      lines.push_back("# pass " + std::to_string(start->pass));
      ++start;
    }
    lines.push_back(FormatCall(calls_[i]));
  }
  return lines;
}

void Trace::Clear() {
  calls_.clear();
  passStarts_.clear();
}
