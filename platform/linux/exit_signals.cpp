#include "platform/linux/exit_signals.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <initializer_list>

namespace mofu::linux_os {
namespace {

volatile sig_atomic_t raised = 0;
int wake_pipe[2] = {-1, -1};

void Note(int) {
  raised = 1;
  const char byte = 1;
  // The pipe is non-blocking: once it holds a byte, more change nothing.
  [[maybe_unused]] const ssize_t n = write(wake_pipe[1], &byte, 1);
}

}  // namespace

void ExitSignals::Install() {
  if (wake_pipe[0] >= 0) return;
  if (pipe2(wake_pipe, O_NONBLOCK | O_CLOEXEC) != 0) wake_pipe[0] = wake_pipe[1] = -1;
  struct sigaction action {};
  action.sa_handler = Note;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal_number : {SIGTERM, SIGINT, SIGHUP})
    sigaction(signal_number, &action, nullptr);
}

bool ExitSignals::Raised() { return raised != 0; }

int ExitSignals::WakeFd() { return wake_pipe[0]; }

}  // namespace mofu::linux_os
