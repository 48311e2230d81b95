#include "engine/sdl/sdl_platform.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>

#include "engine/common/local_time.h"
#include "io/paths.h"

#ifndef SWAYFIRE_VERSION_MAJOR
#error "SWAYFIRE_VERSION_MAJOR comes from the project version in CMakeLists.txt"
#endif

SdlSystem::SdlSystem() {
  // SDL turns SIGINT and SIGTERM into quit events unless told not to; make sure it does.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error_ = SDL_GetError();
    return;
  }
  EndPromptlyOnQuitSignals();
  // With no display SDL falls back to drivers that draw nowhere; the game would run unseen.
  // Those are for tests, which ask for them by name.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if ((asked == nullptr || *asked == '\0') &&
      (driver == "offscreen" || driver == "dummy" || driver == "evdev")) {
    error_ = "no display found (only the \"" + driver + "\" video driver started)";
    SDL_Quit();
    return;
  }
  if (TTF_Init() != 0) {
    error_ = std::string("cannot start the font renderer: ") + TTF_GetError();
    SDL_Quit();
    return;
  }
  ttf_ = true;
  IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);  // a missing decoder shows up when a picture needs it
  // Face buttons by their position, whatever their labels say (some makers swap A and B).
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  // Pads plugged in now and later arrive as events; without pads the keyboard is enough.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "swayfire: warning: gamepads cannot be used: %s\n", SDL_GetError());
  }
  ok_ = true;
}

SdlSystem::~SdlSystem() {
  if (!ok_) return;
  IMG_Quit();
  if (ttf_) TTF_Quit();
  SDL_Quit();
}

void SdlPlatform::SetCloseHandler(std::function<void(int16_t&)> handler) {
  window_.SetCloseHandler(std::move(handler));
}

uint32_t SdlPlatform::GetTickCount() {
  return SDL_GetTicks();
}

double SdlPlatform::TimeOfDay() {
  return ::TimeOfDay();
}

void SdlPlatform::Sleep(uint32_t milliseconds) {
  SDL_Delay(milliseconds);
}

namespace {

// A message box when there is a display to show it on. Scripts that run the game unattended set
// SWAYFIRE_NO_MESSAGEBOX, since the box waits for someone to press OK.
bool MessageBoxesWanted() {
  const char* quiet = std::getenv("SWAYFIRE_NO_MESSAGEBOX");
  return SDL_WasInit(SDL_INIT_VIDEO) != 0 && (quiet == nullptr || *quiet == '\0');
}

}  // namespace

void SdlPlatform::ReportFatal(const std::string& message) {
  std::fprintf(stderr, "swayfire: error: %s\n", message.c_str());
  if (MessageBoxesWanted()) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "swayfire", message.c_str(), window_.Get());
  }
}

void SdlPlatform::ShowWarning(const std::string& title, const std::string& text) {
  if (!MessageBoxesWanted()) return;
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(), text.c_str(),
                               window_.Get()) != 0) {
    return;  // no box could be shown: stderr has it
  }
  window_.MessageBoxClosed();
}

std::string SdlPlatform::ExeName() {
  return ExecutableName();
}

int SdlPlatform::VersionMajor() {
  return SWAYFIRE_VERSION_MAJOR;
}

int SdlPlatform::VersionMinor() {
  return SWAYFIRE_VERSION_MINOR;
}
