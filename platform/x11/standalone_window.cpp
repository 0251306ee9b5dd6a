#include "platform/x11/standalone_window.hpp"

#include <cstdio>

#include "platform/linux/wait.hpp"
#include "platform/x11/blank_cursor.hpp"
#include "platform/x11/x11_keys.hpp"
#include "runtime/retry.hpp"
#include "runtime/runtime_error.hpp"

namespace mofu::x11 {
namespace {

constexpr long kWindowEvents =
    KeyPressMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
    LeaveWindowMask | FocusChangeMask | ExposureMask | VisibilityChangeMask | StructureNotifyMask;
constexpr unsigned kPointerEvents =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
// The screen's size, and every other top-level window coming, going or
// moving in the stacking order: a compositing manager sends no visibility
// events, so these are how the saver learns that something covers it.
constexpr long kRootEvents = StructureNotifyMask | SubstructureNotifyMask;

// A menu or a stuck program may hold the input for a moment as the saver
// starts; longer than this, and it is not letting go.
constexpr std::int64_t kGrabBudgetMicros = 1'500'000;
constexpr std::int64_t kGrabPauseMicros = 20'000;
// Grabs taken back and stacking checked at most this often, so that two
// programs that each want to be on top cannot keep the saver busy.
constexpr std::int64_t kRepairMicros = 100'000;

// Other programs' windows come and go between the saver's look at the
// stacking order and its question about one of them: such a window being
// gone is no error. Anything else is reported and lived with, rather than
// ending the saver through Xlib's default handler.
int OnError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow) return 0;
  char text[128] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "mofu: X error: %s (request %d)\n", text, error->request_code);
  return 0;
}

}  // namespace

std::unique_ptr<StandaloneWindow> StandaloneWindow::Create(Display* display) {
  XSetErrorHandler(OnError);
  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  const int width = DisplayWidth(display, screen);
  const int height = DisplayHeight(display, screen);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display, screen);
  attributes.event_mask = kWindowEvents;
  const Window window =
      XCreateWindow(display, root, 0, 0, static_cast<unsigned>(width),
                    static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
  XStoreName(display, window, "Mofu Saver");
  return std::unique_ptr<StandaloneWindow>(
      new StandaloneWindow(display, root, window, width, height));
}

StandaloneWindow::StandaloneWindow(Display* display, Window root, Window window, int width,
                                   int height)
    : X11Surface(display, window, width, height, DefaultVisual(display, DefaultScreen(display)),
                 DefaultDepth(display, DefaultScreen(display))),
      root_(root) {
  blank_cursor_ = CreateBlankCursor(display_, window_);
  XSelectInput(display_, root_, kRootEvents);
}

StandaloneWindow::~StandaloneWindow() {
  ReleaseInput();
  XSelectInput(display_, root_, NoEventMask);
  XFreeCursor(display_, blank_cursor_);
  XDestroyWindow(display_, window_);
}

void StandaloneWindow::Show() {
  if (showing_) return;
  // The root is always viewable, so the grabs can be had before anything
  // covers the screen; they move to the sky once it is mapped.
  const bool held = RetryWithin(
      kGrabBudgetMicros, kGrabPauseMicros, [this] { return TakeInput(root_); },
      [this] { return NowMicros(); }, linux_os::SleepMicros);
  if (!held) {
    const bool keyboard = !keyboard_held_;
    ReleaseInput();
    XFlush(display_);
    throw InputHeldElsewhere(std::string("another program holds the ") +
                             (keyboard ? "keyboard" : "pointer") + "; the screen was not covered");
  }
  showing_ = true;
  input_lost_ = !HoldOnSky();
  MarkUnflushed();
}

// Maps the sky if it is not, and takes the grabs onto it and the focus with
// them; false when the grabs could not be had.
bool StandaloneWindow::HoldOnSky() {
  if (!mapped_) {
    XMapRaised(display_, window_);
    WaitUntilMapped();
  }
  if (!TakeInput(window_)) return false;
  XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
  return true;
}

void StandaloneWindow::Hide() {
  showing_ = false;
  ReleaseInput();
  XUnmapWindow(display_, window_);
  XFlush(display_);
  mapped_ = false;
}

