#pragma once

#include <cstdint>

#include "platform/wayland/sky_geometry.hpp"

struct wl_seat;
struct wl_pointer;
struct wl_keyboard;
struct wl_touch;
struct wl_surface;

namespace mofu::wayland {

// Where a seat's input goes: the saver's surfaces, once they exist.
class SeatListener {
 public:
  virtual ~SeatListener() = default;
  // Where a surface of the saver shows its sky; nullptr for any other.
  virtual const SkyPlace* PlaceOf(wl_surface* surface) const = 0;
  virtual PointerTrack& Track() = 0;
  // Where keys go.
  virtual SkyInput& Input() = 0;
  virtual void KeyboardLeft() = 0;
};

// A seat and the keyboard, pointer and touch it has at the moment; a seat
// gains and loses them as devices come and go. The pointer is hidden on
// every surface it enters.
class Seat {
 public:
  Seat(std::uint32_t global, wl_seat* seat);
  ~Seat();
  Seat(const Seat&) = delete;
  Seat& operator=(const Seat&) = delete;

  std::uint32_t Global() const { return global_; }
  void Capabilities(std::uint32_t capabilities);

  SeatListener* listener = nullptr;
  std::int16_t shift = 0;  // the modifiers held, as key events carry them

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
