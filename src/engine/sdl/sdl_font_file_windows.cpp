// The font on Windows: the game ships DejaVu Sans beside the executable and draws every face with
// it, so its text looks as on Linux (where fontconfig gives DejaVu Sans for the faces the game
// names) whatever fonts the system has.
#include <string>

#include "engine/sdl/sdl_text.h"
#include "io/paths.h"

std::string FindFontFile(const std::string& /*face*/, std::string* family) {
  if (family != nullptr) *family = "DejaVu Sans";
  return ExecutableFolder() + "/DejaVuSans.ttf";
}
