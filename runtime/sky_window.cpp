#include "runtime/sky_window.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "runtime/loop_probe.hpp"
#include "runtime/runtime_error.hpp"

namespace mofu {
namespace {

// Past this many separate rectangles one bounding box is cheaper to send.
constexpr std::size_t kMaxDirtyRects = 64;

SkyWindow* current = nullptr;

}  // namespace

SkyWindow* SkyWindow::Current() { return current; }

SkyWindow::SkyWindow(std::unique_ptr<SkySurface> surface, SkyHandlers& handlers,
                     Rect picture_design)
    : Picture1(
          static_cast<float>(picture_design.left), static_cast<float>(picture_design.top),
          static_cast<float>(picture_design.Width()), static_cast<float>(picture_design.Height()),
          [this](const Rect& r) { Invalidate(r); },
          [this](const Rect& before, const Rect& after) { CatMoved(before, after); }),
      surface_(std::move(surface)),
      handlers_(handlers),
      canvas_(surface_->Width(), surface_->Height()),
      pace_(*this, PaceModel::kFrameMicros, surface_->RefreshMicros()) {
  current = this;
}

SkyWindow::~SkyWindow() {
  if (current == this) current = nullptr;
  probe::Ended();
}

std::uintptr_t SkyWindow::hWnd() const { return surface_->Handle(); }
double SkyWindow::ScaleWidth() const { return canvas_.Width(); }
double SkyWindow::ScaleHeight() const { return canvas_.Height(); }

void SkyWindow::Show() {
  if (visible_) return;
  visible_ = true;
  surface_->Show();
  Invalidate({0, 0, canvas_.Width(), canvas_.Height()});
  PresentFrame();
}

void SkyWindow::Hide() {
  visible_ = false;
  surface_->Hide();
}

int SkyWindow::ShowCursor(bool show) {
  const bool was_hidden = cursor_count_ < 0;
  cursor_count_ += show ? 1 : -1;
  if ((cursor_count_ < 0) != was_hidden) surface_->SetPointerHidden(cursor_count_ < 0);
  return cursor_count_;
}

void SkyWindow::Refresh() { PresentFrame(); }

void SkyWindow::Cls() {
  canvas_.Fill(0);
  Invalidate({0, 0, canvas_.Width(), canvas_.Height()});
}

void SkyWindow::PSet(double x, double y, Colour colour) {
  const auto index = PaletteIndexOf(colour);
  if (!index) throw RuntimeError(ErrorNumber::kOverflow, "Colour outside the sky's palette");
  const Rect touched = canvas_.Dot(CLng(x), CLng(y), draw_width_, *index);
  probe::Dot(*index == 0);
  Invalidate(touched);
}

void SkyWindow::Unload() { handlers_.Form_Unload(); }

void SkyWindow::DoEvents() {
  probe::Pass();
  if constexpr (probe::kPaced) {
    pace_.Pass();
  } else {
    pace_.PresentIfDue();
  }
  surface_->PumpEvents(*this, pace_.ClockMicros());
}

void SkyWindow::DelayIterations(std::int64_t count) {
  probe::Delay(count);
  if constexpr (probe::kPaced) pace_.Iterations(count);
}

// A step of the cat is what the frames follow; moves wholly off the screen
// show nothing.
void SkyWindow::CatMoved(const Rect& before, const Rect& after) {
  const Rect screen{0, 0, canvas_.Width(), canvas_.Height()};
  if (!before.Intersect(screen).Empty() || !after.Intersect(screen).Empty()) pace_.Stepped();
}

bool SkyWindow::OverPicture(double x, double y) const {
  const Rect box = Picture1.Bounds();
  return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

// A click or pointer movement over the sprite box belongs to the box, which
// has no handler for it.
void SkyWindow::PointerReport(double x, double y) {
  if (OverPicture(x, y)) return;
  handlers_.Form_MouseMove(0, 0, static_cast<float>(x), static_cast<float>(y));
}

void SkyWindow::ButtonDown(double x, double y) { button_down_on_form_ = !OverPicture(x, y); }

void SkyWindow::ButtonUp(double x, double y) {
  const bool click = button_down_on_form_ && !OverPicture(x, y);
  button_down_on_form_ = false;
  if (click) handlers_.Form_Click();
}

void SkyWindow::KeyDown(Int16 key_code, Int16 shift, Int16 character) {
  if (focus_ == Focus::kPicture1) {
    handlers_.Picture1_KeyDown(key_code, shift);
    return;
  }
  handlers_.Form_KeyDown(key_code, shift);
  if (character != 0) handlers_.Form_KeyPress(character);
}

void SkyWindow::CloseRequested() { Unload(); }

void SkyWindow::Exposed(const Rect& rect) { Invalidate(rect); }

// A black sky of the new size fills up again within seconds, and nothing
// drawn for the old size can land outside the new one.
void SkyWindow::Resized() {
  canvas_ = Canvas(surface_->Width(), surface_->Height());
  pace_.SetRefreshMicros(surface_->RefreshMicros());
  dirty_.clear();
  Invalidate({0, 0, canvas_.Width(), canvas_.Height()});
}

std::int64_t SkyWindow::NowMicros() { return surface_->NowMicros(); }

bool SkyWindow::WaitForInput(std::int64_t deadline_micros) {
  return surface_->WaitForInput(deadline_micros);
}

void SkyWindow::Invalidate(const Rect& rect) {
  Rect clipped = rect.Intersect({0, 0, canvas_.Width(), canvas_.Height()});
  if (clipped.Empty()) return;
  // A rectangle goes out together with one already waiting when the two
  // cover no more as one than apart: the sprite box moved by a pixel is
  // sent once, and a star under an eraser dot not at all on its own.
  const auto area = [](const Rect& r) { return static_cast<long long>(r.Width()) * r.Height(); };
  for (std::size_t i = 0; i < dirty_.size();) {
    const Rect both = dirty_[i].Union(clipped);
    if (area(both) > area(dirty_[i]) + area(clipped)) {
      ++i;
      continue;
    }
    clipped = both;
    dirty_[i] = dirty_.back();
    dirty_.pop_back();
    i = 0;
  }
  if (dirty_.size() >= kMaxDirtyRects) {
    Rect all = clipped;
    for (const Rect& r : dirty_) all = all.Union(r);
    dirty_.assign(1, all);
    return;
  }
  dirty_.push_back(clipped);
}

void SkyWindow::PresentFrame() {
  if (!visible_ || dirty_.empty()) return;
  for (const Rect& rect : dirty_) Compose(rect);
  dirty_.clear();
  surface_->Flush();
}

// Renders one rectangle of sky with the sprite box over it, a band of rows at
// a time so the scratch buffer stays small even for a full-screen repaint.
// Each row is the sky read as a run, then the part the box covers: its
// picture where it has one, black beyond.
void SkyWindow::Compose(const Rect& rect) {
  static const RowColours kXrgb([] {
    std::array<std::uint32_t, 16> xrgb{};
    for (std::size_t i = 0; i < xrgb.size(); ++i) xrgb[i] = ToXrgb(kPalette[i]);
    return xrgb;
  }());
  constexpr int kBandPixels = 8 * 1024;
  const int width = rect.Width();
  const int band_rows = std::max(1, kBandPixels / width);
  const std::size_t band_pixels =
      static_cast<std::size_t>(width) * std::min(band_rows, rect.Height());
  if (scratch_.size() < band_pixels) scratch_.resize(band_pixels);
  const Rect box = Picture1.Bounds();
  const Picture& image = Picture1.Image();
  const int box_left = std::max(rect.left, box.left);
  const int box_right = std::min(rect.right, box.right);
  for (int top = rect.top; top < rect.bottom; top += band_rows) {
    const int bottom = std::min(rect.bottom, top + band_rows);
    std::uint32_t* row = scratch_.data();
    for (int y = top; y < bottom; ++y, row += width) {
      canvas_.ReadRow(y, rect.left, rect.right, kXrgb, row);
      if (y < box.top || y >= box.bottom) continue;
      if (box_left >= box_right) continue;
      const int py = y - box.top;
      const int picture_right =
          py < image.height ? std::clamp(box.left + image.width, box_left, box_right) : box_left;
      if (picture_right > box_left) {
        const std::uint32_t* picture_row =
            image.pixels.data() + static_cast<std::size_t>(py) * image.width;
        std::memcpy(row + (box_left - rect.left), picture_row + (box_left - box.left),
                    static_cast<std::size_t>(picture_right - box_left) * sizeof *row);
      }
      std::fill(row + (picture_right - rect.left), row + (box_right - rect.left), 0u);
    }
    surface_->Blit({rect.left, top, rect.right, bottom}, scratch_.data(), width);
  }
}

}  // namespace mofu
