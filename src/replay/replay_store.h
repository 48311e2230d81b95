// Where replays are kept: replays/ in the player's files folder, beside the score file. The latest
// game is last.replay, however it ended; the game that set each current record is
// best-survival.replay or best-level-<N>.replay, replaced only when a record is saved. Each is
// written whole or not at all (the score file's atomic write). Nothing else accumulates.
#pragma once

#include <string>

#include "replay/replay_file.h"

// The file of a record's replay for its score-file key ("M1", "M2-7"); "" for any other key.
std::string RecordReplayName(const std::string& recordKey);

class ReplayStore {
 public:
  // The folder of the score file ("<application folder>/files").
  explicit ReplayStore(std::string filesFolder) : folder_(std::move(filesFolder) + "/replays") {}
  const std::string& Folder() const { return folder_; }

  // Keeps the game as last.replay and, when it saved a record, as that record's replay. What
  // could not be written is told on standard error; the game goes on.
  void Keep(const Replay& replay, const std::string& recordKey) const;

 private:
  bool Write(const std::string& name, const std::string& text) const;

  std::string folder_;
};
