#include "platform/gtk/settings_file.hpp"

#include <glib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace mofu::gtk {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    gchar* dir = g_dir_make_tmp("mofu-settings-XXXXXX", nullptr);
    ASSERT_NE(dir, nullptr);
    root = dir;
    g_free(dir);
  }
  void TearDown() override { fs::remove_all(root); }

  static void Put(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }
  static std::string Text(const fs::path& file) {
    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    return text.str();
  }

  fs::path root;
};

TEST_F(SettingsFileTest, SetsOneValueAndKeepsEverythingElse) {
  struct Case {
    const char* name;
    std::string before;  // empty: no file, nor folder
    std::string after;
  };
  const Case cases[] = {
      {"new file in a new folder", "", "[setting]\nblk=40\n"},
      {"replaces the value", "[setting]\nblk=20\nsspeed=11\n", "[setting]\nblk=40\nsspeed=11\n"},
      {"adds the key", "[setting]\nsspeed=7\n", "[setting]\nsspeed=7\nblk=40\n"},
      {"keeps comments and other groups", "# mine\n[other]\nx=1\n[setting]\nblk=abc\n",
       "# mine\n\n[other]\nx=1\n\n[setting]\nblk=40\n"},
      {"starts afresh over what it cannot parse", "blk=abc\n", "[setting]\nblk=40\n"},
  };
  for (const Case& c : cases) {
    const fs::path file = root / c.name / "mofu" / "settings.ini";
    if (!c.before.empty()) Put(file, c.before);
    ASSERT_TRUE(WriteSettingValue(file, "setting", "blk", "40")) << c.name;
    EXPECT_EQ(Text(file), c.after) << c.name;
    // Replaced whole: no temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator{}),
              1)
        << c.name;
  }
}

TEST_F(SettingsFileTest, OnlyTheUserMayReadANewFile) {
  const fs::path file = root / "mofu" / "settings.ini";
  ASSERT_TRUE(WriteSettingValue(file, "setting", "sspeed", "2"));
  struct stat status {};
  ASSERT_EQ(stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
}

// Permissions do not stop root, so the folder's place is taken by a file.
TEST_F(SettingsFileTest, FailsWhereNoFolderCanBe) {
  Put(root / "mofu", "not a folder\n");
  EXPECT_FALSE(WriteSettingValue(root / "mofu" / "settings.ini", "setting", "blk", "40"));
  EXPECT_FALSE(
      WriteSettingValue(root / "mofu" / "deeper" / "settings.ini", "setting", "blk", "40"));
  EXPECT_EQ(Text(root / "mofu"), "not a folder\n");
}

}  // namespace
}  // namespace mofu::gtk
