/* Another program on the saver's display, doing what desktop programs do:
 *   x_actor grab SECONDS             holds the keyboard and the pointer on
 *                                    the root, as a menu or a stuck program
 *                                    does, for SECONDS (0: until killed)
 *   x_actor popup                    maps an override-redirect window, as a
 *                                    notification or a menu does
 *   x_actor typist                   a focused window that prints each key
 * Prints "ready" once it has done its part; ends when killed. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static void ready(const char* word) {
  printf("%s\n", word);
  fflush(stdout);
}

static int grab(Display* d, double seconds) {
  Window root = DefaultRootWindow(d);
  if (XGrabKeyboard(d, root, False, GrabModeAsync, GrabModeAsync, CurrentTime) != GrabSuccess ||
      XGrabPointer(d, root, False, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                   GrabModeAsync, None, None, CurrentTime) != GrabSuccess)
    return 1;
  XSync(d, False);
  ready("ready");
  if (seconds <= 0)
    for (;;) pause();
  usleep((useconds_t)(seconds * 1e6));
  XUngrabKeyboard(d, CurrentTime);
  XUngrabPointer(d, CurrentTime);
  XSync(d, False);
  ready("released");
  for (;;) pause();
}

/* A window in a colour no star has, so any of it left visible is found. */
static Window colour_window(Display* d, int override_redirect, int w, int h) {
  XSetWindowAttributes a = {0};
  a.override_redirect = override_redirect;
  a.background_pixel = 0x123456;
  a.event_mask = KeyPressMask | ExposureMask | StructureNotifyMask;
  Window win = XCreateWindow(d, DefaultRootWindow(d), 0, 0, w, h, 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &a);
  XMapRaised(d, win);
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type == MapNotify) return win;
  }
}

int main(int argc, char** argv) {
  Display* d = XOpenDisplay(NULL);
  if (d == NULL || argc < 2) return 2;
  if (strcmp(argv[1], "grab") == 0 && argc >= 3) {
    return grab(d, atof(argv[2]));
  }
  if (strcmp(argv[1], "popup") == 0) {
    colour_window(d, True, 300, 100);
    ready("ready");
    for (;;) pause();
  }
  if (strcmp(argv[1], "typist") == 0) {
    Window win = colour_window(d, False, 200, 200);
    XSetInputFocus(d, win, RevertToParent, CurrentTime);
    XSync(d, False);
    ready("ready");
    for (;;) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == KeyPress) ready("key");
    }
  }
  return 2;
}
