// Utility on real files: INI reading and writing through SimpleIni, and the distance function.
#pragma once

#include <set>
#include <string>

#include "engine/engine.h"
#include "engine/engine_overrides.h"
#include "io/paths.h"

// Reads a value from INI text: section and key names are case-insensitive, CRLF and LF both read.
// Returns "" when the section or key is missing.
std::string IniLookup(const std::string& text, const std::string& section, const std::string& key);
// What can be stored so that it reads back the same: a section name that is not empty and has no
// "]"; a key that is not empty, has no "=" and does not start with "[", ";" or "#"; a value of any
// length, empty included. None of them may hold a line break (CR, LF) or a NUL, nor start or end
// with a blank (space or tab), which reading would drop.
enum class IniName { Section, Key };
bool IniNameCanBeStored(const std::string& name, IniName kind);
bool IniValueCanBeStored(const std::string& value);

// Returns the text with the value stored under section and key, keeping every other line's
// section and key (comments and unknown entries included). Names or a value that cannot be stored
// leave the text as it is: a line break in a value must never slip a line into the file.
std::string IniStore(const std::string& text, const std::string& section, const std::string& key,
                     const std::string& value);

class IniUtility : public Utility {
 public:
  explicit IniUtility(const Paths& paths, bool durable = true) : paths_(paths), durable_(durable) {}

  UTILITY_OVERRIDES;

  // A player who starts the game from the desktop never sees stderr: the first save that fails in
  // a run is also told through the platform (a message box), naming the file and the reason.
  void TellPlayerThrough(Platform& platform) { platform_ = &platform; }

 private:
  // Says on stderr what could not be done, once per run for each kind of trouble and file.
  void WarnOnce(const std::string& what, const std::string& message);

  const Paths& paths_;
  bool durable_;
  std::set<std::string> warned_;
  Platform* platform_ = nullptr;
  bool saveFailureShown_ = false;
};
