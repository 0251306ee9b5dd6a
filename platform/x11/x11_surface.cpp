#include "platform/x11/x11_surface.hpp"

#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <vector>

#include "platform/linux/wait.hpp"

namespace mofu::x11 {
namespace {

// An 8-bit channel spread over the bits of a visual's colour mask.
unsigned long Scale(std::uint32_t channel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!(mask >> shift & 1)) ++shift;
  const unsigned long max = mask >> shift;
  return (channel * max / 255) << shift;
}

}  // namespace

X11Surface::X11Surface(Display* display, Window window, int width, int height, Visual* visual,
                       int depth)
    : display_(display),
      window_(window),
      width_(width),
      height_(height),
      visual_(visual),
      depth_(depth) {
  direct_pixels_ = depth_ >= 24 && visual_->red_mask == 0xFF0000 &&
                   visual_->green_mask == 0x00FF00 && visual_->blue_mask == 0x0000FF;
  XGCValues values{};
  values.graphics_exposures = False;
  gc_ = XCreateGC(display_, window_, GCGraphicsExposures, &values);
}

X11Surface::~X11Surface() {
  XFreeGC(display_, gc_);
  XFlush(display_);
}

void X11Surface::Blit(const Rect& rect, const std::uint32_t* pixels, int stride) {
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
  unflushed_ = true;
  XPutImage(display_, window_, gc_, image, 0, 0, rect.left, rect.top,
            static_cast<unsigned>(rect.Width()), static_cast<unsigned>(rect.Height()));
  image->data = nullptr;  // the pixels are not Xlib's to free
  XDestroyImage(image);
}

// XFlush reads the connection as well as writing it: until the next peek is
// due, what it found is all there is.
void X11Surface::Flush() {
  XFlush(display_);
  unflushed_ = false;
  peeks_.MarkQueueRead();
}

void X11Surface::PumpEvents(SkyInput& input, std::int64_t now_micros) {
  if (Ending()) {
    input.CloseRequested();
    return;
  }
  // A sleep that input cut short has already read the connection. Between
  // peeks only Xlib's own queue is seen, and its length (QLength) is read
  // without taking the display's lock.
  const bool peek = peeks_.PeekNow(now_micros);
  while (peek ? XEventsQueued(display_, QueuedAfterReading) > 0 : QLength(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == Expose) {
      input.Exposed({event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                     event.xexpose.y + event.xexpose.height});
    } else {
      Dispatch(event, input);
    }
  }
  AfterEvents(input, now_micros);
}

// The rate is read from the configuration the server already has: asking
// for the screen's information instead makes the server probe its outputs,
// which takes tens of milliseconds on real monitors, may make them flicker,
// and on some servers sends a root ConfigureNotify of a size it does not
// have. The monitor under the sky's centre sets the pace, else the fastest.
std::int64_t X11Surface::RefreshMicros() {
  int event_base = 0;
  int error_base = 0;
  int major = 0;
  int minor = 0;
  if (!XRRQueryExtension(display_, &event_base, &error_base) ||
      !XRRQueryVersion(display_, &major, &minor) || major * 100 + minor < 103) {
    return 0;
  }
  const Window root = DefaultRootWindow(display_);
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display_, root);
  if (resources == nullptr) return 0;
  int centre_x = 0;
  int centre_y = 0;
  Window child = 0;
  XTranslateCoordinates(display_, window_, root, width_ / 2, height_ / 2, &centre_x, &centre_y,
                        &child);
  double fastest = 0;
  double under_sky = 0;
  for (int c = 0; c < resources->ncrtc; ++c) {
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display_, resources, resources->crtcs[c]);
    if (crtc == nullptr) continue;
    for (int m = 0; m < resources->nmode && crtc->mode != None; ++m) {
      const XRRModeInfo& mode = resources->modes[m];
      if (mode.id != crtc->mode || mode.hTotal == 0 || mode.vTotal == 0) continue;
      double lines = mode.vTotal;
      if (mode.modeFlags & RR_DoubleScan) lines *= 2;
      if (mode.modeFlags & RR_Interlace) lines /= 2;
      const double rate = static_cast<double>(mode.dotClock) / (mode.hTotal * lines);
      fastest = std::max(fastest, rate);
      const bool under = centre_x >= crtc->x && centre_y >= crtc->y &&
                         centre_x < crtc->x + static_cast<int>(crtc->width) &&
                         centre_y < crtc->y + static_cast<int>(crtc->height);
      if (under && under_sky == 0) under_sky = rate;
    }
    XRRFreeCrtcInfo(crtc);
  }
  XRRFreeScreenResources(resources);
  const double rate = under_sky > 0 ? under_sky : fastest;
  // Below 10 Hz a server is telling a made-up mode, not a monitor.
  return rate >= 10 ? static_cast<std::int64_t>(1e6 / rate + 0.5) : 0;
}

std::int64_t X11Surface::NowMicros() { return linux_os::MonotonicMicros(); }

bool X11Surface::WaitForInput(std::int64_t deadline_micros) {
  if (QLength(display_) > 0) return true;
  // The frame was flushed as it was presented; flushing again would only
  // read the connection once more.
  if (unflushed_) Flush();
  for (;;) {
    if (Ending()) return true;
    if (deadline_micros <= NowMicros()) return false;
    switch (linux_os::WaitReadable(ConnectionNumber(display_), WakeFd(), deadline_micros)) {
      case linux_os::Woke::kDeadline:
        // Nothing arrived while it slept, so nothing waits to be read.
        peeks_.MarkQueueRead();
        return false;
      case linux_os::Woke::kWakeFd:
        return true;
      case linux_os::Woke::kConnection:
        if (XEventsQueued(display_, QueuedAfterReading) > 0) return true;
        break;
    }
  }
}

}  // namespace mofu::x11
