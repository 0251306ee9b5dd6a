// The floors: what waking up costs on its own. The paced floor keeps the
// saver's schedule and its presents (a pass's nominal time, a sprite step's
// delay on one pass in ten without its arithmetic, the empty sprite box
// walked a pixel every seventh step across the screen and in again from
// beyond its right edge, so frames follow it as they follow the cat, and
// one pixel sent again as often as a star is drawn) with none of its work:
// no picture, no random number taken. The sleep floor (--sleep) only waits
// a frame at a time. Both show the saver's window as the saver does and end
// on the same input.
#include <cstring>
#include <memory>
#include <string>

#include "platform/linux/linux_host.hpp"
#include "platform/x11/x11_display.hpp"
#include "runtime/numeric.hpp"
#include "runtime/services.hpp"
#include "runtime/sky_window.hpp"
#include "runtime/start_routine.hpp"

namespace {

class Ending final : public mofu::SkyHandlers {
 public:
  bool ended = false;
  void Form_Click() override { ended = true; }
  void Form_KeyDown(mofu::Int16, mofu::Int16) override { ended = true; }
  void Form_KeyPress(mofu::Int16) override { ended = true; }
  void Form_MouseMove(mofu::Int16, mofu::Int16, float x, float y) override {
    if (!seen_) {
      seen_ = true;
      x_ = x;
      y_ = y;
    } else if (x != x_ || y != y_) {
      ended = true;
    }
  }
  void Picture1_KeyDown(mofu::Int16, mofu::Int16) override { ended = true; }
  void Form_Unload() override {}

 private:
  bool seen_ = false;
  float x_ = 0;
  float y_ = 0;
};

bool sleep_only = false;

void RunFloor() {
  using namespace mofu;
  const std::int64_t speed =
      std::stoll(GetSetting("mofu", "setting", "sspeed", 2));  // as the saver reads it
  Ending handlers;
  SkyWindow window(host().CreateSkySurface(), handlers, {63, 45, 63 + 58, 45 + 40});
  SetWindowPos(window.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  window.Show();
  Int32 found = 0;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &found, 0);
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, kTrue, nullptr, 0);
  ShowCursor(0);
  window.Refresh();
  float left = static_cast<float>(window.ScaleWidth()) - 100;
  for (std::int64_t pass = 0; !handlers.ended; ++pass) {
    if (sleep_only) {
      window.DelayIterations(PaceModel::kFrameMicros);
    } else {
      if (pass % 20 == 0) window.PSet(0, 0, RGB(0, 0, 0));
      if (pass % 10 == 7) {
        if (pass % 70 == 7) {
          left = left + 58 < 0 ? static_cast<float>(window.ScaleWidth()) + 200 : left - 1;
          window.Picture1.SetLeft(left);
        }
        window.DelayIterations(speed * 200 * 10);
      }
    }
    window.DoEvents();
  }
  window.Cls();
  window.Hide();
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, found, nullptr, 0);
  ShowCursor(kTrue);
}

}  // namespace

int main(int argc, char** argv) {
  sleep_only = argc > 1 && std::strcmp(argv[1], "--sleep") == 0;
  mofu::linux_os::LinuxHost host(1, argv, std::make_unique<mofu::x11::X11Display>(std::nullopt));
  return mofu::RunProgram(host, &RunFloor, [] {});
}
