// Replacing a file as a whole: the new contents go to a temporary file beside it (the file's name
// with ".tmp"), flushed to disk, then renamed over the old one, so a crash or power cut leaves
// either the old or the new file, never half of one.
//
// Writers take turns: each holds a lock on the temporary file from the moment it begins (before
// it reads what it is about to change) until its new file is in place. Two copies of the game
// saving scores at the same moment therefore neither mix their writes nor lose one another's keys.
//
// A file reached through a symbolic link (a score file linked into a synced folder) is replaced
// where the link points: the temporary file goes beside that file, so the link stays a link and
// writers through the link and through the file's own name take turns on the same lock. The new
// file keeps the old one's permission bits.
#pragma once

#include <string>

// The name a file is reached by once symbolic links are followed (the last one may point to a
// file that is not there yet); the name itself when it is no link. False, with `error` set, when
// the links cannot be followed (a loop of links).
bool FollowLinks(const std::string& name, std::string& path, std::string& error);

class AtomicFileWriter {
 public:
  // With durable unset the flush to disk is skipped: the rename still keeps each write whole if
  // the process dies, but not across a power cut (the headless runner and tests use that).
  explicit AtomicFileWriter(std::string path, bool durable = true);
  ~AtomicFileWriter();  // a write begun and not committed leaves no temporary file
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Waits for any other writer of the file to finish, then holds the turn. False, with `error`
  // set, when the temporary file cannot be made (an unwritable folder, say).
  bool Begin(std::string& error);
  // Puts the contents in place of the file and ends the turn. False, with `error` set, and the
  // old file untouched, when it could not.
  bool Commit(const std::string& contents, std::string& error);

 private:
  void Abandon();

  std::string path_;  // with links followed
  std::string temp_;
  std::string linkError_;
  bool durable_;
  int fd_ = -1;
};

// Begin and Commit in one: replaces the file with the contents. False, with `error` set, when it
// could not (the old file is then untouched).
bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& error,
                         bool durable = true);
