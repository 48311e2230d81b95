// Utility on real files: INI reading and writing (ini_text.h) with atomic writes, and the distance
// function.
//
// Each file is read once and read again only when it changes (another copy of the game, or the
// player's editor, wrote it), so start-up reads of a hundred keys cost one read. Every write reads
// the file afresh while it holds the writers' turn, so nothing another copy saved is lost; and when
// the file has vanished (its folder deleted while the game runs) it is written anew with every
// value this run knew of it, not just the one key.
//
// A file with lines the game cannot understand is kept as it was, beside it
// ("name.unreadable-YYYYMMDD-HHMMSS"), before it is first written over, and the player is told.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "engine/engine.h"
#include "engine/engine_overrides.h"
#include "io/ini_text.h"
#include "io/paths.h"
#include "io/read_file.h"

// The titles of what is told through the platform, for a backend that shows each its own way.
inline constexpr const char* kScoresNotSavedTitle = "Swayfire: scores not saved";
inline constexpr const char* kFileRepairedTitle = "Swayfire: a file was repaired";

class IniUtility : public Utility {
 public:
  explicit IniUtility(const Paths& paths, bool durable = true);
  ~IniUtility() override;

  UTILITY_OVERRIDES;

  // A player who starts the game from the desktop never sees stderr: the first save that fails in
  // a run is also told through the platform (a message box), naming the file and the reason; so
  // is the first copy kept of a file with unreadable lines.
  void TellPlayerThrough(Platform& platform) { platform_ = &platform; }

 private:
  struct KnownFile;

  KnownFile& Known(const std::string& path);
  // The file as it is now into its KnownFile, read again only when it changed since it was last
  // read or written.
  FileRead Refresh(const std::string& path, KnownFile& known, std::string& error);
  void Store(const std::string& section, const std::string& key, const std::string& value,
             const std::string& file, const std::function<bool(const std::string&)>* keep);
  // Keeps the bytes of a file with unreadable lines beside it; false with `error` set when the
  // copy could not be made.
  bool KeepUnreadable(const std::string& path, const KnownFile& known, std::string& error);
  // Says on stderr what could not be done, once per run for each kind of trouble and file.
  void WarnOnce(const std::string& what, const std::string& message);
  // Shows a message in the window, the first time of each kind in a run.
  void ShowOnce(const std::string& kind, const std::string& title, const std::string& message);

  const Paths& paths_;
  bool durable_;
  std::map<std::string, std::unique_ptr<KnownFile>> files_;
  std::set<std::string> warned_;
  std::set<std::string> shown_;
  Platform* platform_ = nullptr;
};
