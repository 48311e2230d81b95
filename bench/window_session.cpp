#include "window_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "io/paths.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int64_t kProbeTimeout = 120'000'000'000;  // nanoseconds

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::string folders = path;
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const fs::path candidate = fs::path(folders.substr(start, end - start)) / program;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Starts a program found on the PATH, its descriptors arranged by `actions`. Returns its process
// id, or -1.
pid_t Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
            posix_spawn_file_actions_t* actions) {
  std::vector<char*> argv, envp;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), envp.data()) != 0) return -1;
  return pid;
}

// The environment of this process without the given variables, plus the extra entries.
std::vector<std::string> Environment(const std::vector<std::string>& drop,
                                     const std::vector<std::string>& extra) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    if (std::find(drop.begin(), drop.end(), name) == drop.end()) result.push_back(text);
  }
  result.insert(result.end(), extra.begin(), extra.end());
  return result;
}

// Reads until the writer closes its end, or until `deadline` (steady-clock nanoseconds) has
// passed; `timedOut` tells which.
std::string ReadAll(int fd, int64_t deadline, bool& timedOut) {
  std::string text;
  char buffer[4096];
  timedOut = false;
  while (true) {
    const int64_t left = deadline - Now();
    if (left <= 0) {
      timedOut = true;
      break;
    }
    pollfd wanted{fd, POLLIN, 0};
    const int ready = poll(&wanted, 1, static_cast<int>(std::min<int64_t>(left / 1'000'000, 1000)));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

// A private Xvfb: a display without vsync, as in CI. Stopped when the benchmark ends.
class Xvfb {
 public:
  Xvfb() {
    if (!OnPath("Xvfb")) {
      const char* display = std::getenv("DISPLAY");
      if (display != nullptr && *display != '\0') {
        display_ = display;
        kind_ = "$DISPLAY";
      } else {
        problem_ = "no X display: install Xvfb (scripts/install-deps) or run under a desktop";
      }
      return;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
      problem_ = "cannot make a pipe for Xvfb";
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_ = Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1600x1200x24", "-nolisten", "tcp"},
                 Environment({}, {}), &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string number;
    char c;
    while (pid_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (pid_ <= 0 || number.empty()) {
      problem_ = "Xvfb did not start";
      Stop();
      return;
    }
    display_ = ":" + number;
    kind_ = "Xvfb";
  }
  ~Xvfb() { Stop(); }

  void Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }

  std::string display_, kind_, problem_;

 private:
  pid_t pid_ = -1;
};

Xvfb& Session() {
  static Xvfb xvfb;
  return xvfb;
}

// The scratch folder, removed at exit.
struct ScratchFolder {
  ~ScratchFolder() {
    std::error_code ec;
    if (!path.empty()) fs::remove_all(path, ec);
  }
  std::string path;
};

}  // namespace

const std::string& BenchDisplay() {
  return Session().display_;
}

const std::string& BenchDisplayProblem() {
  return Session().problem_;
}

const std::string& BenchDisplayKind() {
  return Session().kind_;
}

namespace {

std::string GameFolder(std::string& problem) {
  static ScratchFolder scratch;
  if (!scratch.path.empty()) return scratch.path;
  const fs::path files = fs::path(ExecutableFolder()).parent_path() / "files";
  if (!fs::exists(files / "logo.jpg")) {
    problem = "no generated files in " + files.string() + " (build the game first)";
    return "";
  }
  char name[] = "/tmp/swayfire-bench-XXXXXX";
  if (mkdtemp(name) == nullptr) {
    problem = "cannot make a scratch folder";
    return "";
  }
  scratch.path = name;
  std::error_code ec;
  fs::create_directory(fs::path(name) / "files", ec);
  for (const fs::directory_entry& entry : fs::directory_iterator(files, ec)) {
    if (entry.path().filename() == "bullet.dds") continue;
    fs::create_symlink(entry.path(), fs::path(name) / "files" / entry.path().filename(), ec);
  }
  std::ofstream(fs::path(name) / "opt.ini") << "[OPTIONS]\r\nFS=False\r\nSND=True\r\n";
  return scratch.path;
}

}  // namespace

std::string BenchGameFolder(benchmark::State& state) {
  std::string problem;
  const std::string folder = GameFolder(problem);
  if (folder.empty()) state.SkipWithError(problem.c_str());
  return folder;
}

double ProbeRun::Number(const std::string& key) const {
  auto it = values.find(key);
  return it == values.end() ? 0.0 : std::atof(it->second.c_str());
}

double ProbeRun::MillisecondsTo(const std::string& key) const {
  auto it = values.find(key);
  if (it == values.end()) return 0.0;
  return static_cast<double>(std::atoll(it->second.c_str()) - spawned) / 1e6;
}

ProbeRun RunProbe(const std::vector<std::string>& arguments) {
  ProbeRun run;
  if (BenchDisplay().empty()) {
    run.problem = BenchDisplayProblem();
    return run;
  }
  std::vector<std::string> command = {ExecutableFolder() + "/swayfire_window_probe"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  // Whatever another benchmark of this process asked of SDL (an offscreen window, a renderer)
  // is not for the probe: it runs as the game does.
  const std::vector<std::string> environment = Environment(
      {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_RENDER_DRIVER",
       "SDL_FRAMEBUFFER_ACCELERATION", "SDL_AUDIODRIVER"},
      {"DISPLAY=" + BenchDisplay(), "SDL_AUDIODRIVER=dummy", "SWAYFIRE_NO_MESSAGEBOX=1"});
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    run.problem = "cannot make a pipe";
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  run.spawned = Now();
  const pid_t pid = Spawn(command, environment, &actions);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (pid <= 0) {
    close(fds[0]);
    run.problem = "cannot start " + command[0];
    return run;
  }
  // A probe runs for seconds; one that hangs is stopped.
  bool timedOut = false;
  const std::string output = ReadAll(fds[0], run.spawned + kProbeTimeout, timedOut);
  close(fds[0]);
  if (timedOut) kill(pid, SIGKILL);
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  run.peakKilobytes = usage.ru_maxrss;

  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    const std::string line = output.substr(start, end - start);
    const size_t equals = line.find('=');
    if (equals != std::string::npos) run.values[line.substr(0, equals)] = line.substr(equals + 1);
    start = end + 1;
  }
  if (timedOut) {
    run.problem = "the probe did not finish within two minutes";
  } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    auto error = run.values.find("error");
    run.problem = "the probe failed: " +
                  (error != run.values.end() ? error->second : "status " + std::to_string(status));
  }
  return run;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
