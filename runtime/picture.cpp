#include "runtime/picture.hpp"

#include "runtime/host.hpp"
#include "runtime/regular_file.hpp"
#include "runtime/runtime_error.hpp"

#define STB_IMAGE_IMPLEMENTATION
// The pose pictures are GIF. Other decoders would only widen what a hostile
// file can ask for: stb's PNG reader trusts a chunk's declared length and
// asks for that much memory before it finds the data missing.
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
// Nor conversions to and from linear light, the only maths-library calls.
#define STBI_NO_LINEAR
#define STBI_NO_HDR
// The decoder's own refusal, in case a header slips past the check below.
#define STBI_MAX_DIMENSIONS 4096
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace mofu {

Picture DecodePicture(const std::uint8_t* data, std::size_t size) {
  int width = 0;
  int height = 0;
  int channels = 0;
  const auto invalid = [] { return RuntimeError(ErrorNumber::kInvalidPicture, "Invalid picture"); };
  if (size == 0 || size > kPictureFileLimit) throw invalid();
  // A small file may declare a huge image: its size is judged from the header
  // before a single pixel is allocated.
  if (!stbi_info_from_memory(data, static_cast<int>(size), &width, &height, &channels) ||
      width <= 0 || height <= 0 || width > kPictureSideLimit || height > kPictureSideLimit ||
      std::int64_t{width} * height > kPicturePixelLimit) {
    throw invalid();
  }
  stbi_uc* rgba =
      stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
  if (rgba == nullptr) throw invalid();
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    const stbi_uc* p = rgba + i * 4;
    // Transparent pixels show the box's black background.
    picture.pixels[i] =
        p[3] < 128 ? 0u : (std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2]);
  }
  stbi_image_free(rgba);
  return picture;
}

Picture LoadPicture(const std::string& path) {
  std::string bytes;
  switch (ReadRegularFile(path, kPictureFileLimit, bytes)) {
    case FileRead::kRead:
      break;
    case FileRead::kMissing:
      throw RuntimeError(ErrorNumber::kFileNotFound, "File not found: " + path);
    case FileRead::kRefused:
      throw RuntimeError(ErrorNumber::kPathFileAccess, "Path/File access error: " + path);
  }
  return DecodePicture(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace mofu
