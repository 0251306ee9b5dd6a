#include "platform/linux/instance_lock.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "tests/scoped_env.hpp"

namespace mofu::linux_os {
namespace {

namespace fs = std::filesystem;

// What a second process finds: 1 when the lock is held elsewhere.
int SecondProcessFindsItHeld(const std::string& name) {
  const pid_t pid = fork();
  if (pid == 0) {
    InstanceLock lock(name);
    _exit(lock.HeldElsewhere() ? 1 : 0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class InstanceLockTest : public testing::Test {
 protected:
  void SetUp() override {
    root = fs::path(MOFU_TEST_DATA) / "instance-lock";
    // Without a display there is no second way to tell: a place that is
    // refused shows as a lock held elsewhere.
    unsetenv("DISPLAY");
  }
  void TearDown() override { fs::remove_all(root); }

  static fs::path Folder(const fs::path& path, fs::perms mode) {
    fs::create_directories(path);
    fs::permissions(path, mode);
    return path;
  }

  test::ScopedEnv env_{"XDG_RUNTIME_DIR", "TMPDIR", "DISPLAY"};
  fs::path root;
};

TEST_F(InstanceLockTest, OneCopyPerUserAndNameOnlyInAPrivatePlace) {
  using enum fs::perms;
  const fs::perms kPrivate = owner_all;
  const fs::perms kOpen = owner_all | group_read | group_exec | others_read | others_exec;
  const std::string uid = std::to_string(geteuid());
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> prepare;  // given the case's own folder
    const char* lock_file;  // where the lock must live, under the case's folder; nullptr: nowhere
  };
  const Case cases[] = {
      {"runtime folder",
       [&](const fs::path& at) {
         setenv("XDG_RUNTIME_DIR", Folder(at / "run", kPrivate).c_str(), 1);
       },
       "run/mofu.lock"},
      {"runtime folder others may read",
       [&](const fs::path& at) { setenv("XDG_RUNTIME_DIR", Folder(at / "run", kOpen).c_str(), 1); },
       "tmp/mofu-UID/mofu.lock"},
      {"runtime folder behind a link",
       [&](const fs::path& at) {
         fs::create_directory_symlink(Folder(at / "real", kPrivate), at / "run");
         setenv("XDG_RUNTIME_DIR", (at / "run").c_str(), 1);
       },
       "tmp/mofu-UID/mofu.lock"},
      {"temporary place made by someone, open to all",
       [&](const fs::path& at) { Folder(at / "tmp" / ("mofu-" + uid), all); }, nullptr},
      {"temporary place taken by a file",
       [&](const fs::path& at) { std::ofstream(at / "tmp" / ("mofu-" + uid)) << "x"; }, nullptr},
      {"temporary place owned by another user",
       [&](const fs::path& at) {
         const fs::path place = Folder(at / "tmp" / ("mofu-" + uid), kPrivate);
         // Only root can give a folder away; others meet this case as "ours".
         if (geteuid() == 0) {
           ASSERT_EQ(chown(place.c_str(), 4242, 4242), 0);
         }
       },
       geteuid() == 0 ? nullptr : "tmp/mofu-UID/mofu.lock"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path at = root / c.name;
    fs::remove_all(at);
    fs::create_directories(at / "tmp");
    setenv("TMPDIR", (at / "tmp").c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    c.prepare(at);
    {
      InstanceLock first;
      if (c.lock_file == nullptr) {
        // Never run without knowing: no place means no second copy either.
        EXPECT_TRUE(first.HeldElsewhere());
        continue;
      }
      ASSERT_FALSE(first.HeldElsewhere());
      std::string file = c.lock_file;
      if (const auto at_uid = file.find("UID"); at_uid != std::string::npos) {
        file.replace(at_uid, 3, uid);
      }
      EXPECT_TRUE(fs::is_regular_file(at / file)) << file;
      struct stat status {};
      ASSERT_EQ(stat((at / file).parent_path().c_str(), &status), 0);
      EXPECT_EQ(status.st_mode & 0777, 0700u);
      EXPECT_FALSE(first.HeldElsewhere());  // asking again changes nothing
      EXPECT_EQ(SecondProcessFindsItHeld("mofu"), 1);
      EXPECT_EQ(SecondProcessFindsItHeld("mofu-window-0x1234"), 0);
    }
    // Released with its holder.
    EXPECT_EQ(SecondProcessFindsItHeld("mofu"), 0);
  }
}

}  // namespace
}  // namespace mofu::linux_os
