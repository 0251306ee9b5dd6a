#include "runtime/regular_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace mofu {

FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& contents) {
  contents.clear();
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileRead::kMissing : FileRead::kRefused;
  FileRead result = FileRead::kRefused;
  struct stat status {};
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= 0 &&
      static_cast<unsigned long long>(status.st_size) <= limit) {
    // The file may grow while it is read: reading one byte past the limit
    // tells.
    contents.resize(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
      if (got == contents.size()) contents.resize(limit + 1);
      const ssize_t n = read(fd, contents.data() + got, contents.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) break;
      got += static_cast<std::size_t>(n);
      if (got > limit) break;
      if (n == 0) {
        result = FileRead::kRead;
        break;
      }
    }
    contents.resize(result == FileRead::kRead ? got : 0);
  }
  close(fd);
  return result;
}

}  // namespace mofu
