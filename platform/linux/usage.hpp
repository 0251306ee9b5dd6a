#pragma once

#include <optional>
#include <string>

namespace mofu::linux_os {

// The text for --help or --version when one of them is among the arguments;
// answered before anything else, without a display.
std::optional<std::string> InfoRequested(int argc, char** argv);

}  // namespace mofu::linux_os
