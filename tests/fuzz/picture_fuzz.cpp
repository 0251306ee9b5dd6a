// libFuzzer target: any bytes handed to the picture decoder either give a
// whole picture or the run-time error the saver recovers from; nothing else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "runtime/picture.hpp"
#include "runtime/runtime_error.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const mofu::Picture picture = mofu::DecodePicture(data, size);
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) {
      std::abort();
    }
    // Every pixel is a colour, nothing above 24 bits.
    for (std::uint32_t pixel : picture.pixels) {
      if (pixel > 0xFFFFFFu) std::abort();
    }
  } catch (const mofu::RuntimeError&) {
  }
  return 0;
}
