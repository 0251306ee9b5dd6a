#include "runtime/host.hpp"

#include <cassert>

namespace mofu {
namespace {
Host* current = nullptr;
}

Host& host() {
  assert(current != nullptr);
  return *current;
}

void SetHost(Host* host) { current = host; }

}  // namespace mofu
