#include "replay/watch.h"

#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

#include "io/paths.h"
#include "replay/version.h"
#include "shell/shell.h"

namespace {

// The scan code of F, which the game itself never reads.
constexpr int16_t kFastKey = 33;
constexpr int kFastPasses = 4;

std::string Mode(const Replay& replay) {
  return replay.start.survival ? "survival" : "level";
}

std::string Difference(const std::string& name, int64_t pass) {
  return name + ": the game's state differs from the recorded one after pass " +
         std::to_string(pass) + " (the replay was changed, or recorded by other rules)";
}

}  // namespace

bool LoadReplay(const std::string& path, Replay& replay, std::string& error) {
  std::ifstream in(FilePath(path), std::ios::binary);
  if (!in) {
    error = path + ": cannot read the replay";
    return false;
  }
  std::string text;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<size_t>(in.gcount()));
    if (text.size() > kMaxReplayBytes) break;
  }
  if (in.bad()) {
    error = path + ": cannot read the replay";
    return false;
  }
  try {
    replay = ReadReplay(text, ReplayGameVersion());
  } catch (const ReplayError& problem) {
    error = path + ": " + problem.what();
    return false;
  }
  return true;
}

int VerifyReplay(Game& game, ReplayPlayback& playback, const std::string& name, std::ostream& out,
                 std::ostream& err) {
  StartUp(game);
  if (!game.Running) {
    err << name << ": the game did not start\n";
    return 1;
  }
  if (playback.Begin(game)) {
    while (playback.Step(game)) {
    }
  }
  const Replay& replay = playback.replay();
  out << "mode: " << Mode(replay) << "\n"
      << "start level: " << replay.start.level << "\n"
      << "final score: " << game.Score << "\n"
      << "passes: " << playback.Pass() << "\n";
  const int64_t differs = playback.FirstDifference();
  if (differs < 0 && !playback.Finished()) {
    err << name << ": the game stopped after pass " << playback.Pass() << " of " << replay.passes
        << "\n";
    return 1;
  }
  if (differs >= 0) {
    err << Difference(name, differs) << "\n";
    return 1;
  }
  out << "every digest matched\n";
  return 0;
}

int WatchReplay(Game& game, ReplayPlayback& playback, Engine& keys, Platform& window,
                const std::string& name, std::ostream& out, std::ostream& err) {
  StartUp(game);
  const std::string title = "Swayfire replay: " + name;
  bool paused = false;
  bool playing = game.Running && playback.Begin(game);
  window.SetCaption(title);
  while (playing && game.Running) {
    if (keys.IsKeyHit(Key::Escape)) break;
    if (keys.IsKeyHit(Key::Space)) {
      paused = !paused;
      window.SetCaption(paused ? title + " (paused: Space plays on)" : title);
    }
    if (paused) {
      // The last frame stays on screen; the window keeps its pace and reads its keys.
      window.BeginPass();
      keys.EndFrame();
      continue;
    }
    const int passes = keys.IsKeyDown(kFastKey) ? kFastPasses : 1;
    for (int i = 0; i < passes && playing; ++i) {
      playback.ShowFrames(i == passes - 1);
      playing = playback.Step(game);
    }
    playback.ShowFrames(true);
  }

  int status = 0;
  std::string ending;
  if (playback.FirstDifference() >= 0) {
    err << "swayfire: " << Difference(name, playback.FirstDifference()) << "\n";
    ending = "differs from the recording after pass " + std::to_string(playback.FirstDifference());
    status = 1;
  } else if (playback.Finished()) {
    out << "swayfire: " << name << ": final score " << game.Score << " after " << playback.Pass()
        << " passes\n";
    ending = "final score " + std::to_string(game.Score);
  }
  if (!ending.empty() && game.Running) {
    window.SetCaption(title + ": " + ending + " (Escape leaves)");
    while (game.Running && !keys.IsKeyHit(Key::Escape)) {
      window.BeginPass();
      keys.EndFrame();
    }
  }
  game.Running = false;
  ShutDown(game);
  return status;
}
