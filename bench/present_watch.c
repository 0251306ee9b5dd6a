/* Watches the saver's presents from outside: DAMAGE on its window, and after
 * each present a look at where the cat stands on screen.
 *
 *   present_watch [--seconds S] [--wait-cat S] [--name NAME]
 *
 * Finds the mapped, override-redirect, full-screen window called NAME
 * ("Mofu Saver"), waits until the cat is on screen, then watches S seconds
 * or until the cat walks off the left edge, whichever comes first. Prints one
 * line of key=value pairs:
 *   seconds presents presents_per_s   what was watched
 *   tracked                           presents after which the cat was found
 *                                     both then and at the present before
 *   moves=0:N,1:N,...                 how far the cat moved left per present
 *   moved max_move back lost          presents that moved it, the largest
 *                                     move, moves to the right (none are
 *                                     expected), presents it was not found
 *   unseen stalls                     presents left out of the moves: this
 *                                     watcher was late for them, or the
 *                                     saver came more than 100 ms late
 * Exit status 0 when it watched, 1 when the window or the cat never showed.
 *
 * A present is a batch of damage reports that arrive together: the saver
 * sends each changed rectangle as an image and then flushes, so the server
 * takes them in one go, and the next present is milliseconds away. The
 * server's time on each report tells presents apart that reached this
 * watcher together because it was kept off the processor.
 *
 * The cat is the only thing on the sky in colours outside the 16-colour
 * palette: stars are palette colours, the eraser is black, and both cat
 * pictures have such pixels in their leftmost column. */
#define _GNU_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

/* Reports closer together than this belong to one present. */
#define BATCH_GAP_MS 2.0
/* Reports the server made further apart than this (its own clock, in
 * milliseconds) belong to different presents. */
#define SAME_PRESENT_MS 3
/* A present later than this after the one before follows a stall of the
 * saver (the machine busy elsewhere), which it forgives rather than catch up
 * with a burst: the move it shows then says nothing about its rhythm. */
#define STALL_MS 100
#define MAX_MOVE 16
/* The cat pictures' size, and how much room the next look leaves it. */
#define CAT_W 58
#define CAT_H 40
#define MARGIN 24
/* A lost cat is looked for over the whole window, but not at every present. */
#define FULL_LOOK_EVERY_MS 150.0

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int ignore_errors(Display* d, XErrorEvent* e) {
  (void)d;
  (void)e;
  return 0;
}

static int in_palette(unsigned long rgb) {
  static const unsigned long palette[16] = {
      0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
      0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  for (int i = 0; i < 16; ++i)
    if (palette[i] == rgb) return 1;
  return 0;
}

static Window find_saver(Display* d, const char* name, int width, int height) {
  Window root_ret, parent, *children = NULL;
  unsigned int n = 0;
  Window found = None;
  if (!XQueryTree(d, DefaultRootWindow(d), &root_ret, &parent, &children, &n)) return None;
  for (unsigned int i = 0; i < n && found == None; ++i) {
    XWindowAttributes a;
    char* title = NULL;
    if (!XGetWindowAttributes(d, children[i], &a)) continue;
    if (a.map_state != IsViewable || !a.override_redirect || a.width < width || a.height < height)
      continue;
    if (XFetchName(d, children[i], &title) && title) {
      if (strcmp(title, name) == 0) found = children[i];
      XFree(title);
    }
  }
  if (children) XFree(children);
  return found;
}

struct spot {
  int found, left, top;
};

/* The cat's left edge and top in the part of the window given, in window
 * coordinates. */
static struct spot look(Display* d, Window w, int x, int y, int width, int height, int win_w,
                        int win_h) {
  struct spot s = {0, 0, 0};
  if (x < 0) width += x, x = 0;
  if (y < 0) height += y, y = 0;
  if (x + width > win_w) width = win_w - x;
  if (y + height > win_h) height = win_h - y;
  if (width <= 0 || height <= 0) return s;
  XImage* image = XGetImage(d, w, x, y, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
  if (!image) return s;
  int left = -1, top = -1;
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      if (in_palette(XGetPixel(image, col, row) & 0xFFFFFF)) continue;
      if (left < 0 || col < left) left = col;
      if (top < 0) top = row;
      break; /* the rest of this row lies to the right */
    }
  }
  XDestroyImage(image);
  if (left >= 0) {
    s.found = 1;
    s.left = x + left;
    s.top = y + top;
  }
  return s;
}

