// An Engine and a Platform that pass every call on to another one (the replay layer's, which
// benchmarks share). Benchmarks derive from them to look at, or change, the one or two calls they
// care about while the real backend does the rest.
#pragma once

#include "replay/forwarding.h"
