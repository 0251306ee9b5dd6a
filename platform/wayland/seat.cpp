#include "platform/wayland/seat.hpp"

#include <unistd.h>
#include <wayland-client.h>

#include "platform/wayland/key_codes.hpp"
#include "runtime/key_codes.hpp"

namespace mofu::wayland {
namespace {

// The modifier bits of the usual keymaps (Shift, Lock, Control, Mod1).
constexpr std::uint32_t kShiftMask = 1u << 0;
constexpr std::uint32_t kControlMask = 1u << 2;
constexpr std::uint32_t kAltMask = 1u << 3;

Seat* Of(void* data) { return static_cast<Seat*>(data); }

}  // namespace

const wl_seat_listener Seat::kSeatListener = {
    .capabilities = [](void* data, wl_seat*, uint32_t caps) { Of(data)->Capabilities(caps); },
    .name = [](void*, wl_seat*, const char*) {},
};

const wl_pointer_listener Seat::kPointerListener = {
    .enter =
        [](void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t x,
           wl_fixed_t y) {
          // No cursor surface: nothing of the pointer shows over the sky.
          wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
          if (Of(data)->listener_ != nullptr) {
            Of(data)->listener_->PointerEnter(surface, wl_fixed_to_double(x),
                                              wl_fixed_to_double(y));
          }
        },
    .leave =
        [](void* data, wl_pointer*, uint32_t, wl_surface*) {
          if (Of(data)->listener_ != nullptr) Of(data)->listener_->PointerLeave();
        },
    .motion =
        [](void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
          if (Of(data)->listener_ != nullptr) {
            Of(data)->listener_->PointerMotion(wl_fixed_to_double(x), wl_fixed_to_double(y));
          }
        },
    .button =
        [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
          if (state == WL_POINTER_BUTTON_STATE_PRESSED && Of(data)->listener_ != nullptr) {
            Of(data)->listener_->PointerClick();
          }
        },
    .axis =
        [](void* data, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {
          if (Of(data)->listener_ != nullptr) Of(data)->listener_->PointerClick();
        },
    .frame = [](void*, wl_pointer*) {},
    .axis_source = [](void*, wl_pointer*, uint32_t) {},
    .axis_stop = [](void*, wl_pointer*, uint32_t, uint32_t) {},
    .axis_discrete = [](void*, wl_pointer*, uint32_t, int32_t) {},
#ifdef WL_POINTER_AXIS_VALUE120_SINCE_VERSION
    .axis_value120 = [](void*, wl_pointer*, uint32_t, int32_t) {},
#endif
};

const wl_keyboard_listener Seat::kKeyboardListener = {
    // The keymap is not needed: key codes are read as Linux input codes.
    .keymap = [](void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); },
    .enter = [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
    .leave = [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
    .key =
        [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
          if (state == WL_KEYBOARD_KEY_STATE_PRESSED && Of(data)->listener_ != nullptr) {
            Of(data)->listener_->Key(key, Of(data)->shift_);
          }
        },
    .modifiers =
        [](void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t,
           uint32_t) {
          const std::uint32_t held = depressed | latched;
          Of(data)->shift_ =
              static_cast<std::int16_t>(((held & kShiftMask) ? keys::kShiftDown : 0) |
                                        ((held & kControlMask) ? keys::kControlDown : 0) |
                                        ((held & kAltMask) ? keys::kAltDown : 0));
        },
    .repeat_info = [](void*, wl_keyboard*, int32_t, int32_t) {},
};

const wl_touch_listener Seat::kTouchListener = {
    .down =
        [](void* data, wl_touch*, uint32_t, uint32_t, wl_surface* surface, int32_t, wl_fixed_t x,
           wl_fixed_t y) {
          if (Of(data)->listener_ != nullptr) {
            Of(data)->listener_->TouchDown(surface, wl_fixed_to_double(x), wl_fixed_to_double(y));
          }
        },
    .up = [](void*, wl_touch*, uint32_t, uint32_t, int32_t) {},
    .motion = [](void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {},
    .frame = [](void*, wl_touch*) {},
    .cancel = [](void*, wl_touch*) {},
    .shape = [](void*, wl_touch*, int32_t, wl_fixed_t, wl_fixed_t) {},
    .orientation = [](void*, wl_touch*, int32_t, wl_fixed_t) {},
};

Seat::Seat(std::uint32_t global, wl_seat* seat) : global_(global), seat_(seat) {
  wl_seat_add_listener(seat_, &kSeatListener, this);
}

namespace {

template <typename T>
void Drop(T*& device, void (*release)(T*), void (*destroy)(T*), bool can_release) {
  if (device == nullptr) return;
  (can_release ? release : destroy)(device);
  device = nullptr;
}

}  // namespace

Seat::~Seat() {
  Capabilities(0);
  if (wl_seat_get_version(seat_) >= WL_SEAT_RELEASE_SINCE_VERSION) {
    wl_seat_release(seat_);
  } else {
    wl_seat_destroy(seat_);
  }
}

void Seat::Capabilities(std::uint32_t caps) {
  const bool can_release = wl_seat_get_version(seat_) >= WL_POINTER_RELEASE_SINCE_VERSION;
  if ((caps & WL_SEAT_CAPABILITY_POINTER) && pointer_ == nullptr) {
    pointer_ = wl_seat_get_pointer(seat_);
    wl_pointer_add_listener(pointer_, &kPointerListener, this);
  } else if (!(caps & WL_SEAT_CAPABILITY_POINTER)) {
    Drop(pointer_, wl_pointer_release, wl_pointer_destroy, can_release);
  }
  if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && keyboard_ == nullptr) {
    keyboard_ = wl_seat_get_keyboard(seat_);
    wl_keyboard_add_listener(keyboard_, &kKeyboardListener, this);
  } else if (!(caps & WL_SEAT_CAPABILITY_KEYBOARD)) {
    Drop(keyboard_, wl_keyboard_release, wl_keyboard_destroy, can_release);
  }
  if ((caps & WL_SEAT_CAPABILITY_TOUCH) && touch_ == nullptr) {
    touch_ = wl_seat_get_touch(seat_);
    wl_touch_add_listener(touch_, &kTouchListener, this);
  } else if (!(caps & WL_SEAT_CAPABILITY_TOUCH)) {
    Drop(touch_, wl_touch_release, wl_touch_destroy, can_release);
  }
}

}  // namespace mofu::wayland
