// What the backends do alike with the game's data files: read them whole, tell their kind by
// their extension, key out a colour in a picture, find a track under another extension.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Reads a whole file; false with a reason in `error` ("file not found", "not a file", or why it
// cannot be opened).
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// The extension of a file name in lower case, with its dot (".dds"); "" when it has none.
std::string LowerExtension(const std::string& path);

// Makes the pixels of the colour key (0xRRGGBB) fully transparent in RGBA rows `pitch` bytes
// apart.
void ApplyColorKey(uint8_t* rgba, int width, int height, size_t pitch, int32_t colorKey);

// The files to try for a music track: the name itself, then the same name with each of the
// extensions a backend decodes (a .wma asks for a .ogg beside it).
std::vector<std::string> MusicCandidates(const std::string& path,
                                         std::initializer_list<const char*> extensions);

// What the desktop's mixer decodes: a .wma asks for a .ogg, .flac, .mp3 or .wav beside it. The
// recording backend looks for the track as the desktop does.
inline constexpr std::initializer_list<const char*> kDesktopTrackExtensions = {".ogg", ".flac",
                                                                               ".mp3", ".wav"};

// Loads a music track from the first of its candidate files that exists and that `load` takes:
// `load(file, error)` is true once the track is ready, or false with the reason in `error`.
// Throws EngineError when no candidate exists, or when none could be played (naming each
// reason).
void LoadMusicTrack(const std::string& path, std::initializer_list<const char*> extensions,
                    const std::function<bool(const std::string& file, std::string& error)>& load);