// Grabs need a viewable window; the map is quick, but never wait forever.
void StandaloneWindow::WaitUntilMapped() {
  XEvent event;
  for (int i = 0; i < 200 && !mapped_; ++i) {
    if (XCheckTypedWindowEvent(display_, window_, MapNotify, &event)) {
      mapped_ = true;
    } else {
      XFlush(display_);
      linux_os::SleepMicros(5'000);
    }
  }
}

// One try at both grabs. A grab this program already holds is simply taken
// again, onto `on`.
bool StandaloneWindow::TakeInput(Window on) {
  keyboard_held_ =
      XGrabKeyboard(display_, on, True, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
  pointer_held_ =
      XGrabPointer(display_, on, True, kPointerEvents, GrabModeAsync, GrabModeAsync, None,
                   pointer_hidden_ ? blank_cursor_ : None, CurrentTime) == GrabSuccess;
  return keyboard_held_ && pointer_held_;
}

void StandaloneWindow::ReleaseInput() {
  if (keyboard_held_) XUngrabKeyboard(display_, CurrentTime);
  if (pointer_held_) XUngrabPointer(display_, CurrentTime);
  keyboard_held_ = pointer_held_ = false;
}

void StandaloneWindow::SetPointerHidden(bool hidden) {
  pointer_hidden_ = hidden;
  if (hidden) {
    XDefineCursor(display_, window_, blank_cursor_);
  } else {
    XUndefineCursor(display_, window_);
  }
  if (pointer_held_) {
    XChangeActivePointerGrab(display_, kPointerEvents, hidden ? blank_cursor_ : None, CurrentTime);
  }
  XFlush(display_);
}

void StandaloneWindow::Dispatch(const XEvent& event, SkyInput& input) {
  switch (event.type) {
    case MotionNotify:
      input.PointerReport(event.xmotion.x, event.xmotion.y);
      break;
    case EnterNotify:
      input.PointerReport(event.xcrossing.x, event.xcrossing.y);
      break;
    case LeaveNotify:
      if (event.xcrossing.mode == NotifyUngrab) input_lost_ = true;
      break;
    case FocusOut:
      if (event.xfocus.mode == NotifyUngrab || event.xfocus.mode == NotifyNormal) {
        input_lost_ = true;
      }
      break;
    case ButtonPress:
      input.ButtonDown(event.xbutton.x, event.xbutton.y);
      break;
    case ButtonRelease:
      input.ButtonUp(event.xbutton.x, event.xbutton.y);
      break;
    case KeyPress: {
      const KeyReport key = TranslateKey(event.xkey);
      input.KeyDown(key.key_code, key.shift, key.character);
      break;
    }
    case MapNotify:
      if (event.xmap.window == window_) {
        mapped_ = true;
      } else {
        stacking_changed_ = true;
      }
      break;
    case UnmapNotify:
      // Unmapped by someone else: the grabs went with it.
      if (event.xunmap.window == window_) {
        mapped_ = false;
        input_lost_ = true;
      }
      break;
    case CirculateNotify:
      if (event.xcirculate.window != window_ && event.xcirculate.place == PlaceOnTop) {
        stacking_changed_ = true;
      }
      break;
    case ConfigureNotify:
      if (event.xconfigure.window == root_) {
        FollowRootSize(input);
      } else if (event.xconfigure.window != window_) {
        stacking_changed_ = true;
      }
      break;
    case VisibilityNotify:
      if (topmost_ && event.xvisibility.state != VisibilityUnobscured) stacking_changed_ = true;
      break;
    default:
      break;
  }
}

// The screen grew or shrank (a mode change, a monitor added or removed):
// cover all of it, with a fresh sky of its size. The size is the root's own,
// asked for: some servers send a root ConfigureNotify of one monitor's size
// while the screen spans two, and believing it would uncover the second.
void StandaloneWindow::FollowRootSize(SkyInput& input) {
  Window root = 0;
  int x = 0;
  int y = 0;
  unsigned width = 0;
  unsigned height = 0;
  unsigned border = 0;
  unsigned depth = 0;
  if (XGetGeometry(display_, root_, &root, &x, &y, &width, &height, &border, &depth) == 0) return;
  if (static_cast<int>(width) == Width() && static_cast<int>(height) == Height()) return;
  SetSize(static_cast<int>(width), static_cast<int>(height));
  XMoveResizeWindow(display_, window_, 0, 0, width, height);
  MarkUnflushed();
  input.Resized();
}

void StandaloneWindow::AfterEvents(SkyInput&, std::int64_t now_micros) {
  if (!showing_ || !(input_lost_ || stacking_changed_)) return;
  if (now_micros - last_repair_micros_ < kRepairMicros) return;
  last_repair_micros_ = now_micros;
  if (input_lost_) input_lost_ = !HoldOnSky();
  if (stacking_changed_) {
    stacking_changed_ = false;
    if (topmost_ && SomethingAbove()) XRaiseWindow(display_, window_);
  }
  MarkUnflushed();
}

// Whether a window that can be seen stands above the sky. The stacking
// order lists the root's children bottom to top; a compositing manager's
// overlay is not among them.
bool StandaloneWindow::SomethingAbove() {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display_, root_, &root, &parent, &children, &count) == 0) return false;
  bool above = false;
  bool past_sky = false;
  for (unsigned i = 0; i < count && !above; ++i) {
    if (children[i] == window_) {
      past_sky = true;
      continue;
    }
    if (!past_sky) continue;
    XWindowAttributes attributes{};
    above = XGetWindowAttributes(display_, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable && attributes.c_class == InputOutput;
  }
  if (children != nullptr) XFree(children);
  return above;
}

}  // namespace mofu::x11
