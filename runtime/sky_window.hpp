#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/canvas.hpp"
#include "runtime/colour.hpp"
#include "runtime/numeric.hpp"
#include "runtime/pace.hpp"
#include "runtime/picture_box.hpp"
#include "runtime/sky_surface.hpp"

namespace mofu {

// The handlers a saver window delivers input to.
class SkyHandlers {
 public:
  virtual ~SkyHandlers() = default;
  virtual void Form_Click() = 0;
  virtual void Form_KeyDown(Int16 KeyCode, Int16 Shift) = 0;
  virtual void Form_KeyPress(Int16 KeyAscii) = 0;
  virtual void Form_MouseMove(Int16 Button, Int16 Shift, float X, float Y) = 0;
  virtual void Picture1_KeyDown(Int16 KeyCode, Int16 Shift) = 0;
  virtual void Form_Unload() = 0;
};

// The saver's maximised, borderless, black window: a persistent sky canvas
// with the sprite box composed over it, drawn in pixels. It owns the pace
// model, routes input to the handlers, and presents only what changed.
class SkyWindow final : public SkyInput, private PaceClock {
 public:
  enum class Focus { kForm, kPicture1 };

  SkyWindow(std::unique_ptr<SkySurface> surface, SkyHandlers& handlers, Rect picture_design);
  ~SkyWindow() override;
  SkyWindow(const SkyWindow&) = delete;
  SkyWindow& operator=(const SkyWindow&) = delete;

  // The saver's window while it exists: the system requests reach it here.
  static SkyWindow* Current();
  void KeepOnTop() { surface_->KeepOnTop(); }
  // The pointer's display count, as Windows keeps it: the pointer shows
  // over the sky while the count is zero or more. Returns the new count.
  int ShowCursor(bool show);

  // Form properties and methods.
  std::uintptr_t hWnd() const;
  double ScaleWidth() const;
  double ScaleHeight() const;
  void Show();
  void Hide();
  void Refresh();
  void Cls();
  void SetDrawWidth(Int16 width) { draw_width_ = width; }
  Int16 DrawWidth() const { return draw_width_; }
  void PSet(double x, double y, Colour colour);
  void Unload();
  void DoEvents();
  // Iterations of a counted delay: they cost nominal time like passes do.
  void DelayIterations(std::int64_t count);

  PictureBox Picture1;

  void SetFocus(Focus focus) { focus_ = focus; }
  const Canvas& Sky() const { return canvas_; }
  std::int64_t NominalMicros() const { return pace_.NominalMicros(); }

  // SkyInput: events from the backend.
  void PointerReport(double x, double y) override;
  void ButtonDown(double x, double y) override;
  void ButtonUp(double x, double y) override;
  void KeyDown(Int16 key_code, Int16 shift, Int16 character) override;
  void CloseRequested() override;
  void Exposed(const Rect& rect) override;
  void Resized() override;

 private:
  // PaceClock
  std::int64_t NowMicros() override;
  bool WaitForInput(std::int64_t deadline_micros) override;
  void PresentFrame() override;

  void Invalidate(const Rect& rect);
  void Compose(const Rect& rect);
  bool OverPicture(double x, double y) const;
  void CatMoved(const Rect& before, const Rect& after);

  std::unique_ptr<SkySurface> surface_;
  SkyHandlers& handlers_;
  Canvas canvas_;
  PaceModel pace_;
  Int16 draw_width_ = 1;
  bool visible_ = false;
  int cursor_count_ = 0;
  bool button_down_on_form_ = false;
  Focus focus_ = Focus::kPicture1;
  std::vector<Rect> dirty_;
  std::vector<std::uint32_t> scratch_;
};

}  // namespace mofu
