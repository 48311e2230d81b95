// File names as the game gives them ("files\logo.jpg", "opt.ini", or the application folder
// followed by "\opt.ini") and the host paths they stand for.
#pragma once

#include <string>

class Paths {
 public:
  Paths() = default;
  explicit Paths(std::string appFolder) : appFolder_(std::move(appFolder)) {}

  const std::string& AppFolder() const { return appFolder_; }
  void SetAppFolder(std::string folder) { appFolder_ = std::move(folder); }

  // Backslashes become slashes; a relative name is taken from the application folder.
  std::string Resolve(const std::string& name) const;

 private:
  std::string appFolder_ = ".";
};

// The folder that holds the running executable, without a trailing separator.
std::string ExecutableFolder();
// The running executable's file name without folder and extension.
std::string ExecutableName();
