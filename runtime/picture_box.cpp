#include "runtime/picture_box.hpp"

#include <cmath>

#include "runtime/loop_probe.hpp"
#include "runtime/numeric.hpp"

namespace mofu {

PictureBox::PictureBox(float left, float top, float width, float height, Invalidate invalidate,
                       Moved moved)
    : left_(left),
      top_(top),
      width_(width),
      height_(height),
      invalidate_(std::move(invalidate)),
      moved_(std::move(moved)) {}

Rect PictureBox::Bounds() const { return BoundsAt(left_, top_, width_, height_); }

Rect PictureBox::BoundsAt(float left, float top, float width, float height) {
  // Positions far off screen are clamped so the arithmetic stays in range.
  auto px = [](float v) {
    if (!(v < 1e8f)) v = 1e8f;  // NaN too
    if (v < -1e8f) v = -1e8f;
    return static_cast<int>(RoundToEven(v));
  };
  const int x = px(left);
  const int y = px(top);
  return {x, y, x + px(width), y + px(height)};
}

// Whoever watches the box hears of a move before it happens, while the
// screen can still be shown as it was.
void PictureBox::Move(float left, float top, float width, float height) {
  const Rect before = Bounds();
  const Rect after = BoundsAt(left, top, width, height);
  if (before != after && moved_) moved_(before, after);
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (before == after) return;
  invalidate_(before);
  invalidate_(after);
}

void PictureBox::SetLeft(float left) {
  probe::Moved(std::fabs(static_cast<double>(left) - left_));
  Move(left, top_, width_, height_);
}
void PictureBox::SetTop(float top) { Move(left_, top, width_, height_); }

void PictureBox::Cls() { invalidate_(Bounds()); }

void PictureBox::LoadPictureFile(const std::string& path) {
  Picture loaded = LoadPicture(path);
  const auto width = static_cast<float>(loaded.width);
  const auto height = static_cast<float>(loaded.height);
  picture_ = std::move(loaded);
  invalidate_(Bounds());
  Move(left_, top_, width, height);
}

}  // namespace mofu
