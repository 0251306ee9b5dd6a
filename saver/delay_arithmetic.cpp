#include "saver/delay_arithmetic.hpp"

namespace mofu {
namespace {

constexpr double kStart = 134112;
constexpr double kDivisor = 22;
constexpr double kTaken = 4689.0 / 12;

using Pair = double __attribute__((vector_size(16)));
using Quad = double __attribute__((vector_size(32)));

volatile double start_one = kStart;
volatile Pair start_pair = {kStart, kStart};
volatile Quad start_quad = {kStart, kStart, kStart, kStart};
// Every width stores its results here, lane by lane.
alignas(32) volatile double sink[4] = {};

// Each returns how many iterations it did: a whole number of its width.
std::int64_t RunPairs(std::int64_t count) {
  std::int64_t done = 0;
  for (; done + 2 <= count; done += 2) {
    Pair q = start_pair;
    q /= kDivisor;
    *reinterpret_cast<volatile Pair*>(sink) = q - kTaken;
  }
  return done;
}

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target("avx")]] std::int64_t RunQuads(std::int64_t count) {
  std::int64_t done = 0;
  for (; done + 4 <= count; done += 4) {
    Quad q = start_quad;
    q /= kDivisor;
    *reinterpret_cast<volatile Quad*>(sink) = q - kTaken;
  }
  return done;
}
#endif

using Runner = std::int64_t (*)(std::int64_t);

// Four divisions at once where the processor and the system have AVX (the
// check covers both); two, with SSE2, everywhere else.
Runner Widest() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx")) return RunQuads;
#endif
  return RunPairs;
}

}  // namespace

void DelayArithmetic(std::int64_t count) {
  static const Runner run = Widest();
  if (count <= 0) return;
  for (std::int64_t done = run(count); done < count; ++done) {
    double q = start_one;
    q /= kDivisor;
    sink[0] = q - kTaken;
  }
}

double LastDelayResult() { return sink[0]; }

void ClearDelayResult() {
  for (volatile double& lane : sink) lane = 0;
}

}  // namespace mofu
