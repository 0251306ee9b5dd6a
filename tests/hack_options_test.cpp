#include "platform/x11/hack_options.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mofu::x11 {
namespace {

// What a daemon or a user may put on the command line, and where the saver
// then draws: "" is the standalone saver, "error" a refusal.
TEST(HackOptions, WhereTheSaverDraws) {
  struct Case {
    std::vector<const char*> args;
    const char* xscreensaver_window;
    std::string target;
  };
  const Case cases[] = {
      {{"/s"}, nullptr, ""},
      {{}, "0x400008", ""},  // the daemon's variable alone asks for nothing
      {{"--root"}, nullptr, "root"},
      {{"--root"}, "0x400008", "0x400008"},
      {{"--root"}, "0X40000A", "0x40000a"},
      {{"--root"}, "garbage", "error"},
      {{"--window-id", "0x2a"}, nullptr, "0x2a"},
      {{"--window-id=0x2a"}, nullptr, "0x2a"},
      {{"--window-id", "042"}, nullptr, "0x2a"},  // decimal, not octal
      // a window named on the command line wins over the variable
      {{"--root", "--window-id", "0x2a"}, "0x400008", "0x2a"},
      // options the daemon passes that mean nothing here
      {{"-install", "-visual", "default", "--root"}, nullptr, "root"},
      {{"--window-id"}, nullptr, "error"},
      {{"--window-id", "12abc"}, nullptr, "error"},
      {{"--window-id", "0x20000000"}, nullptr, "error"},  // beyond any X id
      {{"--window-id", "0x1fffffff"}, nullptr, "0x1fffffff"},
  };
  for (const Case& c : cases) {
    std::vector<char*> argv{const_cast<char*>("mofu")};
    std::string trace;
    for (const char* arg : c.args) {
      argv.push_back(const_cast<char*>(arg));
      trace += std::string(arg) + " ";
    }
    SCOPED_TRACE(trace + "XSCREENSAVER_WINDOW=" +
                 (c.xscreensaver_window ? c.xscreensaver_window : "(unset)"));
    std::string error;
    const auto target =
        FindHackTarget(static_cast<int>(argv.size()), argv.data(), c.xscreensaver_window, error);
    if (c.target == "error") {
      EXPECT_FALSE(target);
      EXPECT_FALSE(error.empty());
    } else {
      EXPECT_TRUE(error.empty()) << error;
      EXPECT_EQ(target ? target->Describe() : "", c.target);
    }
  }
}

}  // namespace
}  // namespace mofu::x11
