#pragma once

#include <sstream>
#include <string>

namespace mofu_art {

// Joins the parts of an error message; this toolchain's library has no std::format yet.
template <typename... Parts>
std::string Message(const Parts&... parts) {
  std::ostringstream out;
  (out << ... << parts);
  return out.str();
}

}  // namespace mofu_art
