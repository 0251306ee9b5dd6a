#pragma once

#include <memory>

#include "runtime/numeric.hpp"
#include "runtime/sky_window.hpp"

namespace mofu {

// Set by any dismissal input; the loop ends the saver when it sees it.
extern Int16 EndFlag;
// The sprite position the next step applies.
extern Int32 NextLeft;
extern Int32 NextTop;

// The running saver: a full-screen night sky with a cat walking across it.
class Form1 final : private SkyHandlers {
 public:
  // Creates the one window if needed and runs its load handler, which holds
  // the star field loop and only ends by ending the process.
  static void Load();
  static Form1& Instance();
  static void Release();  // forgets the window, for tests that start over

  SkyWindow& Window() { return window_; }
  PictureBox& Picture1() { return window_.Picture1; }

  // Fields of the window, in the order they were declared in the designer.
  Int32 SpriteLeft = 0;
  Int32 SpriteTop = 0;
  Int16 DriftDir = 0;
  Int16 DriftRoll = 0;
  Int16 MoveRoll = 0;
  Int16 PoseFlag = 0;
  Int16 LastMouseX = 0;
  Int16 LastMouseY = 0;

  // Locals of the load handler that live as long as the loop.
  struct LoopState {
    Int16 Pace = 0;
    Int16 StarTick = 0;
    Int16 BlkTick = 0;
    Int16 StepTick = 0;
  };
  const LoopState& Loop() const { return loop_; }

 private:
  Form1();

  void Form_Load();
  void PrepareAndRun();
  void StarFieldLoop();
  void StarStep();
  void EraserStep();
  void SpriteStep();
  void PoseChange();
  Int32 RandomSpriteTop();
  void PaceDelay();

  // SkyHandlers
  void Form_Click() override;
  void Form_KeyDown(Int16 KeyCode, Int16 Shift) override;
  void Form_KeyPress(Int16 KeyAscii) override;
  void Form_MouseMove(Int16 Button, Int16 Shift, float X, float Y) override;
  void Picture1_KeyDown(Int16 KeyCode, Int16 Shift) override;
  void Form_Unload() override;

  SkyWindow window_;
  LoopState loop_;
  // The screen-saver-active setting as the saver found it, put back on exit.
  Int32 saver_active_found_ = 0;
};

}  // namespace mofu
