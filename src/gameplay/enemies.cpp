#include "gameplay/gameplay.h"

// Not built yet.
void UpdateEnemies(Game&) {}
