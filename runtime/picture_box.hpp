#pragma once

#include <functional>
#include <string>

#include "runtime/picture.hpp"
#include "runtime/rect.hpp"

namespace mofu {

// A borderless picture box with a black background that sizes itself to its
// picture. Positions are single precision, in the container's pixels.
class PictureBox {
 public:
  using Invalidate = std::function<void(const Rect&)>;
  // The box is about to stand at `after` on screen instead of `before`.
  using Moved = std::function<void(const Rect& before, const Rect& after)>;

  PictureBox(float left, float top, float width, float height, Invalidate invalidate,
             Moved moved = {});

  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  void SetLeft(float left);
  void SetTop(float top);

  void Cls();
  // Loads a picture file into the box; raises a run-time error, leaving the
  // box as it was, when the file is missing or unreadable.
  void LoadPictureFile(const std::string& path);

  const Picture& Image() const { return picture_; }
  // Where the box stands on screen, in whole pixels.
  Rect Bounds() const;
  static Rect BoundsAt(float left, float top, float width, float height);

 private:
  void Move(float left, float top, float width, float height);

  float left_;
  float top_;
  float width_;
  float height_;
  Picture picture_;
  Invalidate invalidate_;
  Moved moved_;
};

}  // namespace mofu
