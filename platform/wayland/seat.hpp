#pragma once

#include <cstdint>

#include "platform/wayland/sky_geometry.hpp"

struct wl_seat;
struct wl_pointer;
struct wl_keyboard;
struct wl_touch;

namespace mofu::wayland {

// A seat and the keyboard, pointer and touch it has at the moment; a seat
// gains and loses them as devices come and go. The pointer is hidden on
// every surface it enters; a surface's user data is where it lies in the sky.
class Seat {
 public:
  Seat(std::uint32_t global, wl_seat* seat);
  ~Seat();
  Seat(const Seat&) = delete;
  Seat& operator=(const Seat&) = delete;

  std::uint32_t Global() const { return global_; }
  void Capabilities(std::uint32_t capabilities);

  InputTrack* input = nullptr;  // nullptr while the saver does not show
  std::int16_t shift = 0;       // the modifiers held, as key events carry them

 private:
  template <typename T, typename L>
  void Follow(bool has, T*& device, T* (*get)(wl_seat*), int (*listen)(T*, const L*, void*),
              const L& listener);

  std::uint32_t global_;
  wl_seat* seat_;
  wl_pointer* pointer_ = nullptr;
  wl_keyboard* keyboard_ = nullptr;
  wl_touch* touch_ = nullptr;
};

}  // namespace mofu::wayland
