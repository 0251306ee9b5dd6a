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
  bool Press(const char* button) {
    try {
      fake().dialog->Click({button});
    } catch (const ProcessEnd&) {
      return true;
    }
    return false;
  }
  bool CloseBox() {
    try {
      fake().dialog->Close();
    } catch (const ProcessEnd&) {
      return true;
    }
    return false;
  }
};

TEST_F(Dialog, ShowsTheStoredChoicesAndWritesWhatIsSelected) {
  struct Case {
    const char* name;
    const char* blk;     // nullptr: absent
    const char* sspeed;  // nullptr: absent
    ControlId density;   // selected when it opens
    ControlId speed;
    std::vector<ControlId> user_selects;
    const char* action;  // "OK", "Cancel" or "close"
    std::vector<std::string> writes;
    Int16 blk_after;
  };
  const Case cases[] = {
      {"empty store, OK",
       nullptr,
       nullptr,
       {"Option1", 2},
       {"Option3"},
       {},
       "OK",
       {"blk=40", "sspeed=2"},
       40},
      {"empty store, Cancel", nullptr, nullptr, {"Option1", 2}, {"Option3"}, {}, "Cancel", {}, 40},
      {"20 and 11", "20", "11", {"Option1", 1}, {"Option6"}, {}, "OK", {"blk=20", "sspeed=11"}, 20},
      {"33 keeps the design choice",
       "33",
       "2",
       {"Option1", 2},
       {"Option3"},
       {},
       "OK",
       {"blk=40", "sspeed=2"},
       40},
      {"letters in sspeed",
       "80",
       "abc",
       {"Option1", 3},
       {"Option2"},
       {},
       "OK",
       {"blk=80", "sspeed=1"},
       80},
      {"signed numbers are read",
       "+80",
       "+4",
       {"Option1", 3},
       {"Option4"},
       {},
       "OK",
       {"blk=80", "sspeed=4"},
       80},
      {"few and fastest",
       nullptr,
       nullptr,
       {"Option1", 2},
       {"Option3"},
       {{"Option1", 4}, {"Option2"}},
       "OK",
       {"blk=120", "sspeed=1"},
       120},
      {"changes then Cancel",
       "10",
       "7",
       {"Option1", 0},
       {"Option5"},
       {{"Option1", 4}, {"Option2"}},
       "Cancel",
       {},
       10},
      {"changes then the close box",
       "33",
       "7",
       {"Option1", 2},
       {"Option5"},
       {{"Option1", 4}, {"Option6"}},
       "close",
       {},
       33},
      {"the groups are independent",
       nullptr,
       nullptr,
       {"Option1", 2},
       {"Option3"},
       {{"Option4"}, {"Option1", 0}, {"Option1", 1}},
       "OK",
       {"blk=20", "sspeed=4"},
       20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    if (c.blk) fake().settings.Put("blk", c.blk);
    if (c.sspeed) fake().settings.Put("sspeed", c.sspeed);
    Open();
    EXPECT_TRUE(fake().dialog->visible);
    EXPECT_EQ(fake().dialog->Selected("Frame1"), c.density);
    EXPECT_EQ(fake().dialog->Selected("Frame2"), c.speed);
    for (const ControlId& id : c.user_selects) fake().dialog->SelectOption(id);
    const std::string action = c.action;
    const bool ended =
        action == "close" ? CloseBox() : Press(action == "OK" ? "Command1" : "Command2");
    EXPECT_TRUE(ended);
    EXPECT_EQ(fake().settings.writes, c.writes);
    EXPECT_EQ(BlkWidth, c.blk_after);
    EXPECT_TRUE(fake().message_boxes.empty());
  }
}

TEST_F(Dialog, AFailedWriteIsToldOnceAndNothingWrittenIsUndone) {
  struct Case {
    std::vector<std::string> failing;
    std::vector<std::string> stored;  // what the store holds afterwards
    std::vector<std::string> attempts;
  };
  const Case cases[] = {
      {{"sspeed"}, {"blk=120"}, {"write blk", "write sspeed"}},
      {{"blk"}, {"sspeed=1"}, {"write blk", "write sspeed"}},
      {{"blk", "sspeed"}, {}, {"write blk", "write sspeed"}},
  };
  for (const Case& c : cases) {
    Fresh();
    for (const auto& key : c.failing) fake().settings.failing_writes.insert(key);
    Open();
    fake().dialog->SelectOption({"Option1", 4});
    fake().dialog->SelectOption({"Option2"});
    fake().log.clear();
    EXPECT_TRUE(Press("Command1"));
    EXPECT_EQ(fake().settings.writes, c.stored);
    // Both writes are tried, in order, once each, and then the user is told.
    EXPECT_EQ(fake().log, (std::vector<std::string>{"write blk", "write sspeed", "msgbox"}));
    ASSERT_EQ(fake().message_boxes.size(), 1u);
    EXPECT_EQ(fake().message_boxes[0].rfind("Mofu Saver|48|", 0), 0u);
  }
}

TEST_F(Dialog, ReadsDensityFirstAndShowsBeforeReading) {
  Open();
  EXPECT_EQ(fake().log,
            (std::vector<std::string>{"create dialog", "dialog show", "read blk", "read sspeed"}));
  EXPECT_EQ(BlkOnOpen, 40);
  EXPECT_EQ(SpeedLevel, 2);
}

}  // namespace
}  // namespace mofu::test
