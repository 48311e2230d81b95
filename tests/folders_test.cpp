// Where the game's files live: beside a portable game, or the installed data plus the player's own
// folder; and the game's file names resolved against them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "io/folders.h"
#include "io/ini_utility.h"
#include "io/paths.h"
#include "shell/shell.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// The disk as it is, except for the folders said to be read-only (tests run as root, who could
// write anywhere).
struct Layout {
  test::TempFolder root;
  std::set<std::string> readOnly;
  int userFolderAsked = 0;

  std::string Make(const std::string& relative) {
    fs::create_directories(root / relative);
    return (root / relative).lexically_normal().string();
  }
  FolderProbe Probe() {
    FolderProbe disk = FolderProbe::Disk();
    return FolderProbe{disk.isFolder, [this](const std::string& folder) {
                         return readOnly.count(fs::path(folder).lexically_normal().string()) == 0;
                       }};
  }
  FolderChoice Choose(const std::string& exe, const std::vector<std::string>& installed) {
    return ChooseFolders(
        exe, installed,
        [this] {
          ++userFolderAsked;
          return (root / "home/.local/share/swayfire").string();
        },
        Probe());
  }
};

TEST(FolderChoice, AWritableFolderWithFilesKeepsEverythingBesideTheExecutable) {
  Layout disk;
  const std::string exe = disk.Make("build");
  disk.Make("build/files");
  FolderChoice choice = disk.Choose(exe, {disk.Make("usr/share/swayfire")});
  ASSERT_EQ(choice.error, "");
  EXPECT_TRUE(choice.folders.portable);
  EXPECT_EQ(choice.folders.app, exe);
  EXPECT_EQ(choice.folders.data, exe);
  EXPECT_EQ(disk.userFolderAsked, 0);  // a portable game never looks at the home folder
}

TEST(FolderChoice, AnInstalledGameReadsShareAndKeepsThePlayersFilesAtHome) {
  Layout disk;
  const std::string exe = disk.Make("prefix/bin");
  disk.Make("prefix/share/swayfire/files");
  disk.readOnly = {(disk.root / "prefix/share/swayfire").string(),
                   (disk.root / "prefix/share/swayfire/files").string()};
  FolderChoice choice = disk.Choose(exe, InstalledDataFolders(exe));
  ASSERT_EQ(choice.error, "");
  EXPECT_FALSE(choice.folders.portable);
  EXPECT_EQ(choice.folders.data, (disk.root / "prefix/share/swayfire").string());
  EXPECT_EQ(choice.folders.app, (disk.root / "home/.local/share/swayfire").string());
  // A writable bin folder changes nothing: without files/ there is no portable game there.
  EXPECT_EQ(disk.readOnly.count(exe), 0u);
}

TEST(FolderChoice, AReadOnlyPortableCopyReadsItsOwnFilesAndWritesAtHome) {
  for (const char* readOnly : {"game", "game/files"}) {
    Layout disk;
    const std::string exe = disk.Make("game");
    disk.Make("game/files");
    disk.Make("prefix/share/swayfire/files");  // another installed copy is not used
    disk.readOnly = {(disk.root / readOnly).string()};
    FolderChoice choice = disk.Choose(exe, {(disk.root / "prefix/share/swayfire").string()});
    ASSERT_EQ(choice.error, "") << readOnly;
    EXPECT_FALSE(choice.folders.portable) << readOnly;
    EXPECT_EQ(choice.folders.data, exe) << readOnly;
    EXPECT_EQ(choice.folders.app, (disk.root / "home/.local/share/swayfire").string());
  }
}

TEST(FolderChoice, TheDataFolderIsSearchedInOrderAndMissingDataIsReported) {
  Layout disk;
  const std::string exe = disk.Make("opt/bin");
  const std::string first = disk.Make("opt/share/swayfire");  // no files/ inside: skipped
  const std::string second = disk.Make("usr/share/swayfire");
  disk.Make("usr/share/swayfire/files");
  FolderChoice choice = disk.Choose(exe, {first, second});
  ASSERT_EQ(choice.error, "");
  EXPECT_EQ(choice.folders.data, second);

  fs::remove_all(disk.root / "usr/share/swayfire/files");
  choice = disk.Choose(exe, {first, second});
  EXPECT_NE(choice.error.find("cannot find the game's files"), std::string::npos);
  for (const std::string& place : {exe, first, second}) {
    EXPECT_NE(choice.error.find(place), std::string::npos) << choice.error;
  }
}

