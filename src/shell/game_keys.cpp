#include "shell/shell.h"

// Not built yet: pause, Escape, screenshot and health keys come with the gameplay.
void HandleGameKeys(Game&) {}
