#include "platform/linux/private_folder.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace mofu::linux_os {
namespace {

// Checked on the opened folder itself, so it cannot be swapped between the
// check and its use.
int OpenIfPrivate(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat status {};
  if (fstat(fd, &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == geteuid() &&
      (status.st_mode & 07777) == 0700) {
    return fd;
  }
  close(fd);
  return -1;
}

const char* AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] == '/' ? value : nullptr;
}

}  // namespace

int OpenPrivateFolder() {
  if (const char* runtime = AbsoluteVariable("XDG_RUNTIME_DIR")) {
    const int fd = OpenIfPrivate(runtime);
    if (fd >= 0) return fd;
  }
  const char* tmp = AbsoluteVariable("TMPDIR");
  const std::string folder =
      std::string(tmp != nullptr ? tmp : "/tmp") + "/mofu-" + std::to_string(geteuid());
  // It may be there already, ours or not. A new one is ours whatever the
  // umask says: no one else can remove it from a sticky folder meanwhile.
  if (mkdir(folder.c_str(), 0700) == 0) chmod(folder.c_str(), 0700);
  return OpenIfPrivate(folder);
}

}  // namespace mofu::linux_os
