#include <algorithm>
#include <cstdint>

#include "runtime/host.hpp"
#include "runtime/random.hpp"
#include "runtime/services.hpp"
#include "saver/delay_arithmetic.hpp"
#include "saver/form1.hpp"
#include "saver/random_place.hpp"
#include "settings/settings.hpp"

namespace mofu {

Int32 NextLeft = 0;
Int32 NextTop = 0;

namespace {

// How many delay iterations run between two looks at the clock.
constexpr std::int64_t kDelayChunk = 1000;

}  // namespace

void Form1::SpriteStep() {
  if (loop_.StepTick == 0) {
    NextLeft = SpriteLeft - 1;
    NextTop = SpriteTop;
    loop_.StepTick = 1;
  } else if (loop_.StepTick < 6) {
    ++loop_.StepTick;
  } else {
    loop_.StepTick = 0;
  }

  if (static_cast<double>(Picture1().Width()) + NextLeft < 0) {
    const Int16 d = RandomDigit();
    loop_.Pace = d == 0 ? 100 : 200;
    NextLeft = CLng(window_.ScaleWidth() + 200);
    NextTop = RandomSpriteTop();
  }

  DriftRoll = RandomDigit();
  if (DriftRoll == 7) {
    DriftDir = RandomDigit();
    if (DriftDir >= 8) {
      NextTop = SpriteTop + 1;
    } else if (DriftDir <= 1) {
      NextTop = SpriteTop - 1;
    } else {
      NextTop = SpriteTop;
    }
  }

  Picture1().SetLeft(static_cast<float>(NextLeft));
  Picture1().SetTop(static_cast<float>(NextTop));
  PoseChange();
  SpriteLeft = CLng(Picture1().Left());
  SpriteTop = CLng(Picture1().Top());
  PaceDelay();
}

// A random height for the sprite; near the top it is moved down by 100,
// which may still leave a tall picture partly above the screen.
Int32 Form1::RandomSpriteTop() {
  Int32 top = CLng(RandomRow() - Picture1().Height());
  if (top < 0) top += 100;
  return top;
}

void Form1::PoseChange() {
  const Int16 a = RandomDigit();
  if (a < 6) return;
  const Int16 b = RandomDigit();
  const Int16 c = RandomDigit();
  if (b != 7 || c != 9) return;
  Picture1().Cls();
  if (PoseFlag == 0) {
    Picture1().LoadPictureFile(host().PicturePath("neko2.gif"));
    PoseFlag = 1;
  } else {
    Picture1().LoadPictureFile(host().PicturePath("neko1.gif"));
    PoseFlag = 0;
  }
}

void Form1::PaceDelay() {
  const std::int64_t n = std::int64_t{SpeedLevel} * (std::int64_t{loop_.Pace} * 10);
  for (std::int64_t done = 0; done < n; done += kDelayChunk) {
    const std::int64_t chunk = std::min(kDelayChunk, n - done);
    DelayArithmetic(chunk);
    window_.DelayIterations(chunk);
  }
}

}  // namespace mofu
