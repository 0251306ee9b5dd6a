#include "platform/wayland/seat.hpp"

#include <unistd.h>
#include <wayland-client.h>

#include <utility>

#include "platform/wayland/key_codes.hpp"
#include "runtime/key_codes.hpp"

namespace mofu::wayland {
namespace {

// The modifier bits of the usual keymaps (Shift, Lock, Control, Mod1).
constexpr std::uint32_t kShiftMask = 1u << 0;
constexpr std::uint32_t kControlMask = 1u << 2;
constexpr std::uint32_t kAltMask = 1u << 3;

// The seat's listener, or nullptr while no saver surface listens.
SeatListener* To(void* data) { return static_cast<Seat*>(data)->listener; }

const wl_seat_listener kSeatListener = {
    .capabilities = [](void* data, wl_seat*,
                       uint32_t caps) { static_cast<Seat*>(data)->Capabilities(caps); },
};

const wl_pointer_listener kPointerListener = {
    .enter =
        [](void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t x,
           wl_fixed_t y) {
          // No cursor surface: nothing of the pointer shows over the sky.
          wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
          const SkyPlace* place = To(data) != nullptr ? To(data)->PlaceOf(surface) : nullptr;
          if (place != nullptr) {
            To(data)->Track().Enter(*place, wl_fixed_to_double(x), wl_fixed_to_double(y));
          }
        },
    .leave =
        [](void* data, wl_pointer*, uint32_t, wl_surface*) {
          if (To(data) != nullptr) To(data)->Track().Leave();
        },
    .motion =
        [](void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
          if (To(data) != nullptr)
            To(data)->Track().Motion(wl_fixed_to_double(x), wl_fixed_to_double(y));
        },
    .button =
        [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
          if (To(data) != nullptr)
            To(data)->Track().Button(state == WL_POINTER_BUTTON_STATE_PRESSED);
        },
    .axis =
        [](void* data, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {
          if (To(data) != nullptr) To(data)->Track().Wheel();
        },
};

const wl_keyboard_listener kKeyboardListener = {
    // The keymap is not needed: key codes are read as Linux input codes.
    .keymap = [](void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); },
    .enter = [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
    .leave =
        [](void* data, wl_keyboard*, uint32_t, wl_surface*) {
          if (To(data) != nullptr) To(data)->KeyboardLeft();
        },
    .key =
        [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
          if (state == WL_KEYBOARD_KEY_STATE_PRESSED && To(data) != nullptr) {
            const std::int16_t shift = static_cast<Seat*>(data)->shift;
            To(data)->Input().KeyDown(VirtualKeyOf(key), shift, CharacterOf(key, shift));
          }
        },
    .modifiers =
        [](void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t,
           uint32_t) {
          const std::uint32_t held = depressed | latched;
          static_cast<Seat*>(data)->shift =
              static_cast<std::int16_t>(((held & kShiftMask) ? keys::kShiftDown : 0) |
                                        ((held & kControlMask) ? keys::kControlDown : 0) |
                                        ((held & kAltMask) ? keys::kAltDown : 0));
        },
};

// A touch is a click: a press where the finger lands, a release where it
// lifts.
const wl_touch_listener kTouchListener = {
    .down =
        [](void* data, wl_touch*, uint32_t, uint32_t, wl_surface* surface, int32_t, wl_fixed_t x,
           wl_fixed_t y) {
          const SkyPlace* place = To(data) != nullptr ? To(data)->PlaceOf(surface) : nullptr;
          if (place != nullptr) {
            To(data)->Track().TouchDown(*place, wl_fixed_to_double(x), wl_fixed_to_double(y));
          }
        },
    .up =
        [](void* data, wl_touch*, uint32_t, uint32_t, int32_t) {
          if (To(data) != nullptr) To(data)->Track().TouchUp();
        },
    .motion =
        [](void* data, wl_touch*, uint32_t, int32_t, wl_fixed_t x, wl_fixed_t y) {
          if (To(data) != nullptr) {
            To(data)->Track().TouchMotion(wl_fixed_to_double(x), wl_fixed_to_double(y));
          }
        },
    .frame = [](void*, wl_touch*) {},
    .cancel = [](void*, wl_touch*) {},
};

}  // namespace

Seat::Seat(std::uint32_t global, wl_seat* seat) : global_(global), seat_(seat) {
  wl_seat_add_listener(seat_, &kSeatListener, this);
}

// Version 1 of the seat, whose devices have no release request.
Seat::~Seat() {
  Capabilities(0);
  wl_seat_destroy(seat_);
}

void Seat::Capabilities(std::uint32_t caps) {
  if ((caps & WL_SEAT_CAPABILITY_POINTER) && pointer_ == nullptr) {
    pointer_ = wl_seat_get_pointer(seat_);
    wl_pointer_add_listener(pointer_, &kPointerListener, this);
  } else if (!(caps & WL_SEAT_CAPABILITY_POINTER) && pointer_ != nullptr) {
    wl_pointer_destroy(std::exchange(pointer_, nullptr));
  }
  if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && keyboard_ == nullptr) {
    keyboard_ = wl_seat_get_keyboard(seat_);
    wl_keyboard_add_listener(keyboard_, &kKeyboardListener, this);
  } else if (!(caps & WL_SEAT_CAPABILITY_KEYBOARD) && keyboard_ != nullptr) {
    wl_keyboard_destroy(std::exchange(keyboard_, nullptr));
  }
  if ((caps & WL_SEAT_CAPABILITY_TOUCH) && touch_ == nullptr) {
    touch_ = wl_seat_get_touch(seat_);
    wl_touch_add_listener(touch_, &kTouchListener, this);
  } else if (!(caps & WL_SEAT_CAPABILITY_TOUCH) && touch_ != nullptr) {
    wl_touch_destroy(std::exchange(touch_, nullptr));
  }
}

}  // namespace mofu::wayland
