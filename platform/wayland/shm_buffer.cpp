#include "platform/wayland/shm_buffer.hpp"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstring>

namespace mofu::wayland {
namespace {

const wl_buffer_listener kListener = {
    .release = [](void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->busy = false; },
};

}  // namespace

std::unique_ptr<ShmBuffer> ShmBuffer::Create(wl_shm* shm, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  const std::size_t bytes = static_cast<std::size_t>(width) * height * 4;
  const int fd = memfd_create("mofu-sky", MFD_CLOEXEC);
  if (fd < 0) return nullptr;
  if (ftruncate(fd, static_cast<off_t>(bytes)) != 0) {
    close(fd);
    return nullptr;
  }
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (memory == MAP_FAILED) {
    close(fd);
    return nullptr;
  }
  // A fresh file reads as zeros: a black sky until something is drawn.
  wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(bytes));
  wl_buffer* buffer =
      wl_shm_pool_create_buffer(pool, 0, width, height, width * 4, WL_SHM_FORMAT_XRGB8888);
  wl_shm_pool_destroy(pool);
  close(fd);
  std::unique_ptr<ShmBuffer> made(
      new ShmBuffer(buffer, static_cast<std::uint32_t*>(memory), bytes, width, height));
  wl_buffer_add_listener(buffer, &kListener, made.get());
  return made;
}

ShmBuffer::ShmBuffer(wl_buffer* buffer, std::uint32_t* pixels, std::size_t bytes, int width,
                     int height)
    : buffer_(buffer), pixels_(pixels), bytes_(bytes), width_(width), height_(height) {}

ShmBuffer::~ShmBuffer() {
  wl_buffer_destroy(buffer_);
  munmap(pixels_, bytes_);
}

void ShmBuffer::CopyFrom(const ShmBuffer& other, const Rect& rect) {
  const Rect r = rect.Intersect(Bounds());
  if (r.Empty()) return;
  for (int y = r.top; y < r.bottom; ++y) {
    std::memcpy(Row(y) + r.left, other.Row(y) + r.left,
                static_cast<std::size_t>(r.Width()) * sizeof(std::uint32_t));
  }
}

}  // namespace mofu::wayland
