/* Plays the part of a screen-saver daemon's window: a mapped, black child of
 * the root window at the given place, its id printed in hex. The window lives
 * until this helper is killed, which destroys it.
 * Usage: child_window X Y WIDTH HEIGHT */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: %s X Y WIDTH HEIGHT\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) {
    fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  const int screen = DefaultScreen(display);
  Window window = XCreateSimpleWindow(
      display, RootWindow(display, screen), atoi(argv[1]), atoi(argv[2]), (unsigned)atoi(argv[3]),
      (unsigned)atoi(argv[4]), 0, BlackPixel(display, screen), BlackPixel(display, screen));
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify) {
      printf("0x%lx\n", window);
      fflush(stdout);
    }
  }
}