TEST(FolderChoice, NoHomeFolderIsAClearError) {
  Layout disk;
  const std::string exe = disk.Make("prefix/bin");
  disk.Make("prefix/share/swayfire/files");
  FolderChoice choice = ChooseFolders(
      exe, InstalledDataFolders(exe), [] { return std::string(); }, disk.Probe());
  EXPECT_NE(choice.error.find("HOME"), std::string::npos) << choice.error;
}

TEST(FolderChoice, InstalledDataIsFoundRelativeToTheExecutableThenAtTheBuildPrefix) {
  std::vector<std::string> places = InstalledDataFolders("/some/prefix/bin");
  ASSERT_GE(places.size(), 1u);
  EXPECT_EQ(places[0], "/some/prefix/share/swayfire");
  // The second place is where `cmake --install` puts the data without --prefix.
  ASSERT_EQ(places.size(), 2u);
  EXPECT_EQ(fs::path(places[1]).filename(), "swayfire");
  EXPECT_TRUE(fs::path(places[1]).is_absolute());
}

TEST(UserFolder, FollowsXdgDataHomeThenHome) {
  std::map<std::string, const char*> env;
  auto getenv = [&env](const char* name) -> const char* {
    auto found = env.find(name);
    return found == env.end() ? nullptr : found->second;
  };
  env["HOME"] = "/home/pat";
  EXPECT_EQ(UserFolder(getenv), "/home/pat/.local/share/swayfire");
  env["XDG_DATA_HOME"] = "/data/pat/";
  EXPECT_EQ(UserFolder(getenv), "/data/pat/swayfire");
  env["XDG_DATA_HOME"] = "relative/data";  // not absolute: ignored, as XDG says
  EXPECT_EQ(UserFolder(getenv), "/home/pat/.local/share/swayfire");
  env["XDG_DATA_HOME"] = "";
  EXPECT_EQ(UserFolder(getenv), "/home/pat/.local/share/swayfire");
  env.erase("HOME");  // then the user database knows the home folder (root has one)
  const std::string fromDatabase = UserFolder(getenv);
  EXPECT_TRUE(fromDatabase.empty() || fromDatabase.ends_with("/.local/share/swayfire"))
      << fromDatabase;
}

TEST(UserFolderPreparation, TheFirstStartPutsTheDefaultOptionsThereAndNeverReplacesThem) {
  test::TempFolder root;
  Folders folders{(root / "home/.local/share/swayfire").string(), root.str(), false};
  EXPECT_EQ(PrepareUserFolder(folders), "");
  const fs::path options = root / "home/.local/share/swayfire/opt.ini";
  EXPECT_EQ(test::ReadFile(options), "[OPTIONS]\nFS=False\nSND=True\n");

  test::WriteFile(options, "[OPTIONS]\nFS=True\n");  // the player's own choice stays
  EXPECT_EQ(PrepareUserFolder(folders), "");
  EXPECT_EQ(test::ReadFile(options), "[OPTIONS]\nFS=True\n");

  // The defaults read as a window with sound on.
  fs::remove(options);
  ASSERT_EQ(PrepareUserFolder(folders), "");
  Paths paths(folders.app, folders.data);
  IniUtility ini(paths);
  EXPECT_EQ(ini.ReadIni("OPTIONS", "FS", folders.app + "\\opt.ini", 0), "False");
  EXPECT_EQ(ini.ReadIni("OPTIONS", "SND", "opt.ini", 0), "True");
}

// An options file linked into a synced folder: the defaults go through the link to the file it
// names when that is not there yet; the link stays, and an existing file stays the player's.
TEST(UserFolderPreparation, AnOptionsFileThatIsALinkStaysOne) {
  test::TempFolder root;
  Folders folders{(root / "user").string(), root.str(), false};
  fs::create_directories(root / "user");
  fs::create_directories(root / "synced");
  fs::create_symlink("../synced/opt.ini", root / "user/opt.ini");
  EXPECT_EQ(PrepareUserFolder(folders), "");
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(root / "user/opt.ini")));
  EXPECT_EQ(test::ReadFile(root / "synced/opt.ini"), "[OPTIONS]\nFS=False\nSND=True\n");

  test::WriteFile(root / "synced/opt.ini", "[OPTIONS]\nSND=False\n");
  EXPECT_EQ(PrepareUserFolder(folders), "");
  EXPECT_EQ(test::ReadFile(root / "synced/opt.ini"), "[OPTIONS]\nSND=False\n");
}

TEST(UserFolderPreparation, APortableGameIsLeftAloneAndABlockedFolderIsReported) {
  test::TempFolder root;
  EXPECT_EQ(PrepareUserFolder(Folders{root.str(), root.str(), true}), "");
  EXPECT_FALSE(fs::exists(root / "opt.ini"));

  // A file where the folder should be: nobody, root included, can make the folder.
  test::WriteFile(root / "blocked", "");
  Folders folders{(root / "blocked/swayfire").string(), root.str(), false};
  const std::string problem = PrepareUserFolder(folders);
  EXPECT_NE(problem.find("blocked/swayfire"), std::string::npos) << problem;
}

