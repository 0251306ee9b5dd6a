#include "platform/x11/x11_sky_surface.hpp"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <time.h>

#include <cerrno>
#include <vector>

#include "platform/x11/blank_cursor.hpp"
#include "platform/x11/exit_signals.hpp"

namespace mofu::x11 {
namespace {

constexpr long kEventMask = KeyPressMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | ExposureMask | VisibilityChangeMask |
                            StructureNotifyMask;

std::int16_t ShiftState(unsigned state) {
  return static_cast<std::int16_t>(((state & ShiftMask) ? 1 : 0) | ((state & ControlMask) ? 2 : 0) |
                                   ((state & Mod1Mask) ? 4 : 0));
}

// The classic virtual-key numbers for the keys that have obvious ones.
std::int16_t KeyCodeOf(KeySym sym) {
  if (sym >= XK_a && sym <= XK_z) return static_cast<std::int16_t>(sym - XK_a + 'A');
  if ((sym >= XK_A && sym <= XK_Z) || (sym >= XK_0 && sym <= XK_9))
    return static_cast<std::int16_t>(sym);
  switch (sym) {
    case XK_Shift_L:
    case XK_Shift_R:
      return 16;
    case XK_Control_L:
    case XK_Control_R:
      return 17;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
      return 18;
    case XK_Return:
    case XK_KP_Enter:
      return 13;
    case XK_Escape:
      return 27;
    case XK_space:
      return 32;
    case XK_Tab:
      return 9;
    case XK_BackSpace:
      return 8;
    default:
      return static_cast<std::int16_t>(sym & 0xFF);
  }
}

// An 8-bit channel spread over the bits of a visual's colour mask.
unsigned long Scale(std::uint32_t channel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!(mask >> shift & 1)) ++shift;
  const unsigned long max = mask >> shift;
  return (channel * max / 255) << shift;
}

}  // namespace

X11SkySurface::X11SkySurface(Display* display) : display_(display) {
  const int screen = DefaultScreen(display_);
  width_ = DisplayWidth(display_, screen);
  height_ = DisplayHeight(display_, screen);
  visual_ = DefaultVisual(display_, screen);
  depth_ = DefaultDepth(display_, screen);
  direct_pixels_ = depth_ >= 24 && visual_->red_mask == 0xFF0000 &&
                   visual_->green_mask == 0x00FF00 && visual_->blue_mask == 0x0000FF;

  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display_, screen);
  attributes.event_mask = kEventMask;
  window_ =
      XCreateWindow(display_, RootWindow(display_, screen), 0, 0, static_cast<unsigned>(width_),
                    static_cast<unsigned>(height_), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
  XStoreName(display_, window_, "Mofu Saver");
  XGCValues values{};
  values.graphics_exposures = False;
  gc_ = XCreateGC(display_, window_, GCGraphicsExposures, &values);

  blank_cursor_ = CreateBlankCursor(display_, window_);
}

X11SkySurface::~X11SkySurface() {
  if (handed_) {
    XFreeGC(display_, gc_);
    XFlush(display_);
    return;
  }
  XUngrabKeyboard(display_, CurrentTime);
  XUngrabPointer(display_, CurrentTime);
  XFreeCursor(display_, blank_cursor_);
  XFreeGC(display_, gc_);
  XDestroyWindow(display_, window_);
  XFlush(display_);
}

void X11SkySurface::Show() {
  if (handed_) return;
  XMapRaised(display_, window_);
  XEvent event;
  // Grabs need a viewable window; the map is quick, but never wait forever.
  for (int i = 0; i < 200 && !mapped_; ++i) {
    if (XCheckTypedWindowEvent(display_, window_, MapNotify, &event)) {
      mapped_ = true;
    } else {
      XFlush(display_);
      struct timespec pause = {0, 5'000'000};
      nanosleep(&pause, nullptr);
    }
  }
  Grab();
}

// With the keyboard and pointer grabbed every key and click reaches the
// saver, whatever window had the focus before it started.
void X11SkySurface::Grab() {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (XGrabKeyboard(display_, window_, True, GrabModeAsync, GrabModeAsync, CurrentTime) ==
        GrabSuccess) {
      break;
    }
    struct timespec pause = {0, 10'000'000};
    nanosleep(&pause, nullptr);
  }
  XGrabPointer(display_, window_, True,
               ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask,
               GrabModeAsync, GrabModeAsync, None, pointer_hidden_ ? blank_cursor_ : None,
               CurrentTime);
}

void X11SkySurface::Hide() {
  if (handed_) return;
  XUngrabKeyboard(display_, CurrentTime);
  XUngrabPointer(display_, CurrentTime);
  XUnmapWindow(display_, window_);
  XFlush(display_);
  mapped_ = false;
}

void X11SkySurface::SetPointerHidden(bool hidden) {
  pointer_hidden_ = hidden;
  if (hidden) {
    XDefineCursor(display_, window_, blank_cursor_);
  } else {
    XUndefineCursor(display_, window_);
  }
  XChangeActivePointerGrab(
      display_, ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask,
      hidden ? blank_cursor_ : None, CurrentTime);
  XFlush(display_);
}

