#include "gameplay/gameplay.h"

// Not built yet.
void UpdateBonus(Game&) {}
