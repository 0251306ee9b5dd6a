#include "platform/gtk/signal_guard.hpp"

#include <gtk/gtk.h>

namespace mofu::gtk {
namespace {

std::exception_ptr pending;

}  // namespace

void KeepPending(std::exception_ptr error) {
  pending = std::move(error);
  // A handler may also run from a nested loop of GTK's own (a message box)
  // or before the main loop starts; only a running gtk_main can be quit.
  if (gtk_main_level() > 0) gtk_main_quit();
}

bool HasPending() { return static_cast<bool>(pending); }

void RethrowPending() {
  if (!pending) return;
  std::exception_ptr error = std::exchange(pending, nullptr);
  std::rethrow_exception(error);
}

void RunEventLoop() {
  if (!HasPending()) gtk_main();
  RethrowPending();
}

}  // namespace mofu::gtk
