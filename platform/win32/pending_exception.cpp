#include "platform/win32/pending_exception.hpp"

#include <exception>

namespace mofu::win32 {
namespace {

std::exception_ptr pending;

}  // namespace

// Only the first one counts: whatever a handler does after it has ended the
// process must not replace that ending.
void KeepPendingException() {
  if (!pending) pending = std::current_exception();
}

void RethrowPendingException() {
  if (!pending) return;
  std::exception_ptr exception = std::exchange(pending, nullptr);
  std::rethrow_exception(exception);
}

}  // namespace mofu::win32
