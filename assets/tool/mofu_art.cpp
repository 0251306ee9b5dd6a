// mofu_art <src-dir> <out-dir>: turns the hand-drawn text maps into the
// pictures the saver ships, so the binary files never need hand editing.

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>

#include "art_rules.h"
#include "encoders.h"
#include "enlarge.h"
#include "message.h"
#include "pixel_map_parser.h"

namespace fs = std::filesystem;
using namespace mofu_art;

namespace {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ArtError(Message(path.string(), ": cannot be read"));
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Parses one source and applies its rules, naming the file in any complaint.
PixelMap Load(const fs::path& path, const std::function<void(const PixelMap&)>& check) {
  const std::string text = ReadText(path);
  try {
    PixelMap map = ParsePixelMap(text);
    check(map);
    return map;
  } catch (const ArtError& e) {
    throw ArtError(Message(path.string(), ": ", e.what()));
  }
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw ArtError(Message(path.string(), ": cannot be written"));
}

void Run(const fs::path& src, const fs::path& out) {
  const PixelMap neko1 = Load(src / "neko1.txt", CheckCatPose);
  const PixelMap neko2 = Load(src / "neko2.txt", CheckCatPose);
  try {
    CheckWalkCycle(neko1, neko2);
  } catch (const ArtError& e) {
    throw ArtError(Message((src / "neko1.txt").string(), ", neko2.txt: ", e.what()));
  }
  const PixelMap icon = Load(src / "icon.txt", CheckIcon);

  const Bytes neko1_gif = EncodeGif(neko1);
  const Bytes neko2_gif = EncodeGif(neko2);
  const Bytes icon_ico = EncodeIco(icon);
  const Bytes icon_png = EncodePng(icon);

  fs::create_directories(out);
  WriteBytes(out / "neko1.gif", neko1_gif);
  WriteBytes(out / "neko2.gif", neko2_gif);
  WriteBytes(out / "mofu.ico", icon_ico);
  WriteBytes(out / "mofu.png", icon_png);
}

// The icon for the desktop's icon theme: the 32x32 map and its enlargements
// by whole factors, in the theme's <size>x<size>/apps folders.
void RunIconTheme(const fs::path& src, const fs::path& theme) {
  const PixelMap icon = Load(src / "icon.txt", CheckIcon);
  for (const int factor : {1, 2, 4, 8}) {
    const PixelMap large = Enlarge(icon, factor);
    const fs::path folder = theme / Message(large.width, "x", large.height) / "apps";
    fs::create_directories(folder);
    WriteBytes(folder / "mofu.png", EncodePng(large));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool icon_theme = argc == 4 && std::string(argv[1]) == "--icon-theme";
  if (argc != 3 && !icon_theme) {
    std::cerr << "usage: mofu_art <src-dir> <out-dir>\n"
                 "       mofu_art --icon-theme <src-dir> <theme-dir>\n"
                 "Reads neko1.txt, neko2.txt and icon.txt from <src-dir> and writes\n"
                 "neko1.gif, neko2.gif, mofu.ico and mofu.png into <out-dir>; with\n"
                 "--icon-theme, writes the icon at 32, 64, 128 and 256 pixels as\n"
                 "<theme-dir>/<size>x<size>/apps/mofu.png.\n";
    return 2;
  }
  try {
    if (icon_theme) {
      RunIconTheme(argv[2], argv[3]);
    } else {
      Run(argv[1], argv[2]);
    }
  } catch (const std::exception& e) {
    std::cerr << "mofu_art: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
