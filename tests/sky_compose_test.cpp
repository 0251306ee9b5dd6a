#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/headless/headless_host.hpp"
#include "runtime/colour.hpp"
#include "runtime/sky_window.hpp"
#include "tests/gif_writer.hpp"

namespace mofu {
namespace {

// A window system that keeps what it was sent, pixel for pixel.
class ScreenSurface final : public SkySurface {
 public:
  ScreenSurface(int width, int height, std::vector<std::uint32_t>& screen)
      : width_(width), height_(height), screen_(screen) {
    screen_.assign(static_cast<std::size_t>(width) * height, 0xDEADBEEF);
  }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::uintptr_t Handle() const override { return 1; }
  void Show() override {}
  void Hide() override {}
  void Blit(const Rect& rect, const std::uint32_t* pixels, int stride) override {
    for (int y = rect.top; y < rect.bottom; ++y) {
      for (int x = rect.left; x < rect.right; ++x) {
        screen_[static_cast<std::size_t>(y) * width_ + x] =
            pixels[static_cast<std::size_t>(y - rect.top) * stride + (x - rect.left)];
      }
    }
  }
  void Flush() override {}
  void PumpEvents(SkyInput&, std::int64_t) override {}
  std::int64_t NowMicros() override { return 0; }
  bool WaitForInput(std::int64_t) override { return false; }

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t>& screen_;
};

class NoHandlers final : public SkyHandlers {
  void Form_Click() override {}
  void Form_KeyDown(Int16, Int16) override {}
  void Form_KeyPress(Int16) override {}
  void Form_MouseMove(Int16, Int16, float, float) override {}
  void Picture1_KeyDown(Int16, Int16) override {}
  void Form_Unload() override {}
};

// What the screen must show at (x, y), by the plain definition: the sprite
// box over the sky, its picture where it has one and black beyond.
std::uint32_t Expected(const SkyWindow& window, int x, int y) {
  const Rect box = window.Picture1.Bounds();
  if (box.Contains(x, y)) {
    const Picture& image = window.Picture1.Image();
    const int px = x - box.left;
    const int py = y - box.top;
    return px < image.width && py < image.height ? image.At(px, py) : 0u;
  }
  return ToXrgb(kPalette[window.Sky().At(x, y)]);
}

TEST(SkyCompose, TheScreenShowsTheSkyWithTheSpriteBoxOverIt) {
  headless::HeadlessHost system;  // pictures are read through the host
  SetHost(&system);
  const auto folder = std::filesystem::path(MOFU_TEST_DATA) / "compose";
  std::filesystem::create_directories(folder);
  const std::string cat = (folder / "cat.gif").string();
  test::WriteTinyGif(cat, 7, 5, 200, 100, 50);

  struct Case {
    const char* name;
    float left, top;
    bool picture;
  };
  // Odd sizes and positions, so rows start and end on both halves of a
  // stored byte; the box inside, across each edge, and gone.
  const Case cases[] = {
      {"inside, picture", 5, 4, true},
      {"across top and left", -3, -2, true},
      {"across right and bottom, empty box", 28, 10, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    constexpr int kWidth = 33;
    constexpr int kHeight = 13;
    std::vector<std::uint32_t> screen;
    NoHandlers handlers;
    SkyWindow window(std::make_unique<ScreenSurface>(kWidth, kHeight, screen), handlers,
                     {0, 0, 9, 6});
    // A star on nearly every pixel, each palette colour in turn.
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if ((x * 7 + y * 3) % 11 == 0) continue;
        window.PSet(x, y, QBColor((x + 2 * y) % 16));
      }
    }
    window.SetDrawWidth(4);
    window.PSet(16, 6, RGB(0, 0, 0));
    if (c.picture) window.Picture1.LoadPictureFile(cat);
    window.Picture1.SetLeft(c.left);
    window.Picture1.SetTop(c.top);
    window.Show();
    // Then a few changes presented as small rectangles.
    window.SetDrawWidth(1);
    window.PSet(kWidth - 1, kHeight - 1, QBColor(15));
    window.PSet(1, 0, QBColor(9));
    window.Picture1.SetLeft(c.left + 1);
    window.Refresh();

    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (screen[static_cast<std::size_t>(y) * kWidth + x] != Expected(window, x, y)) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
  SetHost(nullptr);
}

}  // namespace
}  // namespace mofu
