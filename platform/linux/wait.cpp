#include "platform/linux/wait.hpp"

#include <poll.h>
#include <time.h>

#include <algorithm>
#include <cerrno>

namespace mofu::linux_os {
namespace {

struct timespec Timespec(std::int64_t micros) {
  return {static_cast<time_t>(micros / 1'000'000), static_cast<long>(micros % 1'000'000) * 1000};
}

}  // namespace

std::int64_t MonotonicMicros() {
  struct timespec now {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

void SleepMicros(std::int64_t micros) {
  const struct timespec pause = Timespec(micros);
  nanosleep(&pause, nullptr);
}

Woke WaitReadable(int fd, int wake_fd, std::int64_t deadline_micros) {
  for (;;) {
    // A deadline already past still looks once, without sleeping.
    const std::int64_t left = std::max<std::int64_t>(0, deadline_micros - MonotonicMicros());
    struct pollfd fds[2] = {{fd, POLLIN, 0}, {wake_fd, POLLIN, 0}};
    const struct timespec timeout = Timespec(left);
    const int ready = ppoll(fds, 2, &timeout, nullptr);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return Woke::kDeadline;
    return fds[1].revents != 0 ? Woke::kWakeFd : Woke::kConnection;
  }
}

}  // namespace mofu::linux_os
