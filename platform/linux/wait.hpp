#pragma once

#include <cstdint>

namespace mofu::linux_os {

// The monotonic clock, in microseconds.
std::int64_t MonotonicMicros();

void SleepMicros(std::int64_t micros);

enum class Woke { kDeadline, kConnection, kWakeFd };

// Sleeps until the display connection `fd` or `wake_fd` (-1 for none) can be
// read, or the deadline passes; with a deadline already past, only looks. A signal does not end the
// wait early: the exit signals are seen through their own descriptor.
Woke WaitReadable(int fd, int wake_fd, std::int64_t deadline_micros);

}  // namespace mofu::linux_os
