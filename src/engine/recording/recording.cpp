#include "engine/recording/recording.h"
#include "io/paths.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "engine/common/data_files.h"

namespace {

constexpr double kFrameMilliseconds = 1000.0 / 60.0;
constexpr double kMessageMilliseconds = 1.0;
constexpr int32_t kUnknownTrackLength = 30000;

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(FilePath(path), ec);
}

// Length in milliseconds of a PCM WAV file, from its header; 0 when it is not one.
int32_t WavLength(const std::string& path) {
  std::ifstream in(FilePath(path), std::ios::binary);
  char riff[12];
  if (!in.read(riff, 12) || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4)) {
    return 0;
  }
  uint32_t byteRate = 0;
  while (in) {
    char id[4];
    uint32_t size = 0;
    if (!in.read(id, 4) || !in.read(reinterpret_cast<char*>(&size), 4)) break;
    if (std::memcmp(id, "fmt ", 4) == 0 && size >= 16) {
      char fmt[16];
      in.read(fmt, 16);
      std::memcpy(&byteRate, fmt + 8, 4);
      in.seekg(size - 16 + (size & 1), std::ios::cur);
    } else if (std::memcmp(id, "data", 4) == 0) {
      if (byteRate == 0) return 0;
      return static_cast<int32_t>(static_cast<double>(size) * 1000.0 / byteRate);
    } else {
      in.seekg(size + (size & 1), std::ios::cur);
    }
  }
  return 0;
}

// Length in milliseconds of an Ogg Vorbis file: the sample rate from its first page, the number of
// samples from the granule position of its last page; 0 when it is not one.
int32_t OggVorbisLength(const std::string& path) {
  std::ifstream in(FilePath(path), std::ios::binary);
  std::vector<char> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  auto u8 = [&](size_t at) { return static_cast<uint8_t>(data[at]); };
  auto le = [&](size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | u8(at + size_t(i));
    return v;
  };
  if (data.size() < 28 || std::memcmp(data.data(), "OggS", 4) != 0) return 0;
  const size_t packet = 27 + u8(26);  // after the segment table
  if (data.size() < packet + 16 || u8(packet) != 1 ||
      std::memcmp(data.data() + packet + 1, "vorbis", 6) != 0) {
    return 0;
  }
  const uint64_t rate = le(packet + 12, 4);
  if (rate == 0) return 0;
  for (size_t at = data.size() - 27 + 1; at-- > 0;) {
    if (std::memcmp(data.data() + at, "OggS", 4) != 0) continue;
    const uint64_t samples = le(at + 6, 8);
    if (samples == ~uint64_t{0}) return 0;  // no page ends a packet: a broken file
    return static_cast<int32_t>(std::min(static_cast<double>(samples) * 1000.0 / rate, 2.0e9));
  }
  return 0;
}

}  // namespace

uint32_t VirtualClock::Ticks() const {
  return static_cast<uint32_t>(static_cast<uint64_t>(std::floor(elapsed_)) & 0xFFFFFFFFu);
}

double VirtualClock::TimeOfDay() const {
  return std::fmod(start_ + elapsed_ / 1000.0, 86400.0);
}

// --- Backend -------------------------------------------------------------------------------------

RecordingBackend::RecordingBackend(Options options)
    : paths_(options.appFolder),
      clock_(options.startTimeOfDay),
      engine_(*this),
      utility_(*this),
      music_(*this),
      platform_(*this) {
  trace_.SetKeepCalls(options.keepTrace);
  utility_.files_.TellPlayerThrough(platform_);
}

void RecordingBackend::SetScript(std::vector<ScriptEvent> events, int64_t passes) {
  script_ = std::move(events);
  if (passes > 0) script_.push_back({passes, ScriptEvent::Kind::Close, 0});
  std::stable_sort(script_.begin(), script_.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.pass < b.pass; });
  nextEvent_ = 0;
  // Events of pass 0 happen during start-up.
  while (nextEvent_ < script_.size() && script_[nextEvent_].pass <= 0) {
    ApplyEvent(script_[nextEvent_++]);
  }
}

void RecordingBackend::StartPass() {
  ++pass_;
  trace_.BeginPass(pass_);
  // A press is readable during its own pass only; a tap also ends with its pass; so is a loss of
  // the focus.
  keys_.BeginPump();
  focusLost_ = false;
  for (uint8_t key : tapped_) keys_.Release(key);
  tapped_.clear();
  while (nextEvent_ < script_.size() && script_[nextEvent_].pass <= pass_) {
    ApplyEvent(script_[nextEvent_++]);
  }
}

void RecordingBackend::ApplyEvent(const ScriptEvent& event) {
  switch (event.kind) {
    case ScriptEvent::Kind::Down:
      PressKey(event.scanCode);
      break;
    case ScriptEvent::Kind::Up:
      ReleaseKey(event.scanCode);
      break;
    case ScriptEvent::Kind::Tap:
      TapKey(event.scanCode);
      break;
    case ScriptEvent::Kind::Close:
      closePending_ = true;
      break;
    case ScriptEvent::Kind::Blur:
      LoseFocus();
      break;
  }
}

