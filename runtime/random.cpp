#include "runtime/random.hpp"

#include <cmath>

#include "runtime/host.hpp"

namespace mofu {

XorshiftSource::XorshiftSource(std::uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}

float XorshiftSource::Draw() {
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  const std::uint64_t bits = (state_ * 0x2545F4914F6CDD1Dull) >> 40;  // 24 bits
  return static_cast<float>(bits) * (1.0f / 16777216.0f);
}

float NextRandom() {
  const float value = host().Random().Draw();
  // A source may be scripted; the program relies on never seeing 1 or more.
  if (!(value >= 0.0f)) return 0.0f;
  if (value >= 1.0f) return std::nextafter(1.0f, 0.0f);
  return value;
}

std::int16_t RandomDigit() { return static_cast<std::int16_t>(std::trunc(NextRandom() * 10.0f)); }

}  // namespace mofu
