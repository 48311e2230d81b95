// Heap allocations counted across the benchmark program (allocations.cpp replaces operator new),
// for the figures "allocations per pass": a pass of the game or the menu should make none.
#pragma once

#include <cstddef>

// Allocations made so far by the whole program.
size_t AllocationsSoFar();