void RecordingBackend::PressKey(int16_t scanCode) {
  keys_.Press(scanCode & 255, /*repeat=*/false);
}

void RecordingBackend::ReleaseKey(int16_t scanCode) {
  keys_.Release(scanCode & 255);
  std::erase(tapped_, static_cast<uint8_t>(scanCode & 255));
}

void RecordingBackend::TapKey(int16_t scanCode) {
  PressKey(scanCode);
  tapped_.push_back(static_cast<uint8_t>(scanCode & 255));
}

void RecordingBackend::ReleaseAllKeys() {
  keys_.ReleaseAll();
  keys_.BeginPump();  // no press is left to read either
  tapped_.clear();
}

void RecordingBackend::LoseFocus() {
  // As the real window: every held key is let go; presses already made still count.
  keys_.ReleaseAll();
  tapped_.clear();
  focusLost_ = true;
}

void RecordingBackend::ProcessMessages() {
  if (closePending_) {
    closePending_ = false;
    platform_.RequestClose();
  }
}

std::string RecordingBackend::RequireFile(const std::string& what, const std::string& file) const {
  std::string path = paths_.ResolveData(file);
  if (!FileExists(path)) throw EngineError("cannot load " + what + " " + path + ": no such file");
  return path;
}

bool RecordingBackend::SoundLoaded(const std::string& name) const {
  return std::find(sounds_.begin(), sounds_.end(), name) != sounds_.end();
}

// --- Engine --------------------------------------------------------------------------------------

void RecordingEngine::Initialize(WindowHandle, const std::string& appFolder, float width,
                                 float height, bool fullScreen, int16_t a, int16_t b, int16_t c) {
  b_.Record(
      [&] { return call::Initialize{"frmMain", appFolder, width, height, fullScreen, a, b, c}; });
}

bool RecordingEngine::IsKeyDown(int16_t scanCode) {
  const bool down = b_.keys_.IsDown(scanCode & 255);
  b_.Record([&] { return call::IsKeyDown{scanCode, down}; });
  return down;
}

bool RecordingEngine::IsKeyHit(int16_t scanCode) {
  const bool result = b_.keys_.TakeHit(scanCode & 255);  // consumed when read
  b_.Record([&] { return call::IsKeyHit{scanCode, result}; });
  return result;
}

void RecordingEngine::LoadSound(const std::string& name, const std::string& file) {
  b_.Record([&] { return call::LoadSound{name, file}; });
  b_.RequireFile("sound", file);
  b_.sounds_.push_back(name);
}

void RecordingEngine::PlaySound(const std::string& name, int16_t a, int16_t volume, int16_t c,
                                int16_t d) {
  b_.Record([&] { return call::PlaySound{name, a, volume, c, d}; });
}

void RecordingEngine::LoadTexture(Texture& texture, const std::string& file, int32_t colorKey) {
  b_.Record([&] { return call::LoadTexture{file, colorKey}; });
  b_.RequireFile("picture", file);
  texture = std::make_shared<TextureData>(file);
}

void RecordingEngine::DrawSprite(const Texture& texture, float x, float y, float width,
                                 float height, float angle, int16_t opacity, float a, float b,
                                 float drawnWidth, float drawnHeight, float c, float d) {
  b_.Record([&] {
    return call::DrawSprite{texture, x, y,          width,       height, angle, opacity,
                            a,       b, drawnWidth, drawnHeight, c,      d};
  });
}

void RecordingEngine::DrawBitmapText(const Texture& fontTexture, const std::string& text, float x,
                                     float y, float scale, float angle, int16_t opacity, float red,
                                     float green, float blue) {
  b_.Record([&] {
    return call::DrawBitmapText{fontTexture, text, x, y, scale, angle, opacity, red, green, blue};
  });
}

void RecordingEngine::BeginFrame(int16_t a, int16_t b, int16_t c) {
  b_.Record([&] { return call::BeginFrame{a, b, c}; });
}

void RecordingEngine::SetColor(int16_t red, int16_t green, int16_t blue) {
  b_.Record([&] { return call::SetColor{red, green, blue}; });
}

void RecordingEngine::TakeScreenshot() {
  b_.Record([] { return call::TakeScreenshot{}; });
  ++b_.screenshots_;
}

void RecordingEngine::EndFrame() {
  b_.Record([] { return call::EndFrame{}; });
  b_.clock_.Advance(kFrameMilliseconds);
  b_.ProcessMessages();
}

void RecordingEngine::CreateFont(const std::string& name, const std::string& face, int16_t size,
                                 int16_t a, int16_t b) {
  b_.Record([&] { return call::CreateFont{name, face, size, a, b}; });
}

