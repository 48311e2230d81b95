// INI text as the game's files hold it, through SimpleIni: section and key names are
// case-insensitive, one value per key (a later duplicate wins), values are single lines, CR LF and
// LF both end a line (and so does a NUL). Text saved by Notepad reads as the text it holds: UTF-16
// of either byte order with its byte-order mark, and UTF-8 with any number of byte-order marks at
// the start of a line.
#pragma once

#include <memory>
#include <string>

// The file's bytes as UTF-8 text: UTF-16 (by its byte-order mark) converted, anything else as it
// is.
std::string DecodedIniText(const std::string& bytes);

// What in the text is not understood and is ignored: NUL bytes, and lines that are neither blank,
// a comment, a [section] nor key=value. "" when there is nothing to say.
std::string IniTrouble(const std::string& text);

// A short, printable excerpt of a text for a message.
std::string IniExcerpt(const std::string& text);

// What can be stored so that it reads back the same: a section name that is not empty and has no
// "]"; a key that is not empty, has no "=" and does not start with "[", ";", "#" or a byte-order
// mark; a value of any length, empty included. None of them may hold a line break (CR, LF) or a
// NUL, nor start or end with a blank (space or tab), which reading would drop.
enum class IniName { Section, Key };
bool IniNameCanBeStored(const std::string& name, IniName kind);
bool IniValueCanBeStored(const std::string& value);

// One file's text, read once; lookups and stores in it take no more than a look-up each, and its
// text is written out whole, in a time linear in its size.
class IniDocument {
 public:
  explicit IniDocument(const std::string& text = "");  // text as DecodedIniText gives it
  ~IniDocument();
  IniDocument(IniDocument&&) noexcept;
  IniDocument& operator=(IniDocument&&) noexcept;

  // "" when the section or key is missing.
  std::string Get(const std::string& section, const std::string& key) const;
  // False, with nothing changed, when the names or the value cannot be stored.
  bool Set(const std::string& section, const std::string& key, const std::string& value);
  // The text to write: every section and key, the comments before them, and the comment lines at
  // the end of the file, in their places.
  std::string Text() const;

 private:
  struct Parsed;
  std::unique_ptr<Parsed> parsed_;
};

// A value of the file's bytes; "" when the section or key is missing.
std::string IniLookup(const std::string& bytes, const std::string& section, const std::string& key);
// Returns the text with the value stored under section and key, keeping every other line's
// section and key (and the comments SimpleIni keeps). Names or a value that cannot be stored
// leave the text as it is: a line break in a value must never slip a line into the file.
std::string IniStore(const std::string& bytes, const std::string& section, const std::string& key,
                     const std::string& value);
