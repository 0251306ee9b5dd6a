#include "tests/harness.hpp"

namespace mofu::test {
namespace {

InputEvent Down(double x, double y) { return {InputEvent::Kind::kButtonDown, x, y}; }
InputEvent Up(double x, double y) { return {InputEvent::Kind::kButtonUp, x, y}; }

class Dismissal : public HostTest {};

// The sprite box stands at (100, 100), 58 x 40, from the first yield on.
TEST_F(Dismissal, WhichInputsEndTheSaverAndWhen) {
  constexpr int kNever = 10;  // a key at this yield ends the runs that nothing else ends
  struct Case {
    const char* name;
    std::vector<std::pair<int, InputEvent>> inputs;  // yield, event
    int ends_at;
  };
  const Case cases[] = {
      {"origin is no reference",
       {{1, Pointer(0, 0)}, {2, Pointer(10, 10)}, {3, Pointer(10, 11)}},
       3},
      {"2.5 rounds to 2", {{1, Pointer(2, 5)}, {2, Pointer(2.5, 5)}, {3, Pointer(2.6, 5)}}, 3},
      {"same place again and again",
       {{1, Pointer(300, 300)}, {2, Pointer(300, 300)}, {3, Pointer(300, 300)}},
       kNever},
      {"click on the sky", {{2, Down(500, 500)}, {2, Up(500, 500)}}, 2},
      {"click on the cat", {{2, Down(110, 110)}, {2, Up(110, 110)}}, kNever},
      {"motion over the cat is unseen",
       {{1, Pointer(300, 300)},
        {2, Pointer(110, 110)},
        {3, Pointer(300, 300)},
        {4, Pointer(301, 300)}},
       4},
      // A reference with one coordinate at 0 is still a reference.
      {"reference on the left edge, then the origin",
       {{1, Pointer(0, 500)}, {2, Pointer(0, 0)}},
       2},
      // Beyond 16 bits: movement, never a wrap onto the reference.
      {"first report beyond 16 bits", {{1, Pointer(40000, 300)}}, 1},
      {"shift alone", {{4, Key(16)}}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    fake().on_yield = [](int pass) {
      if (pass != 1) return;
      Form1::Instance().Picture1().SetLeft(100);
      Form1::Instance().Picture1().SetTop(100);
    };
    for (const auto& [yield, event] : c.inputs) fake().InputAtYield(yield, event);
    fake().KeyAtYield(kNever);
    RunSaver();
    EXPECT_EQ(fake().yields, c.ends_at);
  }
}

// Which handler a key reaches depends on which control holds the focus.
class RecordingHandlers final : public SkyHandlers {
 public:
  void Form_Click() override { calls.push_back("Form_Click"); }
  void Form_KeyDown(Int16 k, Int16) override {
    calls.push_back("Form_KeyDown " + std::to_string(k));
  }
  void Form_KeyPress(Int16 c) override { calls.push_back("Form_KeyPress " + std::to_string(c)); }
  void Form_MouseMove(Int16, Int16, float x, float y) override {
    calls.push_back("Form_MouseMove " + std::to_string(int(x)) + "," + std::to_string(int(y)));
  }
  void Picture1_KeyDown(Int16 k, Int16) override {
    calls.push_back("Picture1_KeyDown " + std::to_string(k));
  }
  void Form_Unload() override { calls.push_back("Form_Unload"); }
  std::vector<std::string> calls;
};

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
