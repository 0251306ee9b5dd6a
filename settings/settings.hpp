#pragma once

#include <string_view>

#include "runtime/numeric.hpp"

namespace mofu {

// The eraser dots' pen width in pixels, and the sprite's delay multiplier.
extern Int16 BlkWidth;
extern Int16 SpeedLevel;

inline constexpr std::string_view kSettingsApp = "mofu";
inline constexpr std::string_view kSettingsSection = "setting";
inline constexpr std::string_view kBlkKey = "blk";
inline constexpr std::string_view kSpeedKey = "sspeed";

inline constexpr Int16 kBlkDefault = 40;
inline constexpr Int16 kBlkFallback = 40;
inline constexpr Int16 kSpeedDefault = 2;
inline constexpr Int16 kSpeedFallback = 1;

// The stored value, or the default when the key is absent. Raises a run-time
// error when the stored text is not a 16-bit number; callers pick the
// fall-back.
Int16 ReadSetting(std::string_view key, Int16 default_value);

// Stores the value as decimal text; raises a run-time error when the store
// cannot be written.
void WriteSetting(std::string_view key, Int16 value);

}  // namespace mofu
