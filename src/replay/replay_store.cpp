#include "replay/replay_store.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/rules.h"
#include "io/atomic_file.h"
#include "io/paths.h"

std::string RecordReplayName(const std::string& recordKey) {
  if (recordKey == "M1") return "best-survival.replay";
  const std::string prefix = "M2-";
  if (recordKey.rfind(prefix, 0) != 0) return {};
  int level = 0;
  const char* first = recordKey.data() + prefix.size();
  const char* last = recordKey.data() + recordKey.size();
  auto result = std::from_chars(first, last, level);
  if (result.ec != std::errc() || result.ptr != last || level < 1 || level > kMaxLevel) return {};
  return "best-level-" + std::to_string(level) + ".replay";
}

bool ReplayStore::Write(const std::string& name, const std::string& text) const {
  std::error_code ec;
  std::filesystem::create_directories(FilePath(folder_), ec);
  std::string error;
  if (ec) {
    error = ec.message();
  } else if (WriteFileAtomically(folder_ + "/" + name, text, error)) {
    return true;
  }
  std::fprintf(stderr, "swayfire: warning: cannot keep the replay %s/%s: %s\n", folder_.c_str(),
               name.c_str(), error.c_str());
  return false;
}

void ReplayStore::Keep(const Replay& replay, const std::string& recordKey) const {
  const std::string text = WriteReplay(replay);
  Write("last.replay", text);
  const std::string record = RecordReplayName(recordKey);
  if (!record.empty()) Write(record, text);
}
