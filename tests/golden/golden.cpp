#include "golden.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>

#include "asset_files.h"

namespace golden {

namespace {

constexpr int64_t kFullPassEvery = 600;

bool StartsWith(const std::string& line, std::string_view prefix) {
  return line.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& line, std::string_view suffix) {
  return line.size() >= suffix.size() &&
         line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Calls made on every pass whatever happens (drawing, distances, the music's clock, keys that are
// up); the pass's digest covers them, its listing leaves them out.
bool Routine(const std::string& line) {
  static const std::string_view kRoutine[] = {"Engine.DrawSprite ",    "Engine.SetColor ",
                                              "Engine.DrawText ",      "Engine.DrawBitmapText ",
                                              "Utility.Distance ",     "MusicPlayer.GetPosition",
                                              "MusicPlayer.GetLength", "Engine.BeginFrame",
                                              "Engine.EndFrame",       "MusicPlayer.SetVolume "};
  for (std::string_view prefix : kRoutine) {
    if (StartsWith(line, prefix)) return true;
  }
  return (StartsWith(line, "Engine.IsKeyHit ") || StartsWith(line, "Engine.IsKeyDown ")) &&
         EndsWith(line, " -> 0");
}

uint64_t Digest(const std::vector<std::string>& lines) {
  uint64_t hash = 0xcbf29ce484222325ULL;  // FNV-1a, 64 bits
  for (const std::string& line : lines) {
    for (unsigned char c : line) hash = (hash ^ c) * 0x100000001b3ULL;
    hash = (hash ^ '\n') * 0x100000001b3ULL;
  }
  return hash;
}

// Builds the golden lines from trace lines fed one at a time.
class Folder {
 public:
  void Add(std::string line) {
    if (StartsWith(line, "# pass ")) {
      FlushPass();
      pass_ = std::stoll(line.substr(7));
      inPass_ = true;
    } else if (inPass_) {
      passLines_.push_back(std::move(line));
    } else {
      out_.push_back(std::move(line));
    }
  }

  std::vector<std::string> Finish() {
    FlushPass();
    return std::move(out_);
  }

 private:
  void FlushPass() {
    if (!inPass_) return;
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx",
                  static_cast<unsigned long long>(Digest(passLines_)));
    bool full = pass_ % kFullPassEvery == 0;
    out_.push_back("# pass " + std::to_string(pass_) + " lines " +
                   std::to_string(passLines_.size()) + " digest " + digest + (full ? " full" : ""));
    for (std::string& line : passLines_) {
      if (full || !Routine(line)) out_.push_back(std::move(line));
    }
    passLines_.clear();
    inPass_ = false;
  }

  std::vector<std::string> out_ = {"# start-up"};
  std::vector<std::string> passLines_;
  int64_t pass_ = 0;
  bool inPass_ = false;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// The copy kept of a file with unreadable lines is named for the time it was made.
std::string WithoutTimes(std::string text) {
  const std::string mark = ".unreadable-";
  for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
    const size_t time = at + mark.size();
    if (text.size() >= time + 15 && text[time + 8] == '-') text.replace(time, 15, "<time>");
  }
  return text;
}

// File contents may hold anything a hand-edited file can: keep the golden file plain text.
std::string Printable(const std::string& line) {
  std::string out;
  for (unsigned char c : line) {
    if (c < 0x20 || c >= 0x7f || c == '\\') {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      out += escaped;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

std::string Quote(const std::string& text) {
  return "'" + Replace(text, "'", "'\\''") + "'";
}

class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("swayfire-golden-" + std::to_string(::getpid()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void AddFile(std::vector<std::string>& out, const std::filesystem::path& folder,
             const std::string& name) {
  std::filesystem::path file = folder / name;
  if (!std::filesystem::exists(file)) {
    out.push_back("# file " + name + " missing");
    return;
  }
  out.push_back("# file " + name);
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) out.push_back(Printable(line));
}

std::string Section(const std::string& header) {
  if (StartsWith(header, "# pass ")) {
    size_t end = header.find(' ', 7);
    return "pass " + header.substr(7, end - 7);
  }
  return header.substr(2);
}

}  // namespace

std::vector<Replay> FindReplays(const std::filesystem::path& folder) {
  std::vector<Replay> replays;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".keys") continue;
    Replay replay;
    replay.name = entry.path().stem().string();
    replay.keys = entry.path();
    std::ifstream in(entry.path());
    std::string first;
    std::getline(in, first);
    if (!StartsWith(first, "#! ")) {
      throw std::runtime_error(entry.path().string() +
                               ": the first line must be \"#! seed=N passes=N\"");
    }
    std::istringstream options(first.substr(3));
    std::string option;
    while (options >> option) {
      size_t eq = option.find('=');
      std::string key = option.substr(0, eq);
      std::string value = eq == std::string::npos ? "" : option.substr(eq + 1);
      if (key == "seed") {
        replay.seed = std::stoull(value);
      } else if (key == "passes") {
        replay.passes = std::stoll(value);
      } else if (key == "time") {
        replay.time = std::stod(value);
      } else if (key == "scores") {
        replay.scores = value;
      } else {
        throw std::runtime_error(entry.path().string() + ": unknown option " + option);
      }
    }
    replays.push_back(replay);
  }
  std::sort(replays.begin(), replays.end(),
            [](const Replay& a, const Replay& b) { return a.name < b.name; });
  return replays;
}

std::vector<std::string> Fold(const std::vector<std::string>& trace) {
  Folder folder;
  for (const std::string& line : trace) folder.Add(line);
  return folder.Finish();
}

void PrepareFolder(const Replay& replay, const std::filesystem::path& app) {
  test::MakeAssetFiles(app);
  {
    std::ofstream options(app / "opt.ini", std::ios::binary);
    options << "[OPTIONS]\r\nFS=False\r\nSND=True\r\n";
  }
  if (!replay.scores.empty()) {
    std::filesystem::copy_file(replay.keys.parent_path() / replay.scores, app / "files/bullet.dds",
                               std::filesystem::copy_options::overwrite_existing);
  }
}

std::string Arguments(const Replay& replay, const std::filesystem::path& app) {
  std::ostringstream arguments;
  arguments << " --folder " << Quote(app.string()) << " --input " << Quote(replay.keys.string())
            << " --passes " << replay.passes << " --seed " << replay.seed << " --time "
            << replay.time;
  return arguments.str();
}

std::vector<std::string> Record(const Replay& replay, const std::filesystem::path& headless,
                                const std::string& runner) {
  ScratchFolder scratch;
  const std::filesystem::path app = scratch.path() / "app";
  PrepareFolder(replay, app);
  const std::filesystem::path errors = scratch.path() / "stderr.txt";
  // The trace goes to a file: a Windows program under Wine cannot open /dev/stdout by name.
  const std::filesystem::path trace = scratch.path() / "trace.txt";
  std::ostringstream command;
  if (!runner.empty()) command << runner << " ";
  command << Quote(headless.string()) << Arguments(replay, app) << " --trace "
          << Quote(trace.string()) << " 2>" << Quote(errors.string()) << " </dev/null";
  const int status = std::system(command.str().c_str());
  if (status == -1) throw std::runtime_error("cannot start " + headless.string());
  Folder folder;
  for (const std::string& line : ReadLines(trace))
    folder.Add(Replace(line, app.string(), "<folder>"));
  std::vector<std::string> out = folder.Finish();
  out.push_back("# exit status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1));
  out.push_back("# stderr");
  for (const std::string& error : ReadLines(errors)) {
    out.push_back(Printable(WithoutTimes(Replace(error, app.string(), "<folder>"))));
  }
  AddFile(out, app, "files/bullet.dds");
  AddFile(out, app, "opt.ini");
  return out;
}

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

void WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) out << line << '\n';
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::optional<Difference> Compare(const std::vector<std::string>& expected,
                                  const std::vector<std::string>& actual) {
  std::optional<Difference> first;
  std::string section = "start-up";
  size_t count = std::max(expected.size(), actual.size());
  static const std::string kEnd = "(the end of the file)";
  for (size_t i = 0; i < count; ++i) {
    const std::string& e = i < expected.size() ? expected[i] : kEnd;
    const std::string& a = i < actual.size() ? actual[i] : kEnd;
    if (StartsWith(e, "# ")) section = Section(e);
    if (e != a) {
      first = Difference{i + 1, section, e, a, 0};
      break;
    }
  }
  if (!first) return first;
  // How many passes differ: their header lines (call count and digest) tell.
  std::map<std::string, std::string> headers;
  for (const std::string& line : expected) {
    if (StartsWith(line, "# pass ")) headers[Section(line)] = line;
  }
  for (const std::string& line : actual) {
    if (!StartsWith(line, "# pass ")) continue;
    auto found = headers.find(Section(line));
    if (found == headers.end() || found->second != line) ++first->passesDiffering;
  }
  return first;
}

std::string Describe(const Replay& replay, const Difference& d,
                     const std::filesystem::path& headless, const std::filesystem::path& start) {
  std::ostringstream out;
  out << "golden replay " << replay.name << " differs at line " << d.line << " (" << d.pass
      << "):\n  expected: " << d.expected << "\n  actual:   " << d.actual << "\n"
      << d.passesDiffering << " passes differ in all.";
  if (StartsWith(d.expected, "# pass ")) {
    out << " A pass header differs when the pass's drawing calls do.";
  }
  // The same run: a fresh copy of its starting folder (files, options, score file), the same
  // options, every call written to FILE.
  std::filesystem::path run = start;
  run += ".run";
  out << "\nTo see every call of this run, run\n  rm -rf " << Quote(run.string()) << " && cp -r "
      << Quote(start.string()) << " " << Quote(run.string()) << " && " << Quote(headless.string())
      << Arguments(replay, run) << " --trace FILE";
  out << "\nIf the change of behaviour is meant, run `make golden` and commit the new files.";
  return out.str();
}

}  // namespace golden
