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

// Iterations a whole vector at a time, from `start`; returns how many it did.
template <typename Vector>
[[gnu::always_inline]] inline std::int64_t RunVectors(const volatile Vector& start,
                                                      std::int64_t count) {
  constexpr std::int64_t kLanes = sizeof(Vector) / sizeof(double);
  std::int64_t done = 0;
  for (; done + kLanes <= count; done += kLanes) {
    Vector q = start;
    q /= kDivisor;
    *reinterpret_cast<volatile Vector*>(sink) = q - kTaken;
  }
  return done;
}

std::int64_t RunPairs(std::int64_t count) { return RunVectors(start_pair, count); }

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target("avx")]] std::int64_t RunQuads(std::int64_t count) {
  return RunVectors(start_quad, count);
}
#endif

using Runner = std::int64_t (*)(std::int64_t);

// Four divisions at once where the processor and the system have AVX (the
// check covers both); two, with SSE2, everywhere else.
Runner Widest() {
#if defined(__x86_64__) || defined(__i386__)
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

}  // namespace mofu
