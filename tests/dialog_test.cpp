#include "tests/harness.hpp"

namespace mofu::test {
namespace {

class Dialog : public HostTest {
 protected:
  void Open() {
    fake().command_text = "/c";
    ASSERT_FALSE(RunsToEnd());  // the dialog stays open in the event dispatch
    ASSERT_NE(fake().dialog, nullptr);
  }
  // Presses OK or Cancel, or the close box; true when the program ended.
  bool Ends(const std::string& action) {
    try {
      if (action == "close") {
        fake().dialog->Close();
      } else {
        fake().dialog->Click({action == "OK" ? "Command1" : "Command2"});
      }
    } catch (const ProcessEnd&) {
      return true;
    }
    return false;
  }
};

// Density options are Option1(0..4); speeds are Option2..Option6.
TEST_F(Dialog, ShowsTheStoredChoicesAndWritesWhatIsSelected) {
  struct Case {
    const char* blk;  // nullptr: absent
    const char* sspeed;
    int density, speed;  // selected when it opens
    std::vector<ControlId> user_selects;
    const char* action;
    std::vector<std::string> writes;
  };
  const Case cases[] = {
      {nullptr, nullptr, 2, 3, {}, "OK", {"blk=40", "sspeed=2"}},
      {"33", "abc", 2, 2, {}, "OK", {"blk=40", "sspeed=1"}},  // no such choice; unreadable
      {nullptr, nullptr, 2, 3, {{"Option1", 4}, {"Option2"}}, "OK", {"blk=120", "sspeed=1"}},
      {"10", "7", 0, 5, {{"Option1", 4}, {"Option2"}}, "Cancel", {}},
      {"33", "7", 2, 5, {{"Option1", 4}, {"Option6"}}, "close", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.blk ? c.blk : "-") << " " << c.action);
    Fresh();
    if (c.blk) fake().settings.Put("blk", c.blk);
    if (c.sspeed) fake().settings.Put("sspeed", c.sspeed);
    Open();
    EXPECT_EQ(fake().dialog->Selected("Frame1"), (ControlId{"Option1", c.density}));
    EXPECT_EQ(fake().dialog->Selected("Frame2"), (ControlId{"Option" + std::to_string(c.speed)}));
    for (const ControlId& id : c.user_selects) fake().dialog->SelectOption(id);
    EXPECT_TRUE(Ends(c.action));
    EXPECT_EQ(fake().settings.writes, c.writes);
    EXPECT_TRUE(fake().message_boxes.empty());
  }
}

TEST_F(Dialog, AFailedWriteIsToldOnceAndNothingWrittenIsUndone) {
  struct Case {
    std::vector<std::string> failing;
    std::vector<std::string> stored;  // what the store holds afterwards
  };
  const Case cases[] = {{{"blk"}, {"sspeed=1"}}};
  for (const Case& c : cases) {
    Fresh();
    for (const auto& key : c.failing) fake().settings.failing_writes.insert(key);
    Open();
    fake().dialog->SelectOption({"Option1", 4});
    fake().dialog->SelectOption({"Option2"});
    fake().log.clear();
    EXPECT_TRUE(Ends("OK"));
    EXPECT_EQ(fake().settings.writes, c.stored);
    // Both writes are tried, in order, once each, and then the user is told.
    EXPECT_EQ(fake().log, (std::vector<std::string>{"write blk", "write sspeed", "msgbox"}));
    ASSERT_EQ(fake().message_boxes.size(), 1u);
    EXPECT_EQ(fake().message_boxes[0].rfind("Mofu Saver|48|", 0), 0u);
  }
}

}  // namespace
}  // namespace mofu::test
