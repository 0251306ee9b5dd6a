#include "platform/linux/ini_settings.hpp"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "platform/linux/settings_file.hpp"
#include "runtime/ini_text.hpp"
#include "runtime/runtime_error.hpp"
#include "tests/scoped_env.hpp"

namespace mofu::linux_os {
namespace {

namespace fs = std::filesystem;

// Points XDG_CONFIG_HOME at a fresh folder for the test's lifetime.
class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(root);
    fs::create_directories(root);
    setenv("XDG_CONFIG_HOME", root.c_str(), 1);
  }

  fs::path File() const { return root / "mofu" / "settings.ini"; }
  void Put(const std::string& text) const {
    fs::create_directories(File().parent_path());
    std::ofstream(File(), std::ios::binary) << text;
  }

  test::ScopedEnv env_{"XDG_CONFIG_HOME", "HOME"};
  fs::path root = fs::path(MOFU_TEST_DATA) / "settings-file" /
                  testing::UnitTest::GetInstance()->current_test_info()->name();
};

// Every file goes through the saver's side (a read) and the dialog's side (a
// save of "sspeed", then a read by a new process): both see the same "blk",
// and the save keeps it.
TEST_F(SettingsFileTest, SaverAndDialogReadEveryFileAlike) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"  [ setting ]  \n\tblk : 120\n", "120"},
      {"\xEF\xBB\xBF[setting]\r\n# blk=10\r\n[other\r\njunk\r\n=5\r\nblk=20\r\n", "20"},
      {"[setting]\nblk=10\nblk=8\n[other]\nblk=1\n[setting]\nblk=80\n", "80"},
      {"[Setting]\nblk=10\n[settings]\nblk=20\n", std::nullopt},
  };
  for (const auto& [text, blk] : cases) {
    SCOPED_TRACE(text);
    Put(text);
    EXPECT_EQ(IniSettings().Read("mofu", "setting", "blk"), blk);
    IniSettings().Write("mofu", "setting", "sspeed", "2");
    EXPECT_EQ(IniSettings().Read("mofu", "setting", "blk"), blk);
    EXPECT_EQ(IniSettings().Read("mofu", "setting", "sspeed"), "2");
  }
}

TEST(IniText, SettingAValueKeepsEveryOtherLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"# mine\n[setting]\n  blk = 20 \nsspeed=11\n", "# mine\n[setting]\nblk=40\nsspeed=11\n"},
      {"[setting]\na=1\n[x]\n[setting]\nb=2\n\n# end\n",
       "[setting]\na=1\n[x]\n[setting]\nb=2\nblk=40\n\n# end\n"},
      {"[setting]\r\nsspeed=1\r", "[setting]\r\nsspeed=1\r\nblk=40\r\n"},
  };
  for (auto [before, after] : cases) EXPECT_EQ(IniWithValue(before, "setting", "blk", "40"), after);
}

TEST_F(SettingsFileTest, SavesLeaveOnlyTheFileOnlyTheUserMayRead) {
  IniSettings().Write("mofu", "setting", "blk", "20");
  // Left by a save cut short, by this version and by older ones; a link
  // under the temporary name is replaced, never written through.
  std::ofstream(root / "target") << "theirs";
  fs::create_symlink(root / "target", File().string() + ".tmp");
  std::ofstream(File().string() + ".keep") << "mine";
  IniSettings().Write("mofu", "setting", "blk", "40");
  EXPECT_EQ(fs::file_size(File()), sizeof "[setting]\nblk=40\n" - 1);
  EXPECT_EQ(fs::file_size(root / "target"), 6u);  // "theirs"
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(root / "mofu"))
    names.insert(entry.path().filename());
  EXPECT_EQ(names, (std::set<std::string>{"settings.ini", "settings.ini.keep"}));
  struct stat folder {
  }, file{};
  ASSERT_EQ(stat(File().parent_path().c_str(), &folder) | stat(File().c_str(), &file), 0);
  EXPECT_EQ(folder.st_mode & 0777, 0700u);
  EXPECT_EQ(file.st_mode & 0777, 0600u);
}

// Permissions do not stop root, so the folder's place is taken by a file.
TEST_F(SettingsFileTest, FailsWhereNoFolderCanBe) {
  std::ofstream(root / "mofu") << "not a folder\n";
  EXPECT_THROW(IniSettings().Write("mofu", "setting", "blk", "40"), RuntimeError);
  EXPECT_THROW(IniSettings().Write("mofu", "setting", "blk", "4\n[x]"), RuntimeError);
}

// What cannot be read safely holds nothing, and is never written over.
TEST_F(SettingsFileTest, FilesBeyondTheLimitHoldNothingAndStay) {
  const std::string head = "[setting]\nblk=10\n";
  Put(head + std::string(IniSettings::kSettingsFileLimit - head.size(), '#'));
  EXPECT_EQ(IniSettings().Read("mofu", "setting", "blk"), "10");
  const std::string over =
      head + std::string(IniSettings::kSettingsFileLimit + 1 - head.size(), '#');
  Put(over);
  EXPECT_EQ(IniSettings().Read("mofu", "setting", "blk"), std::nullopt);
  EXPECT_THROW(IniSettings().Write("mofu", "setting", "sspeed", "4"), RuntimeError);
  EXPECT_EQ(fs::file_size(File()), over.size());
}

TEST_F(SettingsFileTest, HomeComesFromThePasswordDatabaseWhenUnset) {
  setenv("HOME", "/home/someone", 1);
  setenv("XDG_CONFIG_HOME", "relative/place", 1);  // ignored, as relative ones must be
  EXPECT_EQ(SettingsPath("mofu"), "/home/someone/.config/mofu/settings.ini");
  unsetenv("HOME");
  EXPECT_EQ(SettingsPath("mofu"),
            std::string(getpwuid(getuid())->pw_dir) + "/.config/mofu/settings.ini");
}

}  // namespace
}  // namespace mofu::linux_os
