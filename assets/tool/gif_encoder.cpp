#include <gif_lib.h>

#include <algorithm>
#include <bit>
#include <memory>

#include "encoders.h"
#include "message.h"

namespace mofu_art {
namespace {

int AppendToBytes(GifFileType* gif, const GifByteType* data, int size) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + size);
  return size;
}

struct MapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// giflib only accepts colour tables of 2, 4, ... 256 entries; the unused tail is black.
std::unique_ptr<ColorMapObject, MapDeleter> MakeColourTable(const std::vector<Rgb>& palette) {
  if (palette.size() > 256) {
    throw ArtError(Message("a GIF holds at most 256 colours, the palette has ", palette.size()));
  }
  const auto size = static_cast<int>(std::bit_ceil(std::max<std::size_t>(palette.size(), 2)));
  std::vector<GifColorType> colours(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
  std::ranges::transform(palette, colours.begin(), [](const Rgb& c) {
    return GifColorType{c.r, c.g, c.b};
  });
  return std::unique_ptr<ColorMapObject, MapDeleter>(GifMakeMapObject(size, colours.data()));
}

class GifWriter {
 public:
  explicit GifWriter(Bytes& out) {
    int error = 0;
    gif_ = EGifOpen(&out, AppendToBytes, &error);
    if (gif_ == nullptr) Fail(error);
  }
  GifWriter(const GifWriter&) = delete;
  GifWriter& operator=(const GifWriter&) = delete;
  ~GifWriter() {
    if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
  }

  GifFileType* get() const { return gif_; }

  void Check(int result) {
    if (result == GIF_ERROR) Fail(gif_->Error);
  }

  void Close() {
    int error = 0;
    const int result = EGifCloseFile(gif_, &error);
    gif_ = nullptr;
    if (result == GIF_ERROR) Fail(error);
  }

 private:
  [[noreturn]] static void Fail(int error) {
    throw ArtError(Message("giflib: ", GifErrorString(error)));
  }

  GifFileType* gif_ = nullptr;
};

}  // namespace

Bytes EncodeGif(const PixelMap& map) {
  const auto table = MakeColourTable(map.palette);
  Bytes out;
  GifWriter writer(out);
  // The top-left pixel is the sky behind the cat, a fitting screen background.
  writer.Check(
      EGifPutScreenDesc(writer.get(), map.width, map.height, 8, map.IndexAt(0, 0), table.get()));
  writer.Check(EGifPutImageDesc(writer.get(), 0, 0, map.width, map.height, false, nullptr));
  std::vector<GifPixelType> row(static_cast<std::size_t>(map.width));
  for (int y = 0; y < map.height; ++y) {
    for (int x = 0; x < map.width; ++x) row[static_cast<std::size_t>(x)] = map.IndexAt(x, y);
    writer.Check(EGifPutLine(writer.get(), row.data(), map.width));
  }
  writer.Close();
  return out;
}

}  // namespace mofu_art
