/* Runs one program on the current X display and times it from outside, the
 * way a person at the screen would see it:
 *
 *   first frame   exec -> a window covering the whole screen is mapped and the
 *                 server has answered a one-pixel XGetImage on it (so the map
 *                 and everything the program sent before it are on screen);
 *                 with --root, exec -> the first drawing reported by DAMAGE
 *                 on the root window (for XScreenSaver hacks run with -root)
 *   hold          the program then runs for --hold ms; its processor time,
 *                 resident memory (sampled every second, and VmHWM) and the X
 *                 server's processor time are taken over exactly that window,
 *                 with its wake-ups (voluntary context switches, all threads)
 *   end           a key (XTest), a pointer move (XTest) or SIGTERM, then the
 *                 time until waitpid returns
 *
 * Prints one line of key=value pairs on stdout. Times are CLOCK_MONOTONIC.
 * The program is our own child so the exit is seen at once, without polling.
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void die(const char *why) {
  fprintf(stderr, "probe: %s\n", why);
  exit(2);
}

/* utime + stime in seconds, or -1 when the process is gone. Threads that
 * have ended still count here (Wine's do), which the scheduler's per-thread
 * figures would lose; over a 60 s window the 10 ms tick is fine enough. */
static double cpu_seconds(pid_t pid) {
  char path[64];
  char buf[1024];
  snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
  FILE *f = fopen(path, "r");
  if (!f) return -1;
  size_t n = fread(buf, 1, sizeof buf - 1, f);
  fclose(f);
  buf[n] = 0;
  /* comm may hold spaces and parentheses: fields count from the last ')'. */
  char *p = strrchr(buf, ')');
  if (!p) return -1;
  unsigned long ut = 0, st = 0;
  if (sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &ut, &st) != 2)
    return -1;
  return (double)(ut + st) / sysconf(_SC_CLK_TCK);
}

/* Time on a processor, summed over the live threads, from the scheduler's
 * own nanosecond accounting: a saver that sleeps most of the time needs
 * finer figures than the 10 ms tick of cpu_seconds. -1 when gone. */
static double run_seconds(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
  DIR *d = opendir(path);
  if (!d) return -1;
  double total = 0;
  struct dirent *e;
  while ((e = readdir(d))) {
    if (e->d_name[0] == '.') continue;
    char file[320];
    snprintf(file, sizeof file, "/proc/%d/task/%s/schedstat", (int)pid, e->d_name);
    FILE *f = fopen(file, "r");
    if (!f) continue;
    unsigned long long ns = 0;
    if (fscanf(f, "%llu", &ns) == 1) total += ns / 1e9;
    fclose(f);
  }
  closedir(d);
  return total;
}

/* Voluntary context switches over all live threads: how often it woke. */
static long long wakeups(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
  DIR *d = opendir(path);
  if (!d) return -1;
  long long total = 0;
  struct dirent *e;
  while ((e = readdir(d))) {
    if (e->d_name[0] == '.') continue;
    char file[320], line[256];
    snprintf(file, sizeof file, "/proc/%d/task/%s/status", (int)pid, e->d_name);
    FILE *f = fopen(file, "r");
    if (!f) continue;
    while (fgets(line, sizeof line, f)) {
      if (strncmp(line, "voluntary_ctxt_switches:", 24) == 0) total += atoll(line + 24);
    }
    fclose(f);
  }
  closedir(d);
  return total;
}

static long status_kb(pid_t pid, const char *field) {
  char path[64], line[256];
  snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
  FILE *f = fopen(path, "r");
  if (!f) return -1;
  long kb = -1;
  size_t len = strlen(field);
  while (fgets(line, sizeof line, f)) {
    if (strncmp(line, field, len) == 0 && line[len] == ':') {
      kb = strtol(line + len + 1, NULL, 10);
      break;
    }
  }
  fclose(f);
  return kb;
}

/* Processes that belong to one private set-up (a Wine prefix) are told apart
 * by a variable in their environment, since wineserver is nobody's child. */
#define MAX_TREE 256
struct tree_entry {
  pid_t pid;
  char comm[32];
  double cpu_at_start;
  double cpu_now;
};
static struct tree_entry tree[MAX_TREE];
static int tree_count;

