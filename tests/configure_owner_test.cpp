#include <gtest/gtest.h>

#include "platform/win32/command_line.hpp"

namespace mofu::win32 {
namespace {

// The whole command line as Windows hands it over, and the window a
// configuration request names in it (0: none).
TEST(ConfigureOwner, OnlyAWholeDecimalHandleAfterTheConfigureSwitch) {
  struct Case {
    const wchar_t* command_line;
    std::uintptr_t owner;
  };
  const Case cases[] = {
      {L"mofu.scr /c:1234", 1234},
      {L"mofu.scr /c 65552", 65552},
      {L"\"C:\\Program Files\\x y\\mofu.scr\" /c:4294967295", 4294967295u},
      {L"mofu.scr /c", 0},
      {L"mofu.scr /c:0", 0},
      {L"mofu.scr /c:12a", 0},
      {L"mofu.scr /c: 12", 0},
      {L"mofu.scr /c:12 ", 0},
      {L"mofu.scr /c:99999999999999999999999", 0},
      {L"mofu.scr /cx1234", 0},
      {L"mofu.scr 1234", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.command_line)));
    EXPECT_EQ(ConfigureOwner(ArgumentText(c.command_line)), c.owner);
  }
}

}  // namespace
}  // namespace mofu::win32
