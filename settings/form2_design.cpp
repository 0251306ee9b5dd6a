#include "settings/form2.hpp"

namespace mofu {
namespace {

constexpr Colour kGrey = RGB(128, 128, 128);
constexpr Colour kBlue = RGB(0, 0, 255);
constexpr Colour kRed = RGB(255, 0, 0);
constexpr Colour kBlack = RGB(0, 0, 0);

ControlDesign Control(std::string name, int index, ControlKind kind, std::string container,
                      std::string caption, int left, int top, int width, int height) {
  ControlDesign c;
  c.name = std::move(name);
  c.index = index;
  c.kind = kind;
  c.container = std::move(container);
  c.caption = std::move(caption);
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  return c;
}

ControlDesign Coloured(ControlDesign c, Colour fore) {
  c.fore_colour = fore;
  return c;
}

ControlDesign WithFont(ControlDesign c, FontDesign font) {
  c.font = std::move(font);
  return c;
}

ControlDesign Selected(ControlDesign c) {
  c.value = true;
  return c;
}

}  // namespace

FormDesign Form2Design() {
  using K = ControlKind;
  FormDesign form;
  form.caption = "設定";
  form.client_width = 4125;
  form.client_height = 2490;
  form.centre_on_screen = true;

  ControlDesign picture = Control("Picture1", -1, K::kPictureBox, "", "", 1665, 405, 480, 480);
  picture.back_colour = kBlack;
  picture.shows_icon = true;

  form.controls = {
      Control("Command1", -1, K::kCommandButton, "", "OK", 2205, 2025, 1545, 375),
      Control("Command2", -1, K::kCommandButton, "", "Cancel", 360, 2025, 1545, 375),
      Coloured(Control("Frame1", -1, K::kFrame, "", "星の粒量", 135, 225, 1275, 1680), kGrey),
      Control("Option1", 4, K::kOptionButton, "Frame1", "少ない", 135, 1350, 960, 240),
      Control("Option1", 3, K::kOptionButton, "Frame1", "↓", 135, 1080, 960, 240),
      Selected(Control("Option1", 2, K::kOptionButton, "Frame1", "標準", 135, 810, 960, 240)),
      Control("Option1", 1, K::kOptionButton, "Frame1", "↑", 135, 540, 960, 240),
      Control("Option1", 0, K::kOptionButton, "Frame1", "多い", 135, 270, 960, 240),
      picture,
      WithFont(
          Coloured(Control("Label1", -1, K::kLabel, "", "Mofu Saver", 2205, 510, 1950, 465), kBlue),
          {"Impact", 18, false, false}),
      WithFont(Coloured(Control("Label2", -1, K::kLabel, "", "Present Version 1.01", 2250, 390,
                                1680, 195),
                        kGrey),
               {"ＭＳ Ｐゴシック", 9, false, true}),
      WithFont(Control("Label3", -1, K::kLabel, "", "A little cat walks under the stars", 1485, 855,
                       2625, 285),
               {"Impact", 8.25, false, false}),
      Coloured(Control("Frame2", -1, K::kFrame, "", "描画スピード", 1530, 1125, 2400, 780), kGrey),
      Control("Option2", -1, K::kOptionButton, "Frame2", "", 315, 225, 285, 285),
      Selected(Control("Option3", -1, K::kOptionButton, "Frame2", "", 675, 225, 285, 285)),
      Control("Option4", -1, K::kOptionButton, "Frame2", "", 1035, 225, 330, 285),
      Coloured(Control("Label4", 0, K::kLabel, "Frame2", "+1", 330, 495, 195, 165), kRed),
      Control("Option5", -1, K::kOptionButton, "Frame2", "", 1395, 225, 330, 285),
      Control("Option6", -1, K::kOptionButton, "Frame2", "", 1755, 225, 240, 285),
      Control("Label5", 0, K::kLabel, "Frame2", "Hi", 90, 270, 195, 195),
      Control("Label5", 1, K::kLabel, "Frame2", "Low", 2025, 270, 285, 195),
      Coloured(Control("Label4", 1, K::kLabel, "Frame2", "0", 735, 495, 150, 165), kBlack),
      Coloured(Control("Label4", 2, K::kLabel, "Frame2", "-1", 1050, 495, 195, 165), kBlue),
      Coloured(Control("Label4", 3, K::kLabel, "Frame2", "-2", 1395, 495, 195, 165), kBlue),
      Coloured(Control("Label4", 4, K::kLabel, "Frame2", "-3", 1755, 495, 195, 165), kBlue),
  };
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    form.controls[i].tab_index = static_cast<int>(i);
  }
  return form;
}

}  // namespace mofu
