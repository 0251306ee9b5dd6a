/* Another program on the saver's display, doing what desktop programs do:
 *   x_actor grab SECONDS   holds the keyboard and the pointer on the root, as
 *                          a menu or a stuck program does, for SECONDS
 *                          (0: until killed), then prints "released"
 *   x_actor typist         a focused window that prints "key" for each key
 *   x_actor popup          a window in the desktop colour #123456 that maps
 *                          itself on top without asking, as a notification does
 * Prints "ready" once it has done its part; ends when killed. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static void say(const char* word) {
  printf("%s\n", word);
  fflush(stdout);
}

int main(int argc, char** argv) {
  Display* d = XOpenDisplay(NULL);
  if (d == NULL || argc < 2) return 2;
  Window root = DefaultRootWindow(d);
  if (strcmp(argv[1], "grab") == 0 && argc >= 3) {
    if (XGrabKeyboard(d, root, False, GrabModeAsync, GrabModeAsync, CurrentTime) != GrabSuccess ||
        XGrabPointer(d, root, False, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                     GrabModeAsync, None, None, CurrentTime) != GrabSuccess)
      return 1;
    XSync(d, False);
    say("ready");
    if (atof(argv[2]) > 0) {
      usleep((useconds_t)(atof(argv[2]) * 1e6));
      XUngrabKeyboard(d, CurrentTime);
      XUngrabPointer(d, CurrentTime);
      XSync(d, False);
      say("released");
    }
    for (;;) pause();
  }
  const int popup = strcmp(argv[1], "popup") == 0;
  if (!popup && strcmp(argv[1], "typist") != 0) return 2;
  XSetWindowAttributes a = {.background_pixel = 0x123456, .override_redirect = popup};
  Window win = XCreateWindow(d, root, 0, 0, 200, 200, 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWBackPixel | CWOverrideRedirect, &a);
  XSelectInput(d, win, KeyPressMask | StructureNotifyMask);
  XMapRaised(d, win);
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type == MapNotify) {
      if (!popup) XSetInputFocus(d, win, RevertToParent, CurrentTime);
      XSync(d, False);
      say("ready");
    }
    if (e.type == KeyPress) say("key");
  }
}