void X11SkySurface::Blit(const Rect& rect, const std::uint32_t* pixels, int stride) {
  XImage* image = XCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0,
                               nullptr, static_cast<unsigned>(rect.Width()),
                               static_cast<unsigned>(rect.Height()), 32, 0);
  if (image == nullptr) return;
  std::vector<char> converted;
  if (direct_pixels_ && image->bits_per_pixel == 32) {
    image->data = reinterpret_cast<char*>(const_cast<std::uint32_t*>(pixels));
    image->bytes_per_line = stride * 4;
  } else {
    converted.resize(static_cast<std::size_t>(image->bytes_per_line) * rect.Height());
    image->data = converted.data();
    for (int y = 0; y < rect.Height(); ++y) {
      for (int x = 0; x < rect.Width(); ++x) {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * stride + x];
        XPutPixel(image, x, y,
                  Scale(p >> 16 & 0xFF, image->red_mask) | Scale(p >> 8 & 0xFF, image->green_mask) |
                      Scale(p & 0xFF, image->blue_mask));
      }
    }
  }
  unsent_ = true;
  XPutImage(display_, window_, gc_, image, 0, 0, rect.left, rect.top,
            static_cast<unsigned>(rect.Width()), static_cast<unsigned>(rect.Height()));
  image->data = nullptr;  // the pixels are not Xlib's to free
  XDestroyImage(image);
}

// XFlush reads the connection as well as writing it: until the next look is
// due, what it found is all there is.
void X11SkySurface::Flush() {
  XFlush(display_);
  unsent_ = false;
  looks_.Read();
}

void X11SkySurface::PumpEvents(SkyInput& input, std::int64_t now_micros) {
  if (handed_ && HandedWindowEnds()) {
    input.CloseRequested();
    return;
  }
  // A sleep that input cut short has already read the connection. Between
  // looks only Xlib's own queue is seen, and its length (QLength) is read
  // without taking the display's lock.
  const bool look = looks_.Due(now_micros);
  while (look ? XEventsQueued(display_, QueuedAfterReading) > 0 : QLength(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    Dispatch(event, input);
  }
}

void X11SkySurface::Dispatch(const XEvent& event, SkyInput& input) {
  switch (event.type) {
    case Expose:
      input.Exposed({event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                     event.xexpose.y + event.xexpose.height});
      break;
    case MotionNotify:
      input.PointerReport(event.xmotion.x, event.xmotion.y);
      break;
    case EnterNotify:
      input.PointerReport(event.xcrossing.x, event.xcrossing.y);
      break;
    case ButtonPress:
      input.ButtonDown(event.xbutton.x, event.xbutton.y);
      break;
    case ButtonRelease:
      input.ButtonUp(event.xbutton.x, event.xbutton.y);
      break;
    case KeyPress: {
      XKeyEvent key = event.xkey;
      char text[8] = {};
      KeySym sym = NoSymbol;
      const int length = XLookupString(&key, text, sizeof text, &sym, nullptr);
      const std::int16_t character =
          length == 1 ? static_cast<std::int16_t>(static_cast<unsigned char>(text[0])) : 0;
      input.KeyDown(KeyCodeOf(sym), ShiftState(key.state), character);
      break;
    }
    // A handed window changes size or goes with its owner; the saver's own
    // window does neither, and a handed one never reports input.
    case ConfigureNotify:
      if (!handed_ || event.xconfigure.window != window_) break;
      if (event.xconfigure.width == width_ && event.xconfigure.height == height_) break;
      width_ = event.xconfigure.width;
      height_ = event.xconfigure.height;
      input.Resized();
      break;
    case DestroyNotify:
      if (handed_ && event.xdestroywindow.window == window_) input.CloseRequested();
      break;
    case VisibilityNotify:
      if (topmost_ && event.xvisibility.state != VisibilityUnobscured) {
        XRaiseWindow(display_, window_);
        unsent_ = true;
      }
      break;
    default:
      break;
  }
}

std::int64_t X11SkySurface::NowMicros() {
  struct timespec now {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

bool X11SkySurface::WaitForInput(std::int64_t deadline_micros) {
  if (QLength(display_) > 0) return true;
  // The frame was flushed as it was presented; flushing again would only
  // read the connection once more.
  if (unsent_) Flush();
  for (;;) {
    if (handed_ && HandedWindowEnds()) return true;
    const std::int64_t left = deadline_micros - NowMicros();
    if (left <= 0) return false;
    // In hack mode an ending signal wakes the wait as well.
    struct pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0},
                            {handed_ ? ExitSignals::WakeFd() : -1, POLLIN, 0}};
    struct timespec timeout = {static_cast<time_t>(left / 1'000'000),
                               static_cast<long>(left % 1'000'000) * 1000};
    const int ready = ppoll(fds, 2, &timeout, nullptr);
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) {
      // Nothing arrived while it slept, so nothing waits to be read.
      looks_.Read();
      return false;
    }
    if (ready < 0) return false;
    if (fds[1].revents != 0) return true;
    if (XEventsQueued(display_, QueuedAfterReading) > 0) return true;
  }
}

}  // namespace mofu::x11
