#include "engine/sdl/sdl_gamepad.h"

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"

namespace {

// SDL names the face buttons after one maker's labels, which sit at fixed positions: X west,
// B east, Y north, A south (button labels are switched off, so other makers' pads agree).
constexpr PadButtons kButtons = {SDL_CONTROLLER_BUTTON_DPAD_UP,   SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                 SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
                                 SDL_CONTROLLER_BUTTON_X,         SDL_CONTROLLER_BUTTON_B,
                                 SDL_CONTROLLER_BUTTON_Y,         SDL_CONTROLLER_BUTTON_A,
                                 SDL_CONTROLLER_BUTTON_BACK};

// SDL numbers the sticks' axes in the order the game's pad layout takes them, triggers after.
static_assert(SDL_CONTROLLER_AXIS_LEFTX == 0 && SDL_CONTROLLER_AXIS_LEFTY == 1 &&
              SDL_CONTROLLER_AXIS_RIGHTX == 2 && SDL_CONTROLLER_AXIS_RIGHTY == 3);

}  // namespace

int16_t KeyForButton(int button) {
  return KeyForPadButton(kButtons, button);
}

AxisKeys KeysForAxis(int axis) {
  return KeysForStickAxis(axis);
}

int AxisDirection(int value, int before) {
  return StickDirection(value / 32767.0, before);
}

Gamepads::~Gamepads() {
  for (Pad& pad : pads_) SDL_GameControllerClose(pad.controller);
}

Gamepads::Pad* Gamepads::Find(SDL_JoystickID id) {
  auto found = std::find_if(pads_.begin(), pads_.end(), [id](const Pad& p) { return p.id == id; });
  return found == pads_.end() ? nullptr : &*found;
}

bool Gamepads::Handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
      if (controller == nullptr) {
        std::fprintf(stderr, "swayfire: warning: cannot use the gamepad just plugged in: %s\n",
                     SDL_GetError());
        return true;
      }
      const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
      if (Find(id) != nullptr) {
        SDL_GameControllerClose(controller);  // already open: SDL counts its users
        return true;
      }
      Pad pad;
      pad.controller = controller;
      pad.id = id;
      pads_.push_back(pad);
      return true;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
      auto gone = std::find_if(pads_.begin(), pads_.end(),
                               [&event](const Pad& p) { return p.id == event.cdevice.which; });
      if (gone != pads_.end()) {
        SDL_GameControllerClose(gone->controller);
        pads_.erase(gone);
        Update();  // what it held is let go
      }
      return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      Pad* pad = Find(event.cbutton.which);
      const int button = event.cbutton.button;
      if (pad == nullptr || button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) return true;
      const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
      if (button == SDL_CONTROLLER_BUTTON_START && down && !pad->buttons[button]) {
        keys_.PressShared(ScancodeForKey(Key::P), ScancodeForKey(Key::Enter));
      }
      pad->buttons[button] = down;
      Update();
      return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
      Pad* pad = Find(event.caxis.which);
      const int axis = event.caxis.axis;
      if (pad == nullptr || axis < 0 || axis >= SDL_CONTROLLER_AXIS_MAX) return true;
      pad->axes[axis] = AxisDirection(event.caxis.value, pad->axes[axis]);
      Update();
      return true;
    }
    default:
      return false;
  }
}

void Gamepads::ReleaseAll() {
  for (Pad& pad : pads_) {
    pad.buttons.fill(false);
    pad.axes.fill(0);
  }
  Update();
}

void Gamepads::Update() {
  for (const Pad& pad : pads_) {
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
      if (pad.buttons[button]) held_.Button(kButtons, button);
    }
    for (int axis = 0; axis < SDL_CONTROLLER_AXIS_MAX; ++axis) held_.Stick(axis, pad.axes[axis]);
  }
  held_.Apply([this](int16_t key, bool held) { keys_.SetPadHeld(ScancodeForKey(key), held); });
}
