/* A virtual pointer for the Wayland tests: it joins the compositor's seat
 * and stays connected (a seat without a pointer drops the first pointer
 * event), and moves, clicks and scrolls on the lines written to a FIFO:
 *   move DX DY | warp X Y WIDTH HEIGHT | click | press | release | wheel
 * Usage: vpointer serve FIFO */
#include <errno.h>
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

static struct zwlr_virtual_pointer_manager_v1 *manager;
static struct wl_seat *seat;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                   uint32_t version) {
  (void)data;
  (void)version;
  if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
    manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
  else if (strcmp(interface, wl_seat_interface.name) == 0 && seat == NULL)
    seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name) {
  (void)data;
  (void)registry;
  (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static uint32_t now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static void run(struct zwlr_virtual_pointer_v1 *p, const char *line) {
  double dx, dy;
  unsigned x, y, w, h;
  if (sscanf(line, "move %lf %lf", &dx, &dy) == 2) {
    zwlr_virtual_pointer_v1_motion(p, now_ms(), wl_fixed_from_double(dx), wl_fixed_from_double(dy));
  } else if (sscanf(line, "warp %u %u %u %u", &x, &y, &w, &h) == 4) {
    zwlr_virtual_pointer_v1_motion_absolute(p, now_ms(), x, y, w, h);
  } else if (strncmp(line, "press", 5) == 0 || strncmp(line, "release", 7) == 0) {
    zwlr_virtual_pointer_v1_button(
        p, now_ms(), BTN_LEFT,
        line[0] == 'p' ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
  } else if (strncmp(line, "click", 5) == 0) {
    zwlr_virtual_pointer_v1_button(p, now_ms(), BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
    zwlr_virtual_pointer_v1_frame(p);
    zwlr_virtual_pointer_v1_button(p, now_ms(), BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
  } else if (strncmp(line, "wheel", 5) == 0) {
    zwlr_virtual_pointer_v1_axis_source(p, WL_POINTER_AXIS_SOURCE_WHEEL);
    zwlr_virtual_pointer_v1_axis(p, now_ms(), WL_POINTER_AXIS_VERTICAL_SCROLL,
                                 wl_fixed_from_int(15));
  } else {
    fprintf(stderr, "vpointer: unknown command: %s\n", line);
    return;
  }
  zwlr_virtual_pointer_v1_frame(p);
}

int main(int argc, char **argv) {
  if (argc != 3 || strcmp(argv[1], "serve") != 0) {
    fprintf(stderr, "usage: vpointer serve FIFO\n");
    return 2;
  }
  struct wl_display *display = wl_display_connect(NULL);
  if (display == NULL) {
    fprintf(stderr, "vpointer: no Wayland display\n");
    return 1;
  }
  struct wl_registry *registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &registry_listener, NULL);
  wl_display_roundtrip(display);
  if (manager == NULL) {
    fprintf(stderr, "vpointer: the compositor offers no virtual pointer\n");
    return 1;
  }
  struct zwlr_virtual_pointer_v1 *pointer =
      zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
  wl_display_roundtrip(display);
  if (mkfifo(argv[2], 0600) != 0 && errno != EEXIST) {
    perror("vpointer: mkfifo");
    return 1;
  }
  /* Opened read-write, the FIFO never reports the end of its writers. */
  int fifo = open(argv[2], O_RDWR | O_CLOEXEC);
  if (fifo < 0) {
    perror("vpointer: open");
    return 1;
  }
  char text[1024];
  size_t held = 0;
  for (;;) {
    struct pollfd fds[2] = {{fifo, POLLIN, 0}, {wl_display_get_fd(display), POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return 1;
    if (fds[1].revents != 0 && wl_display_dispatch(display) < 0) return 0;
    if (fds[0].revents != 0) {
      ssize_t n = read(fifo, text + held, sizeof text - 1 - held);
      if (n <= 0) return 0;
      held += (size_t)n;
      text[held] = '\0';
      char *line = text, *end;
      while ((end = strchr(line, '\n')) != NULL) {
        *end = '\0';
        run(pointer, line);
        line = end + 1;
      }
      held = strlen(line);
      memmove(text, line, held);
      if (held == sizeof text - 1) held = 0; /* a line too long: dropped */
      if (wl_display_flush(display) < 0) return 0;
    }
  }
}
