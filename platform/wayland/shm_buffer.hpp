#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/rect.hpp"

struct wl_shm;
struct wl_buffer;

namespace mofu::wayland {

// A picture in shared memory that the compositor reads from. From the
// commit that hands it over until the compositor releases it, it is busy:
// it may be read, never written.
class ShmBuffer {
 public:
  // nullptr when the memory cannot be had.
  static std::unique_ptr<ShmBuffer> Create(wl_shm* shm, int width, int height);
  ~ShmBuffer();
  ShmBuffer(const ShmBuffer&) = delete;
  ShmBuffer& operator=(const ShmBuffer&) = delete;

  wl_buffer* Handle() const { return buffer_; }
  Rect Bounds() const { return {0, 0, width_, height_}; }
  std::uint32_t* Row(int y) const { return pixels_ + static_cast<std::size_t>(y) * width_; }
  // Copies `rect` of another buffer of the same size into this one.
  void CopyFrom(const ShmBuffer& other, const Rect& rect);

  bool busy = false;
  // Where the picture on screen is newer than this buffer's.
  std::vector<Rect> stale;

 private:
  ShmBuffer(wl_buffer* buffer, std::uint32_t* pixels, std::size_t bytes, int width, int height);

  wl_buffer* buffer_;
  std::uint32_t* pixels_;
  std::size_t bytes_;
  int width_;
  int height_;
};

}  // namespace mofu::wayland
