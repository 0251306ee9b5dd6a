#include "platform/picture.hpp"

#include <fstream>
#include <iterator>

#include "platform/runtime_error.hpp"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
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
  if (size == 0 || size > 64u << 20) throw RuntimeError(ErrorNumber::kInvalidPicture, "Invalid picture");
  stbi_uc* rgba = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
  if (rgba == nullptr) throw RuntimeError(ErrorNumber::kInvalidPicture, "Invalid picture");
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    const stbi_uc* p = rgba + i * 4;
    // Transparent pixels show the box's black background.
    picture.pixels[i] = p[3] < 128 ? 0u : (std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2]);
  }
  stbi_image_free(rgba);
  return picture;
}

Picture LoadPicture(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw RuntimeError(ErrorNumber::kFileNotFound, "File not found: " + path);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  return DecodePicture(bytes.data(), bytes.size());
}

}  // namespace mofu
