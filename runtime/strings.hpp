#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mofu {

// The first n characters (not bytes) of a UTF-8 string; the whole string when
// it is shorter. A character is never cut in half.
std::string Left(std::string_view text, std::size_t n);

// Every lower-case ASCII letter turned upper-case; everything else unchanged.
std::string UCase(std::string_view text);

}  // namespace mofu
