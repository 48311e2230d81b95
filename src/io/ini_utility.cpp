#include "io/ini_utility.h"

#include <cmath>
#include <ctime>
#include <filesystem>
#include <iostream>

#include "io/atomic_file.h"
#include "io/paths.h"

struct IniUtility::KnownFile {
  // `document` is what the version `stamp` of the file says.
  bool current = false;
  FileStamp stamp;
  // What the file says, or said when it was last seen: a file that vanishes is written anew from
  // it.
  IniDocument document;
  bool seen = false;
  // The lines of it that cannot be understood, and the bytes as read, while there are such lines.
  std::string trouble;
  std::string bytes;
};

namespace {

std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "00000000-000000";
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", local);
  }
  return text;
}

}  // namespace

IniUtility::IniUtility(const Paths& paths, bool durable) : paths_(paths), durable_(durable) {}

IniUtility::~IniUtility() = default;

void IniUtility::Setup(int16_t) {}

IniUtility::KnownFile& IniUtility::Known(const std::string& path) {
  std::unique_ptr<KnownFile>& known = files_[path];
  if (!known) known = std::make_unique<KnownFile>();
  return *known;
}

FileRead IniUtility::Refresh(const std::string& path, KnownFile& known, std::string& error) {
  FileStamp now;
  if (known.current && StampOfFile(path, now) && now == known.stamp) return FileRead::Done;
  known.current = false;
  std::string bytes;
  const FileRead read = ReadWholeFile(path, bytes, error, &known.stamp);
  if (read != FileRead::Done) return read;
  const std::string text = DecodedIniText(bytes);
  known.trouble = IniTrouble(text);
  known.bytes = known.trouble.empty() ? std::string() : std::move(bytes);
  known.document = IniDocument(text);
  known.current = true;
  known.seen = true;
  return read;
}

void IniUtility::WarnOnce(const std::string& what, const std::string& message) {
  if (!warned_.insert(what).second) return;
  std::cerr << "swayfire: warning: " << message << "\n";
}

void IniUtility::ShowOnce(const std::string& kind, const std::string& title,
                          const std::string& message) {
  if (platform_ == nullptr || !shown_.insert(kind).second) return;
  platform_->ShowWarning(title, message);
}

std::string IniUtility::ReadIni(const std::string& section, const std::string& key,
                                const std::string& file, int16_t) {
  const std::string path = paths_.Resolve(file);
  KnownFile& known = Known(path);
  std::string error;
  const FileRead read = Refresh(path, known, error);
  if (read == FileRead::Failed) {
    WarnOnce("read " + path,
             "cannot read " + path + " (" + error + "); its values count as missing");
  }
  if (read != FileRead::Done) return "";
  if (!known.trouble.empty()) {
    WarnOnce("trouble " + path, path + " holds " + known.trouble + "; ignored");
  }
  return known.document.Get(section, key);
}

bool IniUtility::KeepUnreadable(const std::string& path, const KnownFile& known,
                                std::string& error) {
  const std::string copy = path + ".unreadable-" + TimeStamp();
  for (int attempt = 1; attempt <= 9; ++attempt) {
    const std::string name = attempt == 1 ? copy : copy + "-" + std::to_string(attempt);
    bool taken = false;
    if (WriteNewFile(name, known.bytes, error, taken)) {
      WarnOnce("copy " + path, path + " holds " + known.trouble +
                                   "; the file as it was is kept in " + name +
                                   " before the game writes over it");
      ShowOnce("copy", kFileRepairedTitle,
               "Part of " + path + " could not be understood:\n" + known.trouble +
                   ".\n\nThe game keeps the file as it was in\n" + name +
                   "\nand goes on with what it could read.");
      return true;
    }
    if (!taken) return false;
  }
  return false;
}

void IniUtility::Store(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file,
                       const std::function<bool(const std::string&)>* keep) {
  const std::string path = paths_.Resolve(file);
  const std::string what =
      "[" + section + "] " + key + " = \"" + IniExcerpt(value) + "\" to " + path;
  if (!IniNameCanBeStored(section, IniName::Section) || !IniNameCanBeStored(key, IniName::Key) ||
      !IniValueCanBeStored(value)) {
    WarnOnce("store " + path, "not saving " + what + ": the name or value cannot be stored");
    return;
  }
  // The temporary file goes beside the file, in a folder made for it if need be.
  std::error_code ec;
  const auto folder = FilePath(path).parent_path();
  if (!folder.empty() && !std::filesystem::exists(folder, ec)) {
    std::filesystem::create_directories(folder, ec);
  }
  // The game goes on with its scores in memory; say once what could not be saved, and show it
  // the first time in a run.
  auto couldNotSave = [&](const std::string& why) {
    WarnOnce("write " + path, "could not save " + what + " (" + why +
                                  "); scores of this run are kept in memory only");
    ShowOnce("save", kScoresNotSavedTitle,
             "Your scores cannot be saved to " + path + ":\n" + why +
                 ".\n\nThe game goes on and keeps the scores of this run until it ends; the file "
                 "keeps what it held. This is not said again in this run.");
  };
  std::string error;
  AtomicFileWriter writer(path, durable_);
  if (!writer.Begin(error)) {
    couldNotSave(error);
    return;
  }
  // Read while holding the turn: another copy of the game saving at the same moment cannot slip
  // a write in between and have its key lost.
  KnownFile& known = Known(path);
  const bool seenBefore = known.seen;
  const FileRead read = Refresh(path, known, error);
  if (read == FileRead::Failed) {
    // Writing the one key over a file we cannot read would lose everything else in it.
    couldNotSave("cannot read the file: " + error);
    return;
  }
  if (read == FileRead::Missing && seenBefore) {
    WarnOnce("gone " + path, path +
                                 " was gone; it is written anew with every value of it this "
                                 "run knows");
  }
  // A better value in the file stays; a file that vanished is still written anew.
  const bool better = keep != nullptr && (*keep)(known.document.Get(section, key));
  if (better && read == FileRead::Done) return;
  if (read == FileRead::Done && !known.trouble.empty() && !KeepUnreadable(path, known, error)) {
    couldNotSave("cannot keep a copy of its unreadable lines: " + error);
    return;
  }
  if (!better) known.document.Set(section, key, value);
  known.current = false;
  if (!writer.Commit(known.document.Text(), error)) {
    couldNotSave(error);
    return;
  }
  known.stamp = writer.Written();
  known.current = true;
  known.seen = true;
  known.trouble.clear();
  known.bytes.clear();
}

void IniUtility::WriteIni(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& file, int16_t) {
  Store(section, key, value, file, nullptr);
}

void IniUtility::WriteIniUnless(const std::string& section, const std::string& key,
                                const std::string& value, const std::string& file,
                                const std::function<bool(const std::string& stored)>& keep) {
  Store(section, key, value, file, &keep);
}

float IniUtility::Distance(float x1, float y1, float x2, float y2) {
  float dx = x2 - x1;
  float dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}
