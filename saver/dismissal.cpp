#include "runtime/runtime_error.hpp"
#include "saver/form1.hpp"

namespace mofu {

void Form1::Form_Click() { EndFlag = kTrue; }
void Form1::Form_KeyDown(Int16, Int16) { EndFlag = kTrue; }
void Form1::Form_KeyPress(Int16) { EndFlag = kTrue; }
void Form1::Picture1_KeyDown(Int16, Int16) { EndFlag = kTrue; }

// The first position reported only becomes the reference; any later report
// elsewhere, by a pixel or more, ends the saver.
void Form1::Form_MouseMove(Int16, Int16, float X, float Y) {
  Int16 x = 0;
  Int16 y = 0;
  try {
    x = CInt(X);
    y = CInt(Y);
  } catch (const RuntimeError&) {
    // Only a pointer far beyond any screen gets here: that is movement.
    EndFlag = kTrue;
    return;
  }
  if (LastMouseX == 0 && LastMouseY == 0) {
    LastMouseX = x;
    LastMouseY = y;
    return;
  }
  if (x != LastMouseX) {
    EndFlag = kTrue;
  } else if (y != LastMouseY) {
    EndFlag = kTrue;
  }
}

}  // namespace mofu
