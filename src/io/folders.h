// Where the game's files live.
//
// Portable: when the executable's folder holds files/ and both can be written, everything stays
// beside the executable (the build folder works this way, so `make run` does).
// Installed: otherwise the pictures, sounds and music are read from the data folder (files/
// beside the executable when it is only readable, else share/swayfire found from the executable,
// else the install prefix the game was built for), and the options file, the score file and
// screenshots live in the player's own folder, ~/.local/share/swayfire (XDG_DATA_HOME/swayfire).
#pragma once

#include <functional>
#include <string>
#include <vector>

struct Folders {
  std::string app;   // the player's files: opt.ini, files/bullet.dds, screenshots
  std::string data;  // the game's files: files/*.bmp, *.dds, *.jpg, *.wav
  bool portable = false;
};

// What the choice needs to know of the disk. Tests replace it: the test machine runs as root,
// who may write anywhere, so "cannot be written" has to be said rather than arranged.
struct FolderProbe {
  std::function<bool(const std::string& folder)> isFolder;
  // access() semantics: whether this process may create files in the folder.
  std::function<bool(const std::string& folder)> canWrite;
  static FolderProbe Disk();
};

struct FolderChoice {
  Folders folders;
  std::string error;  // not empty: no place was found for the game's files
};

// The places tried for the installed data, in order: share/swayfire relative to the executable's
// folder (as installed under any prefix), then the prefix the game was built for.
std::vector<std::string> InstalledDataFolders(const std::string& exeFolder);

// The player's own folder for the game: $XDG_DATA_HOME/swayfire when XDG_DATA_HOME is an absolute
// path, else $HOME/.local/share/swayfire (the home folder from the user database when HOME is
// not set); "" when there is no home at all. `getenv` is replaceable for tests.
std::string UserFolder(const std::function<const char*(const char*)>& getenv);

// Decides between the portable and the installed layout. userFolder is asked only when the
// player's files cannot stay beside the executable.
FolderChoice ChooseFolders(const std::string& exeFolder,
                           const std::vector<std::string>& installedData,
                           const std::function<std::string()>& userFolder,
                           const FolderProbe& probe);

// The options file put in the player's folder on first start: a window, sound on.
inline constexpr const char* kDefaultOptions = "[OPTIONS]\nFS=False\nSND=True\n";

// Makes the player's folder and puts the default options file there when there is none; never
// touches an existing one. Nothing to do for a portable game. Returns what went wrong, "" when
// all is well (the game then goes on: its reads find nothing, its writes say they failed).
std::string PrepareUserFolder(const Folders& folders);
