#include "platform/canvas.hpp"

#include <algorithm>

namespace mofu {

Canvas::Canvas(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      nibbles_((static_cast<std::size_t>(width_) * height_ + 1) / 2, 0) {}

std::uint8_t Canvas::At(int x, int y) const {
  const std::size_t i = static_cast<std::size_t>(y) * width_ + x;
  const std::uint8_t pair = nibbles_[i / 2];
  return i % 2 ? pair >> 4 : pair & 0x0F;
}

void Canvas::Set(int x, int y, std::uint8_t index) {
  const std::size_t i = static_cast<std::size_t>(y) * width_ + x;
  std::uint8_t& pair = nibbles_[i / 2];
  pair = i % 2 ? static_cast<std::uint8_t>((pair & 0x0F) | index << 4)
               : static_cast<std::uint8_t>((pair & 0xF0) | (index & 0x0F));
}

void Canvas::ReadRow(int y, int left, int right, const std::array<std::uint32_t, 16>& colours,
                     std::uint32_t* out) const {
  const std::size_t row = static_cast<std::size_t>(y) * width_;
  std::size_t i = row + left;
  const std::size_t end = row + right;
  const std::uint8_t* pairs = nibbles_.data();
  if (i % 2 && i < end) *out++ = colours[pairs[i++ / 2] >> 4];
  for (; i + 1 < end; i += 2) {
    const std::uint8_t pair = pairs[i / 2];
    *out++ = colours[pair & 0x0F];
    *out++ = colours[pair >> 4];
  }
  if (i < end) *out = colours[pairs[i / 2] & 0x0F];
}

void Canvas::Fill(std::uint8_t index) {
  std::fill(nibbles_.begin(), nibbles_.end(), static_cast<std::uint8_t>(index | index << 4));
}

Rect Canvas::Dot(int x, int y, int width, std::uint8_t index) {
  const Rect bounds{0, 0, width_, height_};
  if (width <= 1) {
    if (!bounds.Contains(x, y)) return {};
    Set(x, y, index);
    return {x, y, x + 1, y + 1};
  }
  // Work in half pixels so the test is exact integer arithmetic:
  // (2*(i-x) + odd_shift)^2 + (2*(j-y) + odd_shift)^2 <= width^2.
  const int shift = width % 2 ? 0 : 1;
  const long long limit = static_cast<long long>(width) * width;
  const int reach = width / 2;
  const Rect box = Rect{x - reach, y - reach, x - reach + width, y - reach + width}.Intersect(bounds);
  for (int j = box.top; j < box.bottom; ++j) {
    const long long dy = 2LL * (j - y) + shift;
    for (int i = box.left; i < box.right; ++i) {
      const long long dx = 2LL * (i - x) + shift;
      if (dx * dx + dy * dy <= limit) Set(i, j, index);
    }
  }
  return box.Empty() ? Rect{} : box;
}

}  // namespace mofu
