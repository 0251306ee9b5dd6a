#include "platform/linux/ini_settings.hpp"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

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
    root = fs::path(MOFU_TEST_DATA) / "settings-file" /
           testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(root);
    fs::create_directories(root);
    setenv("XDG_CONFIG_HOME", root.c_str(), 1);
  }

  fs::path File() const { return root / "mofu" / "settings.ini"; }
  void Put(const std::string& text) const {
    fs::create_directories(File().parent_path());
    std::ofstream(File(), std::ios::binary) << text;
  }
  std::string Text() const {
    std::stringstream text;
    text << std::ifstream(File(), std::ios::binary).rdbuf();
    return text.str();
  }
  std::vector<std::string> Folder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(File().parent_path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  test::ScopedEnv env_{"XDG_CONFIG_HOME", "HOME"};
  fs::path root;
};

std::optional<std::string> Opt(const char* v) {
  return v ? std::optional<std::string>(v) : std::nullopt;
}

// Every file goes through the saver's side (a read) and the dialog's side (a
// save of "sspeed", then a read by a new process): both see the same "blk",
// and the save keeps it.
TEST_F(SettingsFileTest, SaverAndDialogReadEveryFileAlike) {
  const std::string long_blank = "blk=" + std::string(300, ' ') + "120\n";
  struct Case {
    const char* name;
    std::string text;
    const char* blk;  // nullptr: absent
    const char* sspeed;
  };
  const Case cases[] = {
      {"indented, either separator", "  [ setting ]  \n  blk=120\n\tsspeed : 7\n", "120", "7"},
      {"comments", "; one\n[setting]\n# blk=10\n;sspeed=1\nblk=20\n", "20", nullptr},
      {"long line", "[setting]\n" + long_blank, "120", nullptr},
      {"byte-order mark, CRLF", "\xEF\xBB\xBF[setting]\r\nblk=10\r\nsspeed=4\r\n", "10", "4"},
      {"section given twice, last of a key",
       "[setting]\nblk=10\nblk=80\n[other]\nblk=1\n[setting]\nsspeed=4\n", "80", "4"},
      {"other sections, case of keys", "[Setting]\nblk=10\n[settings]\nblk=20\n", nullptr, nullptr},
      {"unclosed header, junk", "[setting]\n[other\njunk\n=5\nblk=10\n", "10", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put(c.text);
    IniSettings saver;
    EXPECT_EQ(saver.Read("mofu", "setting", "blk"), Opt(c.blk));
    EXPECT_EQ(saver.Read("mofu", "setting", "sspeed"), Opt(c.sspeed));
    IniSettings dialog;
    dialog.Write("mofu", "setting", "sspeed", "2");
    IniSettings next;
    EXPECT_EQ(next.Read("mofu", "setting", "blk"), Opt(c.blk));
    EXPECT_EQ(next.Read("mofu", "setting", "sspeed"), "2");
  }
}

TEST(IniText, SettingAValueKeepsEveryOtherLine) {
  struct Case {
    const char* name;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"replaced in place", "# mine\n[setting]\n  blk = 20 \nsspeed=11\n",
       "# mine\n[setting]\nblk=40\nsspeed=11\n"},
      {"added to its section", "[setting]\nsspeed=7\n\n[other]\nx=1\n",
       "[setting]\nsspeed=7\nblk=40\n\n[other]\nx=1\n"},
      {"added after the last stretch", "[setting]\na=1\n[x]\n[setting]\nb=2\n# end\n",
       "[setting]\na=1\n[x]\n[setting]\nb=2\nblk=40\n# end\n"},
      {"a lone CR at the end of a CRLF file", "[setting]\r\nsspeed=1\r",
       "[setting]\r\nsspeed=1\r\nblk=40\r\n"},
      {"section added at the end", "[other]\nx=1", "[other]\nx=1\n[setting]\nblk=40\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string after = IniWithValue(c.before, "setting", "blk", "40");
    EXPECT_EQ(after, c.after);
    EXPECT_EQ(IniValue(after, "setting", "blk"), "40");
    EXPECT_EQ(IniValue(after, "setting", "sspeed"), IniValue(c.before, "setting", "sspeed"));
  }
}

TEST_F(SettingsFileTest, SavesLeaveOnlyTheFileOnlyTheUserMayRead) {
  IniSettings().Write("mofu", "setting", "blk", "20");
  struct stat status {};
  ASSERT_EQ(stat(File().parent_path().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  // Left by a save cut short, by this version and by older ones; a link
  // under the temporary name is replaced, never written through.
  std::ofstream(root / "target") << "theirs";
  fs::create_symlink(root / "target", File().string() + ".tmp");
  std::ofstream(File().string() + ".Ab12Z9") << "half";
  std::ofstream(File().string() + ".keep") << "mine";
  fs::create_symlink(root / "elsewhere", File().string() + ".Xy34Qw");
  IniSettings store;
  store.Write("mofu", "setting", "blk", "40");
  EXPECT_EQ(Text(), "[setting]\nblk=40\n");
  EXPECT_EQ(Folder(), (std::vector<std::string>{"settings.ini", "settings.ini.keep"}));
  std::stringstream target;
  target << std::ifstream(root / "target").rdbuf();
  EXPECT_EQ(target.str(), "theirs");
  ASSERT_EQ(stat(File().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
}

// Permissions do not stop root, so the folder's place is taken by a file.
TEST_F(SettingsFileTest, FailsWhereNoFolderCanBe) {
  std::ofstream(root / "mofu") << "not a folder\n";
  EXPECT_THROW(IniSettings().Write("mofu", "setting", "blk", "40"), RuntimeError);
  EXPECT_FALSE(SaveSettingsFile((root / "mofu" / "deeper" / "settings.ini").string(), "x"));
  EXPECT_THROW(IniSettings().Write("mofu", "setting", "blk", "4\n[x]"), RuntimeError);
}

// What cannot be read safely holds nothing, and is never written over.
TEST_F(SettingsFileTest, FilesBeyondTheLimitHoldNothingAndStay) {
  const std::string head = "[setting]\nblk=10\n";
  for (const std::size_t size :
       {IniSettings::kSettingsFileLimit, IniSettings::kSettingsFileLimit + 1}) {
    SCOPED_TRACE(size);
    const std::string comment = std::string(size - head.size() - 1, '#') + "\n";
    const std::string text = head + comment;
    Put(text);
    const bool within = size <= IniSettings::kSettingsFileLimit;
    EXPECT_EQ(IniSettings().Read("mofu", "setting", "blk"), within ? Opt("10") : std::nullopt);
    if (within) {
      IniSettings().Write("mofu", "setting", "sspeed", "4");
      EXPECT_EQ(Text(), head + "sspeed=4\n" + comment);
    } else {
      EXPECT_THROW(IniSettings().Write("mofu", "setting", "sspeed", "4"), RuntimeError);
      EXPECT_EQ(Text(), text);
    }
  }
}

TEST_F(SettingsFileTest, HomeComesFromThePasswordDatabaseWhenUnset) {
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(SettingsPath("mofu"), root.string() + "/mofu/settings.ini");
  setenv("XDG_CONFIG_HOME", "relative/place", 1);  // ignored, as relative ones must be
  EXPECT_EQ(SettingsPath("mofu"), "/home/someone/.config/mofu/settings.ini");
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  const std::string path = SettingsPath("mofu");
  EXPECT_NE(path.rfind("/.config/", 0), 0u) << path;
  if (const struct passwd* entry = getpwuid(getuid()); entry != nullptr) {
    EXPECT_EQ(path, std::string(entry->pw_dir) + "/.config/mofu/settings.ini");
  }
}

}  // namespace
}  // namespace mofu::linux_os
