#include "runtime/strings.hpp"

namespace mofu {

std::string Left(std::string_view text, std::size_t n) {
  std::size_t bytes = 0;
  for (std::size_t chars = 0; chars < n && bytes < text.size(); ++chars) {
    ++bytes;
    // Continuation bytes (10xxxxxx) belong to the character already counted.
    while (bytes < text.size() && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) {
      ++bytes;
    }
  }
  return std::string(text.substr(0, bytes));
}

std::string UCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace mofu
