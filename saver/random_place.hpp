#pragma once

#include "runtime/random.hpp"
#include "runtime/services.hpp"

namespace mofu {

// A random column and row of the screen, one fresh draw each, cut toward
// zero. The range is the twip size over 15, which is the pixel size here.
inline double RandomColumn() { return Fix(NextRandom() * (Screen::Width() / kTwipsPerPixel)); }
inline double RandomRow() { return Fix(NextRandom() * (Screen::Height() / kTwipsPerPixel)); }

}  // namespace mofu
