#include "platform/wayland/seat.hpp"

#include <linux/input-event-codes.h>
#include <unistd.h>
#include <wayland-client.h>

#include <string_view>
#include <utility>

#include "runtime/key_codes.hpp"

namespace mofu::wayland {
namespace {

// The modifier bits of the usual keymaps (Shift, Lock, Control, Mod1).
constexpr std::uint32_t kShiftMask = 1u << 0;
constexpr std::uint32_t kControlMask = 1u << 2;
constexpr std::uint32_t kAltMask = 1u << 3;

// Keys in a row on the keyboard have codes in a row.
constexpr std::pair<std::uint32_t, std::string_view> kRows[] = {
    {KEY_1, "1234567890"}, {KEY_Q, "QWERTYUIOP"}, {KEY_A, "ASDFGHJKL"}, {KEY_Z, "ZXCVBNM"}};

constexpr std::pair<std::uint32_t, std::int16_t> kOthers[] = {
    {KEY_ESC, keys::kEscape},       {KEY_ENTER, keys::kReturn},
    {KEY_KPENTER, keys::kReturn},   {KEY_SPACE, keys::kSpace},
    {KEY_TAB, keys::kTab},          {KEY_BACKSPACE, keys::kBack},
    {KEY_LEFTSHIFT, keys::kShift},  {KEY_RIGHTSHIFT, keys::kShift},
    {KEY_LEFTCTRL, keys::kControl}, {KEY_RIGHTCTRL, keys::kControl},
    {KEY_LEFTALT, keys::kAlt},      {KEY_RIGHTALT, keys::kAlt},
    {KEY_PAGEUP, keys::kPageUp},    {KEY_PAGEDOWN, keys::kPageDown},
    {KEY_END, keys::kEnd},          {KEY_HOME, keys::kHome},
    {KEY_LEFT, keys::kLeft},        {KEY_UP, keys::kUp},
    {KEY_RIGHT, keys::kRight},      {KEY_DOWN, keys::kDown},
    {KEY_INSERT, keys::kInsert},    {KEY_DELETE, keys::kDelete},
    {KEY_F11, keys::kF1 + 10},      {KEY_F12, keys::kF1 + 11},
};

// The classic virtual-key number of a Linux input key code (0 for a key
// without an obvious one), and the character it types on a US layout (0 for
// none). Without a keymap library this is an approximation, which is
// enough: every key ends the saver whatever its number.
std::int16_t VirtualKeyOf(std::uint32_t code) {
  for (const auto& [first, row] : kRows) {
    if (code >= first && code - first < row.size()) return row[code - first];
  }
  // F1 to F10 run in a row; F11 and F12 came later.
  if (code >= KEY_F1 && code <= KEY_F10)
    return keys::kF1 + static_cast<std::int16_t>(code - KEY_F1);
  for (const auto& [evdev, key] : kOthers) {
    if (evdev == code) return key;
  }
  return 0;
}

std::int16_t CharacterOf(std::uint32_t code, std::int16_t shift) {
  if ((shift & (keys::kControlDown | keys::kAltDown)) != 0) return 0;
  const std::int16_t key = VirtualKeyOf(code);
  const bool shifted = (shift & keys::kShiftDown) != 0;
  if (key >= 'A' && key <= 'Z') return shifted ? key : static_cast<std::int16_t>(key + 32);
  if (key >= '0' && key <= '9') return shifted ? 0 : key;
  const bool typed = key == keys::kEscape || key == keys::kReturn || key == keys::kSpace ||
                     key == keys::kTab || key == keys::kBack;
  return typed ? key : 0;
}

InputTrack* To(void* data) { return static_cast<Seat*>(data)->input; }

const SkyPlace* PlaceOf(wl_surface* surface) {
  return surface != nullptr ? static_cast<const SkyPlace*>(wl_surface_get_user_data(surface))
                            : nullptr;
}

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
          if (To(data) != nullptr && PlaceOf(surface) != nullptr) {
            To(data)->Enter(*PlaceOf(surface), wl_fixed_to_double(x), wl_fixed_to_double(y));
          }
        },
    .leave =
        [](void* data, wl_pointer*, uint32_t, wl_surface*) {
          if (To(data) != nullptr) To(data)->Leave();
        },
    .motion =
        [](void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
          if (To(data) != nullptr) To(data)->Motion(wl_fixed_to_double(x), wl_fixed_to_double(y));
        },
    .button =
        [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
          if (To(data) != nullptr) To(data)->Button(state == WL_POINTER_BUTTON_STATE_PRESSED);
        },
    .axis =
        [](void* data, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {
          if (To(data) == nullptr) return;
          // A wheel step: a press and a release, as on X11.
          To(data)->Button(true);
          To(data)->Button(false);
        },
};

const wl_keyboard_listener kKeyboardListener = {
    // The keymap is not needed: key codes are read as Linux input codes.
    .keymap = [](void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); },
    .enter = [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
    .leave =
        [](void* data, wl_keyboard*, uint32_t, wl_surface*) {
          if (To(data) != nullptr) To(data)->keyboard_lost = true;
        },
    .key =
        [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
          if (state == WL_KEYBOARD_KEY_STATE_PRESSED && To(data) != nullptr) {
            const std::int16_t shift = static_cast<Seat*>(data)->shift;
            To(data)->Key(VirtualKeyOf(key), shift, CharacterOf(key, shift));
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
          if (To(data) != nullptr && PlaceOf(surface) != nullptr) {
            To(data)->TouchDown(*PlaceOf(surface), wl_fixed_to_double(x), wl_fixed_to_double(y));
          }
        },
    .up =
        [](void* data, wl_touch*, uint32_t, uint32_t, int32_t) {
          if (To(data) != nullptr) To(data)->TouchUp();
        },
    .motion =
        [](void* data, wl_touch*, uint32_t, int32_t, wl_fixed_t x, wl_fixed_t y) {
          if (To(data) != nullptr) {
            To(data)->TouchMotion(wl_fixed_to_double(x), wl_fixed_to_double(y));
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
  Follow(caps & WL_SEAT_CAPABILITY_POINTER, pointer_, wl_seat_get_pointer, wl_pointer_add_listener,
         kPointerListener);
  Follow(caps & WL_SEAT_CAPABILITY_KEYBOARD, keyboard_, wl_seat_get_keyboard,
         wl_keyboard_add_listener, kKeyboardListener);
  Follow(caps & WL_SEAT_CAPABILITY_TOUCH, touch_, wl_seat_get_touch, wl_touch_add_listener,
         kTouchListener);
}

// Takes a device the seat gained, lets go of one it lost.
template <typename T, typename L>
void Seat::Follow(bool has, T*& device, T* (*get)(wl_seat*), int (*listen)(T*, const L*, void*),
                  const L& listener) {
  if (has && device == nullptr) {
    device = get(seat_);
    listen(device, &listener, this);
  } else if (!has && device != nullptr) {
    wl_proxy_destroy(reinterpret_cast<wl_proxy*>(std::exchange(device, nullptr)));
  }
}

}  // namespace mofu::wayland
