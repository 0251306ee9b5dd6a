#include "runtime/random.hpp"
#include "runtime/services.hpp"
#include "saver/form1.hpp"
#include "saver/random_place.hpp"
#include "settings/settings.hpp"

namespace mofu {

void Form1::StarFieldLoop() {
  for (;;) {
    StarStep();
    EraserStep();
    MoveRoll = RandomDigit();
    if (MoveRoll == 7) SpriteStep();
    window_.DoEvents();
    if (EndFlag == kTrue) {
      window_.Cls();
      window_.Hide();
      window_.Unload();
      return;
    }
  }
}

void Form1::StarStep() {
  if (loop_.StarTick == 0) {
    window_.SetDrawWidth(1);
    const Int16 x = CInt(RandomColumn());
    const Int16 y = CInt(RandomRow());
    const Int16 k = CInt(Fix(NextRandom() * 15.0f + 1.0f));
    window_.PSet(x, y, QBColor(k));
    loop_.StarTick = 1;
  } else if (loop_.StarTick < 19) {
    ++loop_.StarTick;
  } else {
    loop_.StarTick = 0;
  }
}

void Form1::EraserStep() {
  if (loop_.BlkTick == 0) {
    window_.SetDrawWidth(BlkWidth);
    const Int16 x = CInt(RandomColumn());
    const Int16 y = CInt(RandomRow());
    window_.PSet(x, y, RGB(0, 0, 0));
    loop_.BlkTick = 1;
  } else if (loop_.BlkTick < 17) {
    ++loop_.BlkTick;
  } else {
    loop_.BlkTick = 0;
  }
}

}  // namespace mofu
