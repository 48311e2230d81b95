// The wall clock as the game sees it, on any backend: the time of day and screenshot names.
#pragma once

#include <string>

// Seconds since local midnight, with their fraction.
double TimeOfDay();

// A screenshot's file name from the local time, to the millisecond:
// "swayfire-20261208-145130-042.png".
std::string ScreenshotName();
