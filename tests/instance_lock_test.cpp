#include "platform/linux/instance_lock.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "tests/scoped_env.hpp"

namespace mofu::linux_os {
namespace {

namespace fs = std::filesystem;
using enum fs::perms;

// What a second process finds: 1 when the lock is held elsewhere.
int SecondProcessFindsItHeld(const std::string& name) {
  const pid_t pid = fork();
  if (pid == 0) _exit(InstanceLock(name).HeldElsewhere() ? 1 : 0);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Without a display there is no second way to tell: a place that is refused
// shows as a lock held elsewhere, never as no other copy.
TEST(InstanceLock, OneCopyPerUserAndNameOnlyInAPrivatePlace) {
  test::ScopedEnv env{"XDG_RUNTIME_DIR", "TMPDIR", "DISPLAY"};
  unsetenv("DISPLAY");
  const std::string place = "tmp/mofu-" + std::to_string(geteuid());
  const auto dir = [](fs::path at, fs::perms mode) {
    return fs::create_directories(at), fs::permissions(at, mode), at;
  };
  // Each row readies its case's folder, XDG_RUNTIME_DIR naming its "run";
  // the lock must live in "run", in the temporary place, or nowhere.
  const std::pair<std::function<void(const fs::path&)>, std::string> cases[] = {
      {[&](auto at) { dir(at / "run", owner_all); }, "run"},
      {[&](auto at) { dir(at / "run", owner_all | others_read); }, place},
      {[&](auto at) { fs::create_directory_symlink(dir(at / "real", owner_all), at / "run"); },
       place},
      {[&](auto at) { dir(at / place, all); }, ""},
      {[&](auto at) { std::ofstream(at / place) << "x"; }, ""},
      // Only root can give a folder away; others meet this case as theirs.
      {[&](auto at) { EXPECT_EQ(chown(dir(at / place, owner_all).c_str(), 4242, 4242), 0); },
       geteuid() == 0 ? "" : place},
  };
  for (int row = 0; const auto& [prepare, lock] : cases) {
    SCOPED_TRACE(row);
    const fs::path at = fs::path(MOFU_TEST_DATA) / "instance-lock" / std::to_string(row++);
    fs::remove_all(at);
    fs::create_directories(at / "tmp");
    setenv("TMPDIR", (at / "tmp").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (at / "run").c_str(), 1);
    prepare(at);
    auto first = std::make_unique<InstanceLock>();
    EXPECT_EQ(first->HeldElsewhere(), lock.empty());
    if (lock.empty()) continue;
    ASSERT_TRUE(fs::is_regular_file(at / lock / "mofu.lock"));
    EXPECT_EQ(fs::status(at / lock).permissions(), owner_all);
    EXPECT_EQ(SecondProcessFindsItHeld("mofu"), 1);
    EXPECT_EQ(SecondProcessFindsItHeld("mofu-window-0x1234"), 0);
    first.reset();
    EXPECT_EQ(SecondProcessFindsItHeld("mofu"), 0);  // released with its holder
  }
}

}  // namespace
}  // namespace mofu::linux_os
