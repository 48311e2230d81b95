// The game's icon, drawn in code so that it is sharp at every size: the ship with its flame in a
// neon-edged square of night sky. The window shows it, and the build writes it into the desktop's
// icon theme at the usual sizes.
#pragma once

#include <cstdint>
#include <vector>

// size x size pixels, 4 bytes each (red, green, blue, alpha, not premultiplied), row by row from
// the top.
std::vector<uint8_t> DrawIcon(int size);
