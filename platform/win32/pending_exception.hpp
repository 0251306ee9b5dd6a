#pragma once

#include <utility>

namespace mofu::win32 {

// Window procedures are called from Windows' own frames, which a C++
// exception must never unwind. A handler's exception (ending the process
// included) is kept here and thrown again once the message has returned to
// our own message loop.
void KeepPendingException();
void RethrowPendingException();

template <typename Handler>
void RunGuarded(Handler&& handler) noexcept {
  try {
    std::forward<Handler>(handler)();
  } catch (...) {
    KeepPendingException();
  }
}

}  // namespace mofu::win32
