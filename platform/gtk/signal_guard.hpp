#pragma once

#include <exception>
#include <utility>

namespace mofu::gtk {

// Handlers may end the process by throwing, and no exception may unwind
// through GTK's C frames. A signal callback therefore runs its handler
// through CallFromSignal: an escaping exception is kept, the main loop is
// asked to stop, and RunEventLoop raises it again once gtk_main has returned.
void KeepPending(std::exception_ptr error);
bool HasPending();
// Raises the kept exception, if any, and forgets it.
void RethrowPending();

// Once the program has ended itself, no further handler runs.
template <typename Handler>
void CallFromSignal(Handler&& handler) noexcept {
  if (HasPending()) return;
  try {
    std::forward<Handler>(handler)();
  } catch (...) {
    KeepPending(std::current_exception());
  }
}

// gtk_main until a handler ends it, then the handler's exception.
void RunEventLoop();

}  // namespace mofu::gtk