int main(int argc, char** argv) {
  double seconds = 5, wait_cat = 20;
  const char* name = "Mofu Saver";
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--seconds") && i + 1 < argc)
      seconds = atof(argv[++i]);
    else if (!strcmp(argv[i], "--wait-cat") && i + 1 < argc)
      wait_cat = atof(argv[++i]);
    else if (!strcmp(argv[i], "--name") && i + 1 < argc)
      name = argv[++i];
    else {
      fprintf(stderr, "usage: present_watch [--seconds S] [--wait-cat S] [--name NAME]\n");
      return 2;
    }
  }
  Display* d = XOpenDisplay(NULL);
  if (!d) {
    fprintf(stderr, "present_watch: cannot open the display\n");
    return 2;
  }
  XSetErrorHandler(ignore_errors);
  int damage_event, damage_error;
  if (!XDamageQueryExtension(d, &damage_event, &damage_error)) {
    fprintf(stderr, "present_watch: no DAMAGE extension\n");
    return 2;
  }
  const int screen_w = DisplayWidth(d, DefaultScreen(d));
  const int screen_h = DisplayHeight(d, DefaultScreen(d));

  Window w = None;
  const double t_begin = now_ms();
  while ((w = find_saver(d, name, screen_w, screen_h)) == None) {
    if (now_ms() - t_begin > 10000) {
      fprintf(stderr, "present_watch: no full-screen window named '%s'\n", name);
      return 1;
    }
    struct timespec pause = {0, 50 * 1000000L};
    nanosleep(&pause, NULL);
  }
  /* Every drawing request is reported as it happens, so nothing has to be
   * subtracted between presents. */
  XDamageCreate(d, w, XDamageReportRawRectangles);
  XSync(d, False);

  long moves[MAX_MOVE + 1] = {0};
  long presents = 0, tracked = 0, back = 0, lost = 0, unseen = 0, stalls = 0;
  int max_move = 0;
  struct spot last = {0, 0, 0};
  int watching = 0, batch = 0;
  /* Presents in the batch, told apart by the server's own time of each
   * report; the first report of the newest one, and of the one before. */
  int batch_presents = 0;
  Time report_ms = 0, present_ms = 0, previous_present_ms = 0;
  double t_watch = 0, t_last_report = 0, t_full_look = -1e9, t_end = 0;
  const int fd = ConnectionNumber(d);
  const int log = getenv("PRESENT_WATCH_LOG") != NULL;

  for (;;) {
    const double t = now_ms();
    if (watching && t - t_watch >= seconds * 1e3) {
      t_end = t;
      break;
    }
    if (!watching && t - t_begin > (wait_cat + 10) * 1e3) {
      fprintf(stderr, "present_watch: the cat did not show within %.0f s\n", wait_cat);
      return 1;
    }
    if (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == damage_event + XDamageNotify) {
        const Time at = ((XDamageNotifyEvent*)&e)->timestamp;
        if (!batch || at - report_ms > SAME_PRESENT_MS) {
          ++batch_presents;
          previous_present_ms = present_ms;
          present_ms = at;
        }
        report_ms = at;
        batch = 1;
        t_last_report = now_ms();
      }
      continue;
    }
    if (batch && t - t_last_report >= BATCH_GAP_MS) {
      /* The saver has finished drawing: where does the cat stand now? */
      const int count = batch_presents;
      const Time gap = present_ms - previous_present_ms;
      batch = 0;
      batch_presents = 0;
      struct spot s = {0, 0, 0};
      if (last.found)
        s = look(d, w, last.left - MARGIN, last.top - MARGIN, CAT_W + 2 * MARGIN,
                 CAT_H + 2 * MARGIN, screen_w, screen_h);
      if (!s.found && t - t_full_look >= FULL_LOOK_EVERY_MS) {
        s = look(d, w, 0, 0, screen_w, screen_h, screen_w, screen_h);
        t_full_look = t;
      }
      /* Off the left edge the leftmost pixel no longer says where it is. */
      if (s.found && s.left == 0) {
        if (watching) {
          t_end = t;
          break;
        }
        s.found = 0;
      }
      if (!watching) {
        if (s.found) {
          watching = 1;
          t_watch = now_ms();
        }
        last = s;
        continue; /* the first sight only starts the count */
      }
      presents += count;
      if (!s.found) {
        ++lost;
      } else if (count > 1) {
        /* This watcher was off the processor through several presents:
         * how far the cat went at each of them is not known. */
        unseen += count;
      } else if (gap > STALL_MS) {
        /* The saver itself was held up, and forgives the lag by design. */
        ++stalls;
      } else if (last.found) {
        ++tracked;
        const int move = last.left - s.left;
        if (log) fprintf(stderr, "t=%.1f gap=%lu move=%d\n", t - t_watch, gap, move);
        if (move < 0)
          ++back;
        else {
          ++moves[move > MAX_MOVE ? MAX_MOVE : move];
          if (move > max_move) max_move = move;
        }
      }
      last = s;
      continue;
    }
    struct pollfd p = {fd, POLLIN, 0};
    poll(&p, 1, batch ? 1 : 20);
  }

  const double watched = (t_end - t_watch) / 1e3;
  long moved = 0;
  for (int m = 1; m <= MAX_MOVE; ++m) moved += moves[m];
  int top_bin = 1;
  for (int m = 0; m <= MAX_MOVE; ++m)
    if (moves[m]) top_bin = m > top_bin ? m : top_bin;
  printf("seconds=%.3f presents=%ld presents_per_s=%.2f tracked=%ld moved=%ld moves=", watched,
         presents, watched > 0 ? presents / watched : 0.0, tracked, moved);
  for (int m = 0; m <= top_bin; ++m) printf("%s%d:%ld", m ? "," : "", m, moves[m]);
  printf(" max_move=%d back=%ld lost=%ld unseen=%ld stalls=%ld\n", max_move, back, lost, unseen,
         stalls);
  XCloseDisplay(d);
  return 0;
}
