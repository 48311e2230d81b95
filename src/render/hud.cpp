#include "render/render.h"

// Not built yet.
void DrawHud(Game&) {}
void DrawPauseOverlay(Game&) {}
std::string BarString(int16_t n) { return n > 0 ? std::string(static_cast<size_t>(n), '|') : ""; }
