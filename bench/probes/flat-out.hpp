#pragma once

// The flat-out peer: the loop with its pace switched off, running as fast
// as it can, counted like the bench build.
#define MOFU_PROBE_FLAT_OUT
#include "counting.hpp"
