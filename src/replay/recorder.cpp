#include "replay/recorder.h"

#include "core/score_file.h"
#include "replay/game_state.h"
#include "replay/version.h"

namespace {

bool Recordable(int16_t scanCode) {
  return scanCode >= 1 && scanCode <= 255;
}

}  // namespace

GameRecorder::GameRecorder(Engine& engine, Utility& utility, Platform& platform, Finished finished)
    : finished_(std::move(finished)),
      engine_(engine, *this),
      utility_(utility, *this),
      platform_(platform, *this) {}

void GameRecorder::Add(ReplayEvent::Kind kind, int16_t key, double clock) {
  replay_.events.push_back(ReplayEvent{pass_, kind, key, clock});
}

// A game is seen at the first pass that finds it running: NewGame ran in the menu's pass before.
void GameRecorder::Start() {
  replay_ = Replay{};
  replay_.gameVersion = ReplayGameVersion();
  replay_.start = CaptureStart(*game_);
  replay_.digests.push_back(StateDigest(*game_));
  held_.fill(false);
  clock_ = PassClock{};
  recordKey_.clear();
  pass_ = 0;
  recording_ = true;
}

void GameRecorder::EndOfPass() {
  if (pass_ > 0 && pass_ % kDigestInterval == 0 &&
      replay_.digests.size() < static_cast<size_t>(pass_ / kDigestInterval) + 1) {
    replay_.digests.push_back(StateDigest(*game_));
  }
}

void GameRecorder::Finish() {
  recording_ = false;
  if (pass_ == 0) return;
  replay_.passes = pass_;
  replay_.score = game_->Score;
  replay_.digests.push_back(StateDigest(*game_));
  if (finished_) finished_(replay_, recordKey_);
}

void GameRecorder::LayerPlatform::BeginPass() {
  inner_.BeginPass();
  if (r_.game_ == nullptr) return;
  if (r_.recording_) {
    r_.EndOfPass();
    if (r_.game_->GameMode != "game") r_.Finish();
  }
  if (!r_.recording_ && r_.game_->GameMode == "game") r_.Start();
  if (!r_.recording_) return;
  ++r_.pass_;
  const double wall = inner_.TimeOfDay();
  if (r_.clock_.Drifted(wall, r_.pass_)) {
    r_.clock_.Anchor(wall, r_.pass_);
    r_.Add(ReplayEvent::Kind::Clock, 0, wall);
  }
  r_.now_ = r_.clock_.At(r_.pass_);
}

double GameRecorder::LayerPlatform::TimeOfDay() {
  return r_.recording_ ? r_.now_ : inner_.TimeOfDay();
}

bool GameRecorder::LayerPlatform::LostFocus() {
  const bool lost = inner_.LostFocus();
  if (lost && r_.recording_) r_.Add(ReplayEvent::Kind::FocusLost);
  return lost;
}

bool GameRecorder::LayerEngine::IsKeyDown(int16_t scanCode) {
  const bool down = inner_.IsKeyDown(scanCode);
  if (r_.recording_ && Recordable(scanCode) && r_.held_[scanCode] != down) {
    r_.held_[scanCode] = down;
    r_.Add(down ? ReplayEvent::Kind::KeyDown : ReplayEvent::Kind::KeyUp, scanCode);
  }
  return down;
}

bool GameRecorder::LayerEngine::IsKeyHit(int16_t scanCode) {
  const bool hit = inner_.IsKeyHit(scanCode);
  if (hit && r_.recording_ && Recordable(scanCode)) r_.Add(ReplayEvent::Kind::KeyHit, scanCode);
  return hit;
}

// The window closed during a game: it ends here.
void GameRecorder::LayerEngine::Shutdown() {
  if (r_.recording_) {
    r_.EndOfPass();
    r_.Finish();
  }
  inner_.Shutdown();
}

// A record the game saves (the file may hold a better one from another copy of the game, which
// then stays): its replay is kept beside it.
void GameRecorder::LayerUtility::WriteIniUnless(
    const std::string& section, const std::string& key, const std::string& value,
    const std::string& file, const std::function<bool(const std::string& stored)>& keep) {
  if (!r_.recording_ || section != "SCORE" || file != kScoreFile) {
    inner_.WriteIniUnless(section, key, value, file, keep);
    return;
  }
  bool written = false;
  inner_.WriteIniUnless(section, key, value, file, [&](const std::string& stored) {
    const bool kept = keep(stored);
    written = !kept;
    return kept;
  });
  if (written) r_.recordKey_ = key;
}
