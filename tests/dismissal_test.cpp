#include "tests/harness.hpp"

namespace mofu::test {
namespace {

InputEvent Down(double x, double y) { return {InputEvent::Kind::kButtonDown, x, y}; }
InputEvent Up(double x, double y) { return {InputEvent::Kind::kButtonUp, x, y}; }

class Dismissal : public HostTest {};

// The sprite box stands at (100, 100), 58 x 40, from the first yield on.
TEST_F(Dismissal, WhichInputsEndTheSaverAndWhen) {
  constexpr int kNever = 10;  // a key at this yield ends the runs that nothing else ends
  // Each row's inputs come one a yield, from the first on.
  const std::tuple<const char*, std::vector<InputEvent>, int> cases[] = {
      {"origin is no reference", {Pointer(0, 0), Pointer(10, 10), Pointer(10, 11)}, 3},
      {"2.5 rounds to 2", {Pointer(2, 5), Pointer(2.5, 5), Pointer(2.6, 5)}, 3},
      {"same place again", {Pointer(300, 300), Pointer(300, 300), Pointer(300, 300)}, kNever},
      {"click on the sky", {Down(500, 500), Up(500, 500)}, 2},
      {"click on the cat", {Down(110, 110), Up(110, 110)}, kNever},
      {"over the cat",
       {Pointer(300, 300), Pointer(110, 110), Pointer(300, 300), Pointer(301, 300)},
       4},
      // A reference with one coordinate at 0 is still a reference.
      {"left edge, then the origin", {Pointer(0, 500), Pointer(0, 0)}, 2},
      // Beyond 16 bits: movement, never a wrap onto the reference.
      {"first report beyond 16 bits", {Pointer(40000, 300)}, 1},
      {"shift alone", {Key(16)}, 1},
  };
  for (const auto& [name, inputs, ends_at] : cases) {
    SCOPED_TRACE(name);
    Fresh();
    fake().on_yield = [](int pass) {
      if (pass != 1) return;
      Form1::Instance().Picture1().SetLeft(100);
      Form1::Instance().Picture1().SetTop(100);
    };
    for (int yield = 1; const InputEvent& event : inputs) fake().InputAtYield(yield++, event);
    fake().KeyAtYield(kNever);
    RunSaver();
    EXPECT_EQ(fake().yields, ends_at);
  }
}

TEST_F(Dismissal, TheSpriteBoxIsAControlOfItsOwn) {
  RecordingHandlers handlers;
  SkyWindow window(fake().CreateSkySurface(), handlers, {100, 100, 158, 140});
  window.KeyDown(65, 0, 'a');
  window.SetFocus(SkyWindow::Focus::kForm);
  window.KeyDown(65, 0, 'a');
  window.KeyDown(16, 1, 0);
  window.PointerReport(120, 120);
  window.PointerReport(99, 120);
  window.ButtonDown(120, 120);
  window.ButtonUp(120, 120);
  window.ButtonDown(99, 120);
  window.ButtonUp(99, 120);
  window.CloseRequested();
  EXPECT_EQ(handlers.calls,
            (std::vector<std::string>{"Picture1_KeyDown 65", "Form_KeyDown 65", "Form_KeyPress 97",
                                      "Form_KeyDown 16", "Form_MouseMove 99,120", "Form_Click",
                                      "Form_Unload"}));
}

}  // namespace
}  // namespace mofu::test
