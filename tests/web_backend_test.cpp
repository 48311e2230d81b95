// The parts of the browser backend that need no browser: the keys and gamepads
// as the page reports them, and the WAV reader. (The backend itself runs in the browser test.)
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "engine/engine.h"
#include "engine/sdl/sdl_keys.h"
#include "engine/web/wav.h"
#include "engine/web/web_input.h"
#include "engine/web/web_keys.h"

TEST(WebKeys, BrowserKeyPositionsAreTheGameScanCodes) {
  const std::map<std::string, int16_t> gameKeys = {{"Escape", Key::Escape},
                                                   {"Enter", Key::Enter},
                                                   {"NumpadEnter", Key::Enter},
                                                   {"Space", Key::Space},
                                                   {"KeyA", Key::A},
                                                   {"KeyS", Key::S},
                                                   {"KeyD", Key::D},
                                                   {"KeyW", Key::W},
                                                   {"KeyP", Key::P},
                                                   {"KeyT", Key::T},
                                                   {"KeyH", Key::H},
                                                   {"KeyE", Key::E},
                                                   {"KeyR", Key::R},
                                                   {"ArrowUp", Key::Up},
                                                   {"ArrowDown", Key::Down},
                                                   {"ArrowLeft", Key::Left},
                                                   {"ArrowRight", Key::Right},
                                                   {"Digit1", 2},
                                                   {"Digit0", 11},
                                                   {"KeyZ", 44},
                                                   {"KeyM", 50},
                                                   {"F1", 59},
                                                   {"F10", 68},
                                                   {"F11", 87},
                                                   {"Home", 199},
                                                   {"Delete", 211}};
  for (const auto& [code, key] : gameKeys) EXPECT_EQ(ScanCodeForCode(code), key) << code;
  for (const char* nothing : {"", "keya", "Lang1", "Fn", "KeyA "}) {
    EXPECT_EQ(ScanCodeForCode(nothing), 0) << nothing;
  }
}

TEST(WebKeys, EveryKeyOfTheDesktopCanBePressedInTheBrowser) {
  // The browser's names of every key position the page may report.
  const char* const codes[] = {"Escape",
                               "Digit1",
                               "Digit2",
                               "Digit3",
                               "Digit4",
                               "Digit5",
                               "Digit6",
                               "Digit7",
                               "Digit8",
                               "Digit9",
                               "Digit0",
                               "Minus",
                               "Equal",
                               "Backspace",
                               "Tab",
                               "KeyQ",
                               "KeyW",
                               "KeyE",
                               "KeyR",
                               "KeyT",
                               "KeyY",
                               "KeyU",
                               "KeyI",
                               "KeyO",
                               "KeyP",
                               "BracketLeft",
                               "BracketRight",
                               "Enter",
                               "ControlLeft",
                               "KeyA",
                               "KeyS",
                               "KeyD",
                               "KeyF",
                               "KeyG",
                               "KeyH",
                               "KeyJ",
                               "KeyK",
                               "KeyL",
                               "Semicolon",
                               "Quote",
                               "Backquote",
                               "ShiftLeft",
                               "Backslash",
                               "KeyZ",
                               "KeyX",
                               "KeyC",
                               "KeyV",
                               "KeyB",
                               "KeyN",
                               "KeyM",
                               "Comma",
                               "Period",
                               "Slash",
                               "ShiftRight",
                               "NumpadMultiply",
                               "AltLeft",
                               "Space",
                               "CapsLock",
                               "F1",
                               "F2",
                               "F3",
                               "F4",
                               "F5",
                               "F6",
                               "F7",
                               "F8",
                               "F9",
                               "F10",
                               "NumLock",
                               "ScrollLock",
                               "Numpad7",
                               "Numpad8",
                               "Numpad9",
                               "NumpadSubtract",
                               "Numpad4",
                               "Numpad5",
                               "Numpad6",
                               "NumpadAdd",
                               "Numpad1",
                               "Numpad2",
                               "Numpad3",
                               "Numpad0",
                               "NumpadDecimal",
                               "IntlBackslash",
                               "F11",
                               "F12",
                               "ControlRight",
                               "NumpadDivide",
                               "PrintScreen",
                               "AltRight",
                               "Pause",
                               "Home",
                               "ArrowUp",
                               "PageUp",
                               "ArrowLeft",
                               "ArrowRight",
                               "End",
                               "ArrowDown",
                               "PageDown",
                               "Insert",
                               "Delete",
                               "MetaLeft",
                               "MetaRight",
                               "ContextMenu"};
  std::map<int16_t, std::string> reached;
  for (const char* code : codes) {
    const int16_t key = ScanCodeForCode(code);
    ASSERT_NE(key, 0) << code;
    EXPECT_TRUE(reached.emplace(key, code).second)
        << code << " and " << reached[key] << " are both game key " << key;
  }
  for (int key = 1; key < 256; ++key) {
    // The keypad's Enter is Enter itself in the browser.
    if (ScancodeForKey(static_cast<int16_t>(key)) == SDL_SCANCODE_UNKNOWN || key == 156) continue;
    EXPECT_TRUE(reached.count(static_cast<int16_t>(key))) << "no browser key for game key " << key;
  }
}

