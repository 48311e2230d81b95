#include "replay/playback.h"

#include "replay/game_state.h"
#include "shell/shell.h"

ReplayPlayback::ReplayPlayback(Engine& engine, Utility& utility, Platform& platform, Replay replay,
                               bool startUpReads)
    : replay_(std::move(replay)),
      startUpReads_(startUpReads),
      engine_(engine, *this),
      utility_(utility, *this),
      platform_(platform, *this) {}

void ReplayPlayback::Differs(int64_t pass) {
  if (firstDifference_ < 0) firstDifference_ = pass;
}

bool ReplayPlayback::Begin(Game& game) {
  RestoreStart(replay_.start, game);
  playing_ = true;
  pass_ = 0;
  nextEvent_ = 0;
  held_.fill(false);
  if (StateDigest(game) != replay_.digests.front()) Differs(0);
  return firstDifference_ < 0;
}

bool ReplayPlayback::Step(Game& game) {
  if (!playing_ || Finished() || firstDifference_ >= 0 || !game.Running) return false;
  game.platform.BeginPass();
  RunPass(game);
  const uint64_t digest = StateDigest(game);
  bool differs = false;
  if (pass_ % kDigestInterval == 0) {
    differs = digest != replay_.digests[static_cast<size_t>(pass_ / kDigestInterval)];
  }
  if (Finished()) {
    differs = differs || digest != replay_.digests.back();
  } else if (game.GameMode != "game") {
    differs = true;  // the game ended before the recorded one did
  }
  if (differs) Differs(pass_);
  return firstDifference_ < 0 && !Finished();
}

void ReplayPlayback::LayerPlatform::BeginPass() {
  inner_.BeginPass();
  if (!p_.playing_) return;
  ++p_.pass_;
  p_.hits_.reset();
  p_.focusLost_ = false;
  const auto& events = p_.replay_.events;
  while (p_.nextEvent_ < events.size() && events[p_.nextEvent_].pass <= p_.pass_) {
    const ReplayEvent& event = events[p_.nextEvent_++];
    switch (event.kind) {
      case ReplayEvent::Kind::KeyDown:
      case ReplayEvent::Kind::KeyUp:
        p_.held_[static_cast<size_t>(event.key)] = event.kind == ReplayEvent::Kind::KeyDown;
        break;
      case ReplayEvent::Kind::KeyHit:
        p_.hits_.set(static_cast<size_t>(event.key));
        break;
      case ReplayEvent::Kind::FocusLost:
        p_.focusLost_ = true;
        break;
      case ReplayEvent::Kind::Clock:
        p_.clock_.Anchor(event.clock, event.pass);
        break;
    }
  }
}

double ReplayPlayback::LayerPlatform::TimeOfDay() {
  return p_.playing_ ? p_.clock_.At(p_.pass_) : inner_.TimeOfDay();
}

// Like the window's: true once, consumed when read. The watcher's own losses of the focus are
// taken from the window and dropped: they neither reach the replay nor wait in the window for
// whatever it shows next (in the page, the next game would start paused).
bool ReplayPlayback::LayerPlatform::LostFocus() {
  inner_.LostFocus();
  const bool lost = p_.playing_ && p_.focusLost_;
  p_.focusLost_ = false;
  return lost;
}

// The watcher's keys never reach the game.
bool ReplayPlayback::LayerEngine::IsKeyDown(int16_t scanCode) {
  return p_.playing_ && scanCode >= 1 && scanCode <= 255 && p_.held_[static_cast<size_t>(scanCode)];
}

bool ReplayPlayback::LayerEngine::IsKeyHit(int16_t scanCode) {
  if (!p_.playing_ || scanCode < 1 || scanCode > 255) return false;
  const bool hit = p_.hits_.test(static_cast<size_t>(scanCode));
  p_.hits_.reset(static_cast<size_t>(scanCode));
  return hit;
}

void ReplayPlayback::LayerEngine::EndFrame() {
  if (p_.showFrames_ || !p_.playing_) inner_.EndFrame();
}

// Nothing the game reads during the replay comes from a file; at start-up, only when asked.
std::string ReplayPlayback::LayerUtility::ReadIni(const std::string& section,
                                                  const std::string& key, const std::string& file,
                                                  int16_t a) {
  if (p_.playing_ || !p_.startUpReads_) return {};
  return inner_.ReadIni(section, key, file, a);
}
