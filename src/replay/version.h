// The game's version as a replay names it, "major.minor": a replay plays only on the version
// whose rules recorded it.
#pragma once

#include <string>

std::string ReplayGameVersion();
