// The pace model at the display rates the saver meets (a remote desktop's
// 30 Hz, the usual 60, a gaming monitor's 144), driven by the loop's own
// schedule at sspeed 1 on a normal and a fast crossing: a pass every 20 us
// nominal, a sprite step on a pass in ten at random (the loop's coin), its
// delay, and the cat one pixel on at every seventh step. The clock is a
// fake one that moves only when the model sleeps, so what comes out is the
// model's arithmetic, not this machine's: how far real time falls from
// nominal time, how many steps the fullest present carried, and the most
// steps any one refresh interval held, which no present can do with fewer.
// One line of key=value pairs a case, for bench/report.py.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <random>

#include "runtime/pace.hpp"

namespace {

class FakeClock final : public mofu::PaceClock {
 public:
  std::int64_t NowMicros() override { return now; }
  bool WaitForInput(std::int64_t deadline) override {
    now = std::max(now, deadline);
    return false;
  }
  void PresentFrame() override {
    ++presents;
    most_steps = std::max(most_steps, steps);
    steps = 0;
  }
  std::int64_t now = 0;
  int steps = 0;
  int most_steps = 0;
  std::int64_t presents = 0;
};

}  // namespace

int main() {
  constexpr std::int64_t kSeconds = 60;
  for (const int hertz : {30, 60, 144}) {
    for (const std::int64_t pace : {200, 100}) {
      FakeClock clock;
      const std::int64_t refresh = 1'000'000 / hertz;
      mofu::PaceModel model(clock, mofu::PaceModel::kFrameMicros, refresh);
      std::mt19937 coin(12345);
      std::deque<std::int64_t> recent;  // nominal times of the steps within a refresh
      int most_in_refresh = 0;
      std::int64_t nominal = 0;
      int look = 0;
      while (nominal < kSeconds * 1'000'000) {
        if (coin() % 10 == 7) {
          if (++look % 7 == 0) {
            model.Stepped();
            ++clock.steps;
            recent.push_back(nominal);
            while (recent.front() <= nominal - refresh) recent.pop_front();
            most_in_refresh = std::max(most_in_refresh, static_cast<int>(recent.size()));
          }
          for (std::int64_t done = 0; done < pace * 10; done += 1000) model.Iterations(1000);
          nominal += pace * 10;
        }
        model.Pass();
        nominal += mofu::PaceModel::kPassMicros;
      }
      std::printf(
          "row=pace%d-%lld kind=model hertz=%d pace=%lld nominal_s=%.4f real_s=%.4f "
          "presents=%lld most_steps=%d most_in_refresh=%d\n",
          hertz, static_cast<long long>(pace), hertz, static_cast<long long>(pace), nominal / 1e6,
          clock.now / 1e6, static_cast<long long>(clock.presents), clock.most_steps,
          most_in_refresh);
    }
  }
}
