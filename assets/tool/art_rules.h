#pragma once

#include "pixel_map.h"

namespace mofu_art {

// The saver lays the cat out in a fixed box and the Windows resource expects a
// 32x32 icon, so pictures outside these bounds are refused at build time.
inline constexpr int kCatMinHeight = 32;
inline constexpr int kCatMaxHeight = 48;
inline constexpr int kCatMaxWidth = 64;
inline constexpr int kIconSize = 32;

void CheckCatPose(const PixelMap& pose);
// The saver swaps the two poses in place: a size change would make the cat
// jump, and identical poses would make it glide instead of walk.
void CheckWalkCycle(const PixelMap& first, const PixelMap& second);
void CheckIcon(const PixelMap& icon);

}  // namespace mofu_art