TEST(WebInput, KeysFromThePageCountOncePerPress) {
  WebInput input;
  input.Keys().BeginPump();
  input.ApplyEvents("d KeyP\nr KeyP\nd ArrowLeft");
  EXPECT_TRUE(input.Keys().IsDown(Key::P));
  EXPECT_TRUE(input.Keys().TakeHit(Key::P));
  EXPECT_FALSE(input.Keys().TakeHit(Key::P)) << "the repeat is no new press";
  EXPECT_TRUE(input.Keys().IsDown(Key::Left));

  // The next look at the events: the key still held, and no press unless it comes again.
  input.Keys().BeginPump();
  input.ApplyEvents("r KeyP\nu ArrowLeft\nd Lang1\nnonsense\nd");
  EXPECT_TRUE(input.Keys().IsDown(Key::P));
  EXPECT_FALSE(input.Keys().TakeHit(Key::P));
  EXPECT_FALSE(input.Keys().IsDown(Key::Left));
  EXPECT_FALSE(input.Keys().TakeHit(Key::Left)) << "the press of the last look was not read";

  // The page lost the focus: nothing stays held, and the game hears of it once.
  input.Keys().BeginPump();
  input.ApplyEvents("d KeyW\nf");
  EXPECT_FALSE(input.Keys().IsDown(Key::P));
  EXPECT_FALSE(input.Keys().IsDown(Key::W));
  EXPECT_TRUE(input.TakeFocusLoss());
  EXPECT_FALSE(input.TakeFocusLoss());
}

TEST(WebInput, GamepadsPressTheGameKeysAsOnTheDesktop) {
  WebInput input;
  PadReading pad;
  // One look at the page: its events (if any), then the pads as they are now.
  auto look = [&input](const std::vector<PadReading>& pads, const char* events = "") {
    input.Keys().BeginPump();
    if (*events != '\0') input.ApplyEvents(events);
    input.ApplyPads(pads);
  };
  pad.buttons[0] = true;   // south: fire down
  pad.buttons[15] = true;  // d-pad right
  pad.axes[2] = -0.9;      // right stick left: fire left
  look({pad});
  EXPECT_TRUE(input.Keys().IsDown(Key::S));
  EXPECT_TRUE(input.Keys().IsDown(Key::Right));
  EXPECT_TRUE(input.Keys().IsDown(Key::A));
  EXPECT_TRUE(input.Keys().TakeHit(Key::S));

  // A stick between the two marks keeps its direction; within the release mark it lets go.
  pad.axes[2] = -0.35;
  look({pad});
  EXPECT_TRUE(input.Keys().IsDown(Key::A));
  EXPECT_FALSE(input.Keys().TakeHit(Key::S)) << "still held is no new press";
  pad.axes[2] = -0.25;
  look({pad});
  EXPECT_FALSE(input.Keys().IsDown(Key::A));

  // Start is one press for whichever of P and Enter is asked first.
  pad.buttons[9] = true;
  look({pad});
  EXPECT_TRUE(input.Keys().TakeHit(Key::Enter));
  EXPECT_FALSE(input.Keys().TakeHit(Key::P));

  // After a focus loss a button still held counts only once let go and pressed again.
  look({pad}, "f");
  EXPECT_FALSE(input.Keys().IsDown(Key::S));
  pad.buttons[0] = false;
  look({pad});
  pad.buttons[0] = true;
  look({pad});
  EXPECT_TRUE(input.Keys().IsDown(Key::S));
  EXPECT_TRUE(input.Keys().TakeHit(Key::S));

  // A pad unplugged lets go of all it held.
  look({});
  EXPECT_FALSE(input.Keys().IsDown(Key::S));
  EXPECT_FALSE(input.Keys().IsDown(Key::Right));
}

