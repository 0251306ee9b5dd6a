#include "runtime/host.hpp"
#include "runtime/runtime_error.hpp"
#include "runtime/services.hpp"
#include "saver/form1.hpp"
#include "settings/settings.hpp"

namespace mofu {
namespace {

std::unique_ptr<Form1> instance;

// Where the sprite box stands at design time: 63, 45, 58 x 40 pixels.
constexpr Rect kPicture1Design{63, 45, 63 + 58, 45 + 40};

}  // namespace

Int16 EndFlag = 0;

Form1::Form1() : window_(host().CreateSkySurface(), *this, kPicture1Design) {}

void Form1::Load() {
  if (!instance) instance.reset(new Form1());
  instance->Form_Load();
}

Form1& Form1::Instance() { return *instance; }
void Form1::Release() { instance.reset(); }

void Form1::Form_Load() {
  SetWindowPos(window_.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Picture1().SetLeft(static_cast<float>(window_.ScaleWidth()));
  window_.Show();
  loop_.Pace = 200;
  SpriteLeft = CLng(window_.ScaleWidth() + 100);
  SpriteTop = RandomSpriteTop();

  try {
    SpeedLevel = ReadSetting(kSpeedKey, kSpeedDefault);
  } catch (const RuntimeError&) {
    SpeedLevel = kSpeedFallback;
  }
  try {
    BlkWidth = ReadSetting(kBlkKey, kBlkDefault);
  } catch (const RuntimeError&) {
    BlkWidth = kBlkFallback;
  }
  // Remembered once, before the saver changes it, so the desktop gets back
  // exactly the setting it had.
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &saver_active_found_, 0);

  // A run-time error inside the loop (a pose picture that cannot be loaded)
  // resets the eraser width and resumes from the preparation, with the
  // loop's counters and the sprite as they were. It is caught every time: a
  // missing picture must never crash the saver.
  for (;;) {
    try {
      PrepareAndRun();
      return;
    } catch (const RuntimeError&) {
      BlkWidth = kBlkFallback;
    }
  }
}

void Form1::PrepareAndRun() {
  EndFlag = kFalse;
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, kTrue, nullptr, 0);
  ShowCursor(0);
  window_.Refresh();
  StarFieldLoop();
}

void Form1::Form_Unload() {
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, saver_active_found_, nullptr, 0);
  ShowCursor(kTrue);
  End();
}

}  // namespace mofu
