// File names as the game gives them ("files\logo.jpg", "opt.ini", or the application folder
// followed by "\opt.ini") and the host paths they stand for.
//
// Two folders: the application folder holds the player's own files (the options file, the score
// file, screenshots) and the data folder holds the game's pictures, sounds and music. A portable
// game keeps both beside the executable; an installed one reads its data from share/swayfire and
// keeps the player's files in the player's own folder (see folders.h).
#pragma once

#include <filesystem>
#include <string>

class Paths {
 public:
  Paths() = default;
  // One folder for everything: the data folder follows the application folder.
  explicit Paths(std::string appFolder) : appFolder_(std::move(appFolder)) {}
  // The player's files in appFolder, the game's own files read from dataFolder.
  Paths(std::string appFolder, std::string dataFolder)
      : appFolder_(std::move(appFolder)), dataFolder_(std::move(dataFolder)) {}

  const std::string& AppFolder() const { return appFolder_; }
  const std::string& DataFolder() const { return dataFolder_.empty() ? appFolder_ : dataFolder_; }
  void SetAppFolder(std::string folder) { appFolder_ = std::move(folder); }
  void SetDataFolder(std::string folder) { dataFolder_ = std::move(folder); }

  // A file of the player's (the options and score files, screenshots): backslashes become
  // slashes; a relative name is taken from the application folder.
  std::string Resolve(const std::string& name) const;
  // A file of the game's own (pictures, sounds, music): a relative name is taken from the data
  // folder.
  std::string ResolveData(const std::string& name) const;

 private:
  std::string appFolder_ = ".";
  std::string dataFolder_;  // empty: the application folder
};

// A file name the game holds (UTF-8 on every system) as the standard library's path. A plain
// std::string is read in the system's narrow code page on Windows, not as UTF-8.
std::filesystem::path FilePath(const std::string& name);
// The other way: a path as a UTF-8 file name.
std::string FileName(const std::filesystem::path& path);

// The folder that holds the running executable, without a trailing separator.
std::string ExecutableFolder();
// The running executable's file name without folder and extension.
std::string ExecutableName();