void RecordingEngine::DrawText(const std::string& font, float x, float y, float width, float height,
                               const std::string& text, int32_t color, int16_t alignment) {
  b_.Record([&] { return call::DrawText{font, x, y, width, height, text, color, alignment}; });
}

void RecordingEngine::Shutdown() {
  b_.Record([] { return call::Shutdown{}; });
}

// --- Utility -------------------------------------------------------------------------------------

RecordingUtility::RecordingUtility(RecordingBackend& backend)
    : b_(backend), files_(backend.paths_, /*durable=*/false) {}

void RecordingUtility::Setup(int16_t value) {
  b_.Record([&] { return call::Setup{value}; });
}

std::string RecordingUtility::ReadIni(const std::string& section, const std::string& key,
                                      const std::string& file, int16_t a) {
  std::string value = files_.ReadIni(section, key, file, a);
  b_.Record([&] { return call::ReadIni{section, key, file, a, value}; });
  return value;
}

void RecordingUtility::WriteIni(const std::string& section, const std::string& key,
                                const std::string& value, const std::string& file, int16_t a) {
  b_.Record([&] { return call::WriteIni{section, key, value, file, a}; });
  files_.WriteIni(section, key, value, file, a);
}

void RecordingUtility::WriteIniUnless(const std::string& section, const std::string& key,
                                      const std::string& value, const std::string& file,
                                      const std::function<bool(const std::string&)>& keep) {
  b_.Record([&] { return call::WriteIni{section, key, value, file, 0}; });
  files_.WriteIniUnless(section, key, value, file, keep);
}

float RecordingUtility::Distance(float x1, float y1, float x2, float y2) {
  float distance = files_.Distance(x1, y1, x2, y2);
  b_.Record([&] { return call::Distance{x1, y1, x2, y2, distance}; });
  return distance;
}

// --- Music ---------------------------------------------------------------------------------------

void RecordingMusicPlayer::Load(const std::string& file, int16_t a) {
  b_.Record([&] { return call::MusicLoad{file, a}; });
  // Found as the desktop finds it; the length read from the file, not decoded.
  LoadMusicTrack(b_.paths_.ResolveData(file), kDesktopTrackExtensions,
                 [this](const std::string& found, std::string&) {
                   const int32_t length =
                       LowerExtension(found) == ".ogg" ? OggVorbisLength(found) : WavLength(found);
                   length_ = length > 0 ? length : kUnknownTrackLength;
                   return true;
                 });
  loaded_ = true;
  playing_ = false;
}

int32_t RecordingMusicPlayer::Position() const {
  if (!loaded_ || !playing_) return 0;
  double position = b_.clock_.Elapsed() - startedAt_;
  return position >= length_ ? length_ : static_cast<int32_t>(position);
}

int32_t RecordingMusicPlayer::GetPosition() {
  int32_t position = Position();
  b_.Record([&] { return call::MusicGetPosition{position}; });
  return position;
}

int32_t RecordingMusicPlayer::GetLength() {
  int32_t length = loaded_ ? length_ : 0;
  b_.Record([&] { return call::MusicGetLength{length}; });
  return length;
}

void RecordingMusicPlayer::SetVolume(int16_t volume) {
  b_.Record([&] { return call::MusicSetVolume{volume}; });
}

void RecordingMusicPlayer::Play(int16_t a) {
  b_.Record([&] { return call::MusicPlay{a}; });
  if (!loaded_) return;
  playing_ = true;
  startedAt_ = b_.clock_.Elapsed();
}

// --- Platform ------------------------------------------------------------------------------------

void RecordingPlatform::SetCloseHandler(std::function<void(int16_t&)> handler) {
  close_.SetHandler(std::move(handler));
}

void RecordingPlatform::RequestClose() {
  close_.Request();
}

void RecordingPlatform::UnloadWindow() {
  RequestClose();
}

uint32_t RecordingPlatform::GetTickCount() {
  return b_.clock_.Ticks();
}

double RecordingPlatform::TimeOfDay() {
  return b_.clock_.TimeOfDay();
}

void RecordingPlatform::DoEvents() {
  b_.clock_.Advance(kMessageMilliseconds);
  b_.ProcessMessages();
}

void RecordingPlatform::Sleep(uint32_t milliseconds) {
  b_.clock_.Advance(milliseconds);
}

void RecordingPlatform::ReportFatal(const std::string& message) {
  fatal_ = message;
  std::cerr << "swayfire-headless: error: " << message << "\n";
}

void RecordingPlatform::BeginPass() {
  b_.StartPass();
}

bool RecordingPlatform::LostFocus() {
  const bool lost = b_.focusLost_;
  b_.focusLost_ = false;
  return lost;
}

std::string RecordingPlatform::AppFolder() {
  return b_.paths_.AppFolder();
}
