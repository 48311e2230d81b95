// Replacing a file as a whole: the new contents go to a temporary file of a name of its own beside
// it ("name.tmp-" and six letters, made only if nothing has that name, never through a link),
// flushed to disk, then renamed over the old one, so a crash or power cut leaves either the old or
// the new file, never half of one.
//
// Writers take turns: each holds a lock on "name.lock" from the moment it begins (before it reads
// what it is about to change) until its new file is in place. Two copies of the game saving scores
// at the same moment therefore neither mix their writes nor lose one another's keys. Holding the
// turn, a writer removes what killed writers left behind (their temporary files, never anything a
// link points to).
//
// A file reached through a symbolic link (a score file linked into a synced folder) is replaced
// where the link points: the temporary file and the lock go beside that file, so the link stays a
// link and writers through the link and through the file's own name take turns on the same lock.
// The new file keeps the old one's permission bits. Some files are not replaced at all, the save
// told as failed: a read-only file (the player meant it), and anything but a regular file (a
// folder, a pipe, a device).
#pragma once

#include <string>

#include "io/read_file.h"

// The name a file is reached by once symbolic links are followed (the last one may point to a
// file that is not there yet); the name itself when it is no link. False, with `error` set, when
// the links cannot be followed (a loop of links).
bool FollowLinks(const std::string& name, std::string& path, std::string& error);

// The lock file of a file, and whether a name in its folder is one of its temporary files.
std::string LockFileOf(const std::string& path);
bool IsTemporaryFileOf(const std::string& name, const std::string& fileName);

class AtomicFileWriter {
 public:
  // With durable unset the flush to disk is skipped: the rename still keeps each write whole if
  // the process dies, but not across a power cut (the headless runner and tests use that).
  explicit AtomicFileWriter(std::string path, bool durable = true);
  ~AtomicFileWriter();  // a write begun and not committed leaves no temporary file
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Waits for any other writer of the file to finish, then holds the turn. False, with `error`
  // set, when the file may not be replaced (see above) or the temporary file cannot be made (an
  // unwritable folder, say).
  bool Begin(std::string& error);
  // Puts the contents in place of the file and ends the turn. False, with `error` set, and the
  // old file untouched, when it could not.
  bool Commit(const std::string& contents, std::string& error);

  // The file written, with links followed, and after a Commit the stamp of its new version.
  const std::string& Path() const { return path_; }
  const FileStamp& Written() const { return written_; }

 private:
  void Abandon();  // gives up the temporary file and the turn
  bool TakeTurn(std::string& error);
  void RemoveLeftovers();

  std::string path_;  // with links followed
  std::string temp_;
  std::string linkError_;
  bool durable_;
  FileStamp written_;
  int lock_ = -1;
  int fd_ = -1;
};

// Begin and Commit in one: replaces the file with the contents. False, with `error` set, when it
// could not (the old file is then untouched).
bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& error,
                         bool durable = true);

// Makes a new file with the contents, only where nothing has the name (a link there is not
// followed). False, with `error` set, when it could not; `taken` says whether the name was taken.
bool WriteNewFile(const std::string& path, const std::string& contents, std::string& error,
                  bool& taken);