static int environ_has(pid_t pid, const char *needle) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/environ", (int)pid);
  FILE *f = fopen(path, "r");
  if (!f) return 0;
  static char buf[1 << 16];
  size_t n = fread(buf, 1, sizeof buf - 1, f);
  fclose(f);
  size_t need = strlen(needle);
  for (size_t i = 0; i < n;) {
    size_t len = strnlen(buf + i, n - i);
    if (len == need && memcmp(buf + i, needle, need) == 0) return 1;
    i += len + 1;
  }
  return 0;
}

static void comm_of(pid_t pid, char *out, size_t size) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/comm", (int)pid);
  FILE *f = fopen(path, "r");
  out[0] = 0;
  if (!f) return;
  if (fgets(out, (int)size, f)) out[strcspn(out, "\n")] = 0;
  fclose(f);
}

/* Takes the current processor time of every process of the set; processes
 * born after the first scan count from zero. */
static void scan_tree(const char *needle, int first) {
  DIR *d = opendir("/proc");
  if (!d) return;
  struct dirent *e;
  while ((e = readdir(d))) {
    pid_t pid = (pid_t)atoi(e->d_name);
    if (pid <= 0 || pid == getpid() || !environ_has(pid, needle)) continue;
    double cpu = cpu_seconds(pid);
    if (cpu < 0) continue;
    int i;
    for (i = 0; i < tree_count && tree[i].pid != pid; ++i) {
    }
    if (i == tree_count) {
      if (tree_count == MAX_TREE) continue;
      ++tree_count;
      tree[i].pid = pid;
      comm_of(pid, tree[i].comm, sizeof tree[i].comm);
      tree[i].cpu_at_start = first ? cpu : 0;
    }
    tree[i].cpu_now = cpu;
  }
  closedir(d);
}

static pid_t child;
static void on_alarm(int sig) {
  (void)sig;
  if (child > 0) kill(child, SIGKILL);
}

/* SIGCHLD wakes the same poll that watches the X connection, so the exit and
 * the window going away are both timed without polling. */
static int child_pipe[2];
static void on_child(int sig) {
  (void)sig;
  const int saved = errno;
  if (write(child_pipe[1], "", 1) < 0) {
  }
  errno = saved;
}

static void usage(void) {
  fprintf(stderr,
          "usage: probe [--root] [--hold MS] [--end key|pointer|term] [--xserver PID]\n"
          "             [--tree ENV=VALUE] [--timeout MS] [--settle MS] -- COMMAND [ARG...]\n");
  exit(2);
}

static int is_fullscreen(Display *dpy, Window w) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(dpy, w, &a)) return 0;
  return a.map_state == IsViewable && a.x <= 0 && a.y <= 0 &&
         a.x + a.width >= DisplayWidth(dpy, DefaultScreen(dpy)) &&
         a.y + a.height >= DisplayHeight(dpy, DefaultScreen(dpy));
}

static int ignore_errors(Display *dpy, XErrorEvent *e) {
  (void)dpy;
  (void)e;
  return 0;
}

