#pragma once

#include <cstdint>

namespace mofu {

// Where uniform draws come from. A source hands out raw draws; NextRandom
// turns them into values that can never reach 1.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual float Draw() = 0;
};

// A small, fast generator (xorshift*) for the real program. Each value is a
// multiple of 2^-24, so it is exact in single precision and below 1.
class XorshiftSource final : public RandomSource {
 public:
  explicit XorshiftSource(std::uint64_t seed);
  float Draw() override;

 private:
  std::uint64_t state_;
};

// One fresh draw in [0, 1) from the runtime's generator.
float NextRandom();

// The truncation of NextRandom() x 10: a digit 0..9.
std::int16_t RandomDigit();

}  // namespace mofu