namespace {

std::vector<uint8_t> Wav(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits,
                         const std::vector<uint8_t>& data, bool extraChunk = false) {
  std::vector<uint8_t> out;
  auto put32 = [&out](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto put16 = [&out](uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto tag = [&out](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
  };
  tag("RIFF");
  put32(0);
  tag("WAVE");
  if (extraChunk) {
    tag("LIST");
    put32(3);
    out.insert(out.end(), {1, 2, 3, 0});  // odd size: one byte of padding
  }
  tag("fmt ");
  put32(16);
  put16(format);
  put16(channels);
  put32(rate);
  put32(rate * channels * bits / 8);
  put16(static_cast<uint16_t>(channels * bits / 8));
  put16(bits);
  tag("data");
  put32(static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

}  // namespace

TEST(WebWav, ReadsTheGeneratorsSounds) {
  std::ifstream in(std::string(SWAYFIRE_BUILD_DIR) + "/files/fire.wav", std::ios::binary);
  ASSERT_TRUE(in) << "the build generates files/fire.wav";
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  PcmSound sound;
  std::string error;
  ASSERT_TRUE(DecodeWav(bytes.data(), bytes.size(), sound, error)) << error;
  EXPECT_GE(sound.rate, 8000);
  EXPECT_GT(sound.samples.size(), static_cast<size_t>(sound.rate / 100));
  bool audible = false;
  for (int16_t s : sound.samples) audible |= std::abs(s) > 1000;
  EXPECT_TRUE(audible);
}

TEST(WebWav, ReadsEightAndSixteenBitsAndSkipsOtherChunks) {
  PcmSound sound;
  std::string error;
  std::vector<uint8_t> wav = Wav(1, 2, 22050, 16, {0x00, 0x80, 0xFF, 0x7F, 0x01, 0x00}, true);
  ASSERT_TRUE(DecodeWav(wav.data(), wav.size(), sound, error)) << error;
  EXPECT_EQ(sound.channels, 2);
  EXPECT_EQ(sound.rate, 22050);
  // Whole frames only: the odd sample of a frame cut short is dropped.
  EXPECT_EQ(sound.samples, (std::vector<int16_t>{-32768, 32767}));

  wav = Wav(1, 1, 8000, 8, {0, 128, 255});
  ASSERT_TRUE(DecodeWav(wav.data(), wav.size(), sound, error)) << error;
  EXPECT_EQ(sound.samples, (std::vector<int16_t>{-32768, 0, 32512}));
}

TEST(WebWav, RefusesWhatItCannotPlayWithAReason) {
  PcmSound sound;
  std::string error;
  const std::vector<std::vector<uint8_t>> bad = {
      {},
      {'R', 'I', 'F', 'F'},
      Wav(3, 1, 44100, 32, {0, 0, 0, 0}),  // floating point
      Wav(1, 6, 44100, 16, {0, 0}),        // six channels
      Wav(1, 1, 0, 16, {0, 0}),            // no rate
  };
  for (const auto& wav : bad) {
    error.clear();
    EXPECT_FALSE(DecodeWav(wav.data(), wav.size(), sound, error));
    EXPECT_FALSE(error.empty());
  }
  // A file cut off in its sound data plays what it has.
  std::vector<uint8_t> cut = Wav(1, 1, 8000, 16, {1, 0, 2, 0, 3, 0, 4, 0});
  cut.resize(cut.size() - 3);
  ASSERT_TRUE(DecodeWav(cut.data(), cut.size(), sound, error)) << error;
  EXPECT_EQ(sound.samples, (std::vector<int16_t>{1, 2}));
}
