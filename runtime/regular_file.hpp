#pragma once

#include <cstddef>
#include <string>

namespace mofu {

enum class FileRead {
  kRead,     // `contents` holds the whole file
  kMissing,  // no such file
  kRefused,  // not a regular file, larger than the limit, or unreadable
};

// Reads a whole regular file of at most `limit` bytes. It never blocks and
// never reads past the limit, whatever the path names: a pipe, a device that
// never ends, or a folder are refused without being read. Each system's
// part provides it with its own calls; the link chooses which.
FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& contents);

}  // namespace mofu