TEST(GameFileNames, PortableNamesAllResolveBesideTheExecutable) {
  Paths paths("/games/swayfire");
  EXPECT_EQ(paths.Resolve("opt.ini"), "/games/swayfire/opt.ini");
  EXPECT_EQ(paths.Resolve("/games/swayfire\\opt.ini"), "/games/swayfire/opt.ini");
  EXPECT_EQ(paths.Resolve("files\\bullet.dds"), "/games/swayfire/files/bullet.dds");
  EXPECT_EQ(paths.ResolveData("files\\logo.jpg"), "/games/swayfire/files/logo.jpg");
  EXPECT_EQ(paths.DataFolder(), "/games/swayfire");
}

TEST(GameFileNames, InstalledNamesSplitBetweenThePlayersFolderAndTheData) {
  const std::string home = "/home/pat/.local/share/swayfire";
  Paths paths(home, "/usr/share/swayfire");
  // The options file through both of the game's names, the score file and screenshots: home.
  EXPECT_EQ(paths.Resolve("opt.ini"), home + "/opt.ini");
  EXPECT_EQ(paths.Resolve(paths.AppFolder() + "\\opt.ini"), home + "/opt.ini");
  EXPECT_EQ(paths.Resolve("files\\bullet.dds"), home + "/files/bullet.dds");
  EXPECT_EQ(paths.Resolve("swayfire-20250101-120000-000.png"),
            home + "/swayfire-20250101-120000-000.png");
  // Pictures, sounds and music: the data folder.
  EXPECT_EQ(paths.ResolveData("files\\logo.jpg"), "/usr/share/swayfire/files/logo.jpg");
  EXPECT_EQ(paths.ResolveData("files\\music.wma"), "/usr/share/swayfire/files/music.wma");
  // Setting the application folder, as Initialize does, keeps the data where it is.
  paths.SetAppFolder("/elsewhere");
  EXPECT_EQ(paths.ResolveData("files\\logo.jpg"), "/usr/share/swayfire/files/logo.jpg");
  EXPECT_EQ(paths.Resolve("opt.ini"), "/elsewhere/opt.ini");
}

TEST(GameFileNames, ABackslashInTheFolderItselfIsKept) {
  Paths paths("/home/a\\b/.local/share/swayfire", "/usr/share/swayfire");
  EXPECT_EQ(paths.Resolve(paths.AppFolder() + "\\opt.ini"),
            "/home/a\\b/.local/share/swayfire/opt.ini");
  EXPECT_EQ(paths.Resolve("opt.ini"), "/home/a\\b/.local/share/swayfire/opt.ini");
}

// A whole run of an installed game: pictures, sounds and music come from the data folder, the
// options are found through both of their names, and the score file is written in the player's
// folder, nothing in the data folder.
TEST(GameFileNames, AWholeRunOfAnInstalledGameWritesOnlyInThePlayersFolder) {
  test::TempFolder root;
  const fs::path data = root / "share/swayfire";
  const fs::path home = root / "home";
  test::MakeAssetFiles(data);
  Folders folders{home.string(), data.string(), false};
  ASSERT_EQ(PrepareUserFolder(folders), "");
  test::WriteFile(home / "opt.ini", "[OPTIONS]\nFS=TRUE\nSND=True\n");
  const auto before = fs::last_write_time(data / "files");

  RecordingBackend backend(home.string());
  backend.SetDataFolder(data.string());
  backend.SetScript({}, 5);
  Game game(backend.engine(), backend.utility(), backend.musicPlayer(), backend.platform());
  ASSERT_EQ(Main(game), 0) << backend.platform().FatalMessage();

  EXPECT_TRUE(backend.SoundLoaded("fire2"));  // SND=True read through "opt.ini"
  bool fullScreen = false;
  for (const auto& init : CallsOf<call::Initialize>(backend.Calls())) fullScreen = init.fullScreen;
  EXPECT_TRUE(fullScreen);  // FS=TRUE read through the application folder's "\opt.ini"
  EXPECT_NE(test::ReadFile(home / "files/bullet.dds").find("M2-50=0"), std::string::npos);
  EXPECT_FALSE(fs::exists(data / "files/bullet.dds"));
  EXPECT_FALSE(fs::exists(data / "opt.ini"));
  EXPECT_EQ(fs::last_write_time(data / "files"), before);
}

}  // namespace
