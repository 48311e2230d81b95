#include "gameplay/gameplay.h"

// Not built yet: the gameplay arrives in its own change.
void UpdatePlayer(Game&) {}
void ProcessShots(Game&, bool, float, float, float, float, bool, int16_t) {}
void UpdateEnemies(Game&) {}
void UpdateBonus(Game&) {}
