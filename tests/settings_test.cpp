#include "tests/harness.hpp"

namespace mofu::test {
namespace {

class SaverReads : public HostTest {};

TEST_F(SaverReads, DefaultsWhenAbsentFallBacksWhenUnreadable) {
  struct Case {
    const char* blk;     // nullptr: absent
    const char* sspeed;  // nullptr: absent
    Int16 width;
    Int16 speed;
  };
  const Case cases[] = {
      {nullptr, nullptr, 40, 2},  // first run
      {"80", "abc", 80, 1},       // an unreadable speed falls back to 1, not to 2
      {"abc", "", 40, 1},         // present but empty is unreadable too
      {"40000", nullptr, 40, 2},  // beyond 16 bits
      {"33", "-5", 33, -5},       // numbers outside the choices are used as they are
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.blk ? c.blk : "-") + " " + (c.sspeed ? c.sspeed : "-"));
    Fresh();
    if (c.blk) fake().settings.Put("blk", c.blk);
    if (c.sspeed) fake().settings.Put("sspeed", c.sspeed);
    fake().KeyAtYield(1);
    RunSaver();
    EXPECT_EQ(BlkWidth, c.width);
    EXPECT_EQ(SpeedLevel, c.speed);
    EXPECT_TRUE(fake().settings.writes.empty());  // the saver never writes
  }
}

}  // namespace
}  // namespace mofu::test
