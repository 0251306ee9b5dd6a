#pragma once

#include <cstdint>

struct wl_seat;
struct wl_pointer;
struct wl_keyboard;
struct wl_touch;
struct wl_surface;

struct wl_seat_listener;
struct wl_pointer_listener;
struct wl_keyboard_listener;
struct wl_touch_listener;

namespace mofu::wayland {

// Where a seat's input goes: the saver's surfaces, once they exist.
class SeatListener {
 public:
  virtual ~SeatListener() = default;
  virtual void PointerEnter(wl_surface* surface, double x, double y) = 0;
  virtual void PointerLeave() = 0;
  virtual void PointerMotion(double x, double y) = 0;
  virtual void PointerClick() = 0;
  virtual void TouchDown(wl_surface* surface, double x, double y) = 0;
  virtual void Key(std::uint32_t evdev_code, std::int16_t shift) = 0;
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
  void SetListener(SeatListener* listener) { listener_ = listener; }

 private:
  static const ::wl_seat_listener kSeatListener;
  static const ::wl_pointer_listener kPointerListener;
  static const ::wl_keyboard_listener kKeyboardListener;
  static const ::wl_touch_listener kTouchListener;
  void Capabilities(std::uint32_t capabilities);

  std::uint32_t global_;
  wl_seat* seat_;
  wl_pointer* pointer_ = nullptr;
  wl_keyboard* keyboard_ = nullptr;
  wl_touch* touch_ = nullptr;
  SeatListener* listener_ = nullptr;
  std::int16_t shift_ = 0;
};

}  // namespace mofu::wayland
