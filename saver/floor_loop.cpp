// Benchmark floors only: the star field loop with its work taken out, to
// show what waking up costs on its own. The paced floor keeps the saver's
// schedule (a pass's nominal time, a sprite step's delay on one pass in ten
// without its arithmetic, one pixel re-sent as often as a star is drawn);
// the sleep floor only waits a frame at a time. Neither draws anything or
// takes a random number.
#include "platform/services.hpp"
#include "saver/form1.hpp"
#include "settings/settings.hpp"

namespace mofu {

void Form1::StarFieldLoop() {
  [[maybe_unused]] std::int64_t pass = 0;
  for (;;) {
#ifdef MOFU_FLOOR_SLEEP
    window_.SleepOneFrame();
#else
    if (pass % 20 == 0) window_.Touch();
    if (pass % 10 == 7) {
      window_.DelayIterations(std::int64_t{SpeedLevel} * (std::int64_t{loop_.Pace} * 10));
    }
    ++pass;
    window_.DoEvents();
#endif
    if (EndFlag == kTrue) {
      window_.Cls();
      window_.Hide();
      window_.Unload();
      return;
    }
  }
}

}  // namespace mofu
