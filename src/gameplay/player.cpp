#include "gameplay/gameplay.h"

// Not built yet.
void UpdatePlayer(Game&) {}