int main(int argc, char **argv) {
  int root_mode = 0;
  double hold = 0, timeout = 15000, settle = 0;
  const char *end = "key";
  pid_t xserver = 0;
  const char *tree_needle = NULL;
  int i;
  for (i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--")) {
      ++i;
      break;
    }
    if (!strcmp(argv[i], "--root"))
      root_mode = 1;
    else if (!strcmp(argv[i], "--hold") && i + 1 < argc)
      hold = atof(argv[++i]);
    else if (!strcmp(argv[i], "--end") && i + 1 < argc)
      end = argv[++i];
    else if (!strcmp(argv[i], "--xserver") && i + 1 < argc)
      xserver = (pid_t)atoi(argv[++i]);
    else if (!strcmp(argv[i], "--tree") && i + 1 < argc)
      tree_needle = argv[++i];
    else if (!strcmp(argv[i], "--timeout") && i + 1 < argc)
      timeout = atof(argv[++i]);
    else if (!strcmp(argv[i], "--settle") && i + 1 < argc)
      settle = atof(argv[++i]);
    else
      usage();
  }
  if (i >= argc) usage();
  char **command = argv + i;

  Display *dpy = XOpenDisplay(NULL);
  if (!dpy) die("cannot open the display");
  XSetErrorHandler(ignore_errors);
  const int screen = DefaultScreen(dpy);
  const Window root = RootWindow(dpy, screen);
  int damage_event = 0, damage_error = 0, xtest_event, xtest_error, major, minor;
  if (!XDamageQueryExtension(dpy, &damage_event, &damage_error)) die("no DAMAGE extension");
  if (!XTestQueryExtension(dpy, &xtest_event, &xtest_error, &major, &minor))
    die("no XTEST extension");

  /* The pointer rests inside the screen, away from (0, 0), so the program
   * takes its first report as the reference and a later move dismisses it. */
  const int px = DisplayWidth(dpy, screen) / 3, py = DisplayHeight(dpy, screen) / 2;
  XTestFakeMotionEvent(dpy, screen, px, py, CurrentTime);
  XSelectInput(dpy, root, SubstructureNotifyMask);
  Damage damage = XDamageCreate(dpy, root, XDamageReportNonEmpty);
  XSync(dpy, False);
  XDamageSubtract(dpy, damage, None, None);
  XSync(dpy, False);
  while (XPending(dpy)) {
    XEvent ev;
    XNextEvent(dpy, &ev);
  }

  signal(SIGALRM, on_alarm);
  if (pipe2(child_pipe, O_CLOEXEC | O_NONBLOCK) != 0) die("pipe failed");
  struct sigaction on_exit = {0};
  on_exit.sa_handler = on_child;
  on_exit.sa_flags = SA_RESTART | SA_NOCLDSTOP;
  sigaction(SIGCHLD, &on_exit, NULL);
  const double t_exec = now_ms();
  child = fork();
  if (child < 0) die("fork failed");
  if (child == 0) {
    close(ConnectionNumber(dpy));
    execvp(command[0], command);
    _exit(127);
  }

  double t_map = -1, t_frame = -1, t_damage = -1;
  Window shown = None;
  int status = 0, exited = 0;
  const int fd = ConnectionNumber(dpy);
  /* Waits for the first frame, draining events as they come. */
  while ((root_mode ? t_damage : t_frame) < 0) {
    if (now_ms() - t_exec > timeout) break;
    if (waitpid(child, &status, WNOHANG) == child) {
      exited = 1;
      break;
    }
    if (!XPending(dpy)) {
      struct pollfd p = {fd, POLLIN, 0};
      poll(&p, 1, 5);
      continue;
    }
    XEvent ev;
    XNextEvent(dpy, &ev);
    const double t = now_ms();
    Window candidate = None;
    if (ev.type == MapNotify && ev.xmap.event == root) candidate = ev.xmap.window;
    if (ev.type == ConfigureNotify && ev.xconfigure.event == root) candidate = ev.xconfigure.window;
    if (ev.type == damage_event + XDamageNotify && t_damage < 0) t_damage = t;
    if (!root_mode && candidate != None && t_frame < 0 && is_fullscreen(dpy, candidate)) {
      t_map = t;
      XImage *pixel = XGetImage(dpy, candidate, 0, 0, 1, 1, AllPlanes, ZPixmap);
      if (pixel) XDestroyImage(pixel);
      t_frame = now_ms();
      shown = candidate;
    }
  }
  const double t_first = root_mode ? t_damage : t_frame;

  /* --settle: the start-up's own wake-ups (waiting for the map, the grabs)
   * are left out of a hold that means to show the steady state. */
  const double t_settle = now_ms();
  while (!exited && t_first >= 0 && now_ms() - t_settle < settle) {
    if (waitpid(child, &status, WNOHANG) == child) {
      exited = 1;
      break;
    }
    while (XPending(dpy)) {
      XEvent ev;
      XNextEvent(dpy, &ev);
    }
    struct pollfd p = {fd, POLLIN, 0};
    poll(&p, 1, 20);
  }

  /* The hold: processor time and memory from the first frame on. */
  double cpu0 = cpu_seconds(child), x0 = xserver ? cpu_seconds(xserver) : 0;
  const double run0 = run_seconds(child), xrun0 = xserver ? run_seconds(xserver) : 0;
  const long long wake0 = wakeups(child);
  if (tree_needle) scan_tree(tree_needle, 1);
  const double t_hold = now_ms();
  long rss_max = status_kb(child, "VmRSS");
  double next_sample = t_hold + 1000;
  while (!exited && t_first >= 0 && now_ms() - t_hold < hold) {
    if (waitpid(child, &status, WNOHANG) == child) {
      exited = 1;
      break;
    }
    while (XPending(dpy)) {
      XEvent ev;
      XNextEvent(dpy, &ev);
    }
    struct pollfd p = {fd, POLLIN, 0};
    double left = hold - (now_ms() - t_hold);
    double until_sample = next_sample - now_ms();
    double wait = left < until_sample ? left : until_sample;
    if (wait > 20) wait = 20;
    if (wait > 0) poll(&p, 1, (int)wait);
    if (now_ms() >= next_sample) {
      long rss = status_kb(child, "VmRSS");
      if (rss > rss_max) rss_max = rss;
      next_sample += 1000;
    }
  }
  const double held = (now_ms() - t_hold) / 1e3;
  const double cpu1 = exited ? -1 : cpu_seconds(child);
  const double x1 = xserver ? cpu_seconds(xserver) : 0;
  const double run1 = exited ? -1 : run_seconds(child);
  const double xrun1 = xserver ? run_seconds(xserver) : 0;
  const long long wake1 = exited ? -1 : wakeups(child);
  const long hwm = exited ? -1 : status_kb(child, "VmHWM");
  if (tree_needle) scan_tree(tree_needle, 0);

  /* The end. */
  double t_end = now_ms();
  if (!exited) {
    if (!strcmp(end, "key")) {
      const KeyCode key = XKeysymToKeycode(dpy, XK_x);
      t_end = now_ms();
      XTestFakeKeyEvent(dpy, key, True, CurrentTime);
      XTestFakeKeyEvent(dpy, key, False, CurrentTime);
      XFlush(dpy);
    } else if (!strcmp(end, "pointer")) {
      t_end = now_ms();
      XTestFakeMotionEvent(dpy, screen, px + 5, py + 5, CurrentTime);
      XFlush(dpy);
    } else {
      t_end = now_ms();
      kill(child, SIGTERM);
    }
  }
  /* The screen is back when the full-screen window is unmapped or gone; the
   * process is gone when waitpid says so. */
  double t_unmap = -1, t_gone = -1;
  alarm(10);
  if (exited) t_gone = t_end;
  while (t_gone < 0 || (shown != None && t_unmap < 0 && now_ms() - t_end < 10000)) {
    if (t_gone < 0) {
      pid_t got = waitpid(child, &status, WNOHANG);
      if (got == child) {
        t_gone = now_ms();
        continue;
      }
    }
    if (XPending(dpy)) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (shown != None && t_unmap < 0 &&
          ((ev.type == UnmapNotify && ev.xunmap.window == shown) ||
           (ev.type == DestroyNotify && ev.xdestroywindow.window == shown)))
        t_unmap = now_ms();
      continue;
    }
    struct pollfd p[2] = {{fd, POLLIN, 0}, {child_pipe[0], POLLIN, 0}};
    poll(p, 2, 100);
    char drain[64];
    while (read(child_pipe[0], drain, sizeof drain) > 0) {
    }
  }
  alarm(0);
  /* Put the pointer back for the next run. */
  XTestFakeMotionEvent(dpy, screen, px, py, CurrentTime);
  XSync(dpy, False);
  (void)shown;

  printf("first_ms=%.2f map_ms=%.2f damage_ms=%.2f", t_first < 0 ? -1 : t_first - t_exec,
         t_map < 0 ? -1 : t_map - t_exec, t_damage < 0 ? -1 : t_damage - t_exec);
  printf(" held_s=%.3f cpu_s=%.3f rss_max_kb=%ld hwm_kb=%ld xserver_cpu_s=%.3f", held,
         cpu1 < 0 || cpu0 < 0 ? -1 : cpu1 - cpu0, rss_max, hwm, xserver ? x1 - x0 : -1);
  printf(" run_s=%.6f wakeups=%lld xserver_run_s=%.6f", run1 < 0 || run0 < 0 ? -1 : run1 - run0,
         wake1 < 0 || wake0 < 0 ? -1 : wake1 - wake0, xserver ? xrun1 - xrun0 : -1);
  if (tree_needle) {
    double total = 0;
    printf(" tree=");
    for (int k = 0; k < tree_count; ++k) {
      const double d = tree[k].cpu_now - tree[k].cpu_at_start;
      total += d;
      printf("%s%s:%.3f", k ? "," : "", tree[k].comm, d);
    }
    printf(" tree_cpu_s=%.3f", total);
  }
  printf(" unmap_ms=%.2f end_ms=%.2f exited_early=%d status=%d\n",
         exited || t_unmap < 0 ? -1 : t_unmap - t_end, exited ? -1 : t_gone - t_end, exited,
         WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
  XCloseDisplay(dpy);
  return 0;
}
