#include "runtime/canvas.hpp"

#include <algorithm>
#include <cstring>

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

Canvas::Run Canvas::FillRun(int y, int left, int right, std::uint8_t index) {
  const std::size_t row = static_cast<std::size_t>(y) * width_;
  std::size_t i = row + left;
  const std::size_t end = row + right;
  Run changed{right, left};
  const auto note = [&](std::size_t from, std::size_t to) {
    changed.left = std::min(changed.left, static_cast<int>(from - row));
    changed.right = std::max(changed.right, static_cast<int>(to - row));
  };
  const auto set_one = [&] {
    if (At(static_cast<int>(i - row), y) != index) note(i, i + 1);
    Set(static_cast<int>(i - row), y, index);
    ++i;
  };
  if (i % 2 && i < end) set_one();
  // Whole bytes: only the stretch from the first to the last byte that
  // differs is written and reported.
  const auto both = static_cast<std::uint8_t>(index | index << 4);
  const auto differs = [both](std::uint8_t pair) { return pair != both; };
  const auto first = nibbles_.begin() + static_cast<std::ptrdiff_t>(i / 2);
  const auto last = first + static_cast<std::ptrdiff_t>((end - i) / 2);
  const auto from = std::find_if(first, last, differs);
  if (from != last) {
    const auto to =
        std::find_if(std::make_reverse_iterator(last), std::make_reverse_iterator(from), differs)
            .base();
    std::fill(from, to, both);
    note(static_cast<std::size_t>(from - nibbles_.begin()) * 2,
         static_cast<std::size_t>(to - nibbles_.begin()) * 2);
  }
  i += static_cast<std::size_t>(last - first) * 2;
  if (i < end) set_one();
  return changed;
}

RowColours::RowColours(const std::array<std::uint32_t, 16>& colours) : singles(colours) {
  for (std::size_t pair = 0; pair < pairs.size(); ++pair) {
    pairs[pair] = {colours[pair & 0x0F], colours[pair >> 4]};
  }
}

void Canvas::ReadRow(int y, int left, int right, const RowColours& colours,
                     std::uint32_t* out) const {
  const std::size_t row = static_cast<std::size_t>(y) * width_;
  std::size_t i = row + left;
  const std::size_t end = row + right;
  const std::uint8_t* stored = nibbles_.data();
  if (i % 2 && i < end) *out++ = colours.singles[stored[i++ / 2] >> 4];
  for (; i + 1 < end; i += 2, out += 2) {
    std::memcpy(out, colours.pairs[stored[i / 2]].data(), sizeof colours.pairs[0]);
  }
  if (i < end) *out = colours.singles[stored[i / 2] & 0x0F];
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
  const Rect box =
      Rect{x - reach, y - reach, x - reach + width, y - reach + width}.Intersect(bounds);
  Rect changed;
  // Each row of the dot is one run: the pixels whose dx = 2*(i-x) + shift
  // has |dx| <= the whole square root of what dy leaves of the limit. That
  // root changes little from row to row, so it is carried and adjusted.
  long long reach_dx = 0;
  for (int j = box.top; j < box.bottom; ++j) {
    const long long dy = 2LL * (j - y) + shift;
    const long long room = limit - dy * dy;
    if (room < 0) continue;
    while (reach_dx * reach_dx > room) --reach_dx;
    while ((reach_dx + 1) * (reach_dx + 1) <= room) ++reach_dx;
    // dx >= -reach_dx gives i >= x + ceil((-reach_dx - shift) / 2), and
    // dx <= reach_dx gives i <= x + floor((reach_dx - shift) / 2).
    const long long first = std::max<long long>(box.left, x + ((1 - reach_dx - shift) >> 1));
    const long long last = std::min<long long>(box.right - 1, x + ((reach_dx - shift) >> 1));
    if (first > last) continue;
    const Run run = FillRun(j, static_cast<int>(first), static_cast<int>(last) + 1, index);
    if (run.left < run.right) changed = changed.Union({run.left, j, run.right, j + 1});
  }
  return changed;
}

}  // namespace mofu
