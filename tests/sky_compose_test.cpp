#include <vector>

#include "runtime/colour.hpp"
#include "runtime/sky_window.hpp"
#include "tests/gif_writer.hpp"
#include "tests/harness.hpp"

namespace mofu::test {
namespace {

constexpr int kWidth = 33, kHeight = 13;

// A window system that keeps what it was sent, pixel for pixel.
class ScreenSurface final : public SkySurface {
 public:
  explicit ScreenSurface(std::vector<std::uint32_t>& screen) : screen_(screen) {
    screen_.assign(kWidth * kHeight, 0xDEADBEEF);
  }
  int Width() const override { return kWidth; }
  int Height() const override { return kHeight; }
  std::uintptr_t Handle() const override { return 1; }
  void Show() override {}
  void Hide() override {}
  void Blit(const Rect& r, const std::uint32_t* pixels, int stride) override {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        screen_[y * kWidth + x] = pixels[(y - r.top) * stride + x - r.left];
  }
  void Flush() override {}
  void PumpEvents(SkyInput&, std::int64_t) override {}
  std::int64_t NowMicros() override { return 0; }
  bool WaitForInput(std::int64_t) override { return false; }

 private:
  std::vector<std::uint32_t>& screen_;
};

// What the screen must show at (x, y), by the plain definition: the sprite
// box over the sky, its picture where it has one and black beyond.
std::uint32_t Expected(const SkyWindow& window, int x, int y) {
  const Rect box = window.Picture1.Bounds();
  if (!box.Contains(x, y)) return ToXrgb(kPalette[window.Sky().At(x, y)]);
  const Picture& image = window.Picture1.Image();
  const int px = x - box.left, py = y - box.top;
  return px < image.width && py < image.height ? image.At(px, py) : 0u;
}

using SkyCompose = HostTest;  // pictures are read through the host

// Odd sizes and positions, so rows start and end on both halves of a stored
// byte: the box empty across the right and bottom edges, then with its
// picture inside, then across the top and left; each change after the first
// presented as small rectangles.
TEST_F(SkyCompose, TheScreenShowsTheSkyWithTheSpriteBoxOverIt) {
  const std::string cat = std::string(MOFU_TEST_DATA) + "/compose-cat.gif";
  WriteTinyGif(cat, 7, 5, 200, 100, 50);
  std::vector<std::uint32_t> screen;
  RecordingHandlers handlers;
  SkyWindow window(std::make_unique<ScreenSurface>(screen), handlers, {28, 10, 37, 16});
  for (int y = 0; y < kHeight; ++y)  // a star on nearly every pixel, each colour in turn
    for (int x = 0; x < kWidth; ++x)
      if ((x * 7 + y * 3) % 11 != 0) window.PSet(x, y, QBColor((x + 2 * y) % 16));
  window.Show();
  for (auto [left, top] : {std::pair{28.0f, 10.0f}, {5.0f, 4.0f}, {-3.0f, -2.0f}}) {
    window.Picture1.SetLeft(left);
    window.Picture1.SetTop(top);
    window.Refresh();
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) wrong += screen[y * kWidth + x] != Expected(window, x, y);
    EXPECT_EQ(wrong, 0) << left << "," << top;
    window.PSet(kWidth - 1, kHeight - 1, QBColor(static_cast<int>(left) & 15));
    window.PSet(1, 0, QBColor(9));
    window.Picture1.LoadPictureFile(cat);
  }
}

}  // namespace
}  // namespace mofu::test
