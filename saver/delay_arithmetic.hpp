#pragma once

#include <cstdint>

namespace mofu {

// The sprite's pace delay, `count` iterations: each sets a double to 134112,
// divides it by 22 and subtracts 4689 / 12, discarding the result. Volatile
// at both ends, so none of it can be folded away; the iterations go as many
// at a time as the processor's vector unit holds, each still its own
// division and subtraction.
void DelayArithmetic(std::int64_t count);

}  // namespace mofu
