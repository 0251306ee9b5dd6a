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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: mofu_art <src-dir> <out-dir>\n"
                 "Reads neko1.txt, neko2.txt and icon.txt from <src-dir> and writes\n"
                 "neko1.gif, neko2.gif, mofu.ico and mofu.png into <out-dir>.\n";
    return 2;
  }
  try {
    Run(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "mofu_art: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
