#include "gameplay/gameplay.h"

// Not built yet.
void ProcessShots(Game&, bool, float, float, float, float, bool, int16_t) {}
