#include "platform/picture_box.hpp"

#include <cmath>

#include "platform/loop_probe.hpp"
#include "platform/numeric.hpp"

namespace mofu {

PictureBox::PictureBox(float left, float top, float width, float height, Invalidate invalidate)
    : left_(left), top_(top), width_(width), height_(height), invalidate_(std::move(invalidate)) {}

Rect PictureBox::Bounds() const {
  // Positions far off screen are clamped so the arithmetic stays in range.
  auto px = [](float v) {
    if (!(v < 1e8f)) v = 1e8f;  // NaN too
    if (v < -1e8f) v = -1e8f;
    return static_cast<int>(RoundToEven(v));
  };
  const int left = px(left_);
  const int top = px(top_);
  return {left, top, left + px(width_), top + px(height_)};
}

void PictureBox::Move(float left, float top, float width, float height) {
  const Rect before = Bounds();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  const Rect after = Bounds();
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
