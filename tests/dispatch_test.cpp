#include "tests/harness.hpp"

namespace mofu::test {
namespace {

enum class Outcome { kSaver, kDialog, kPasswordMessage, kNothing };

class Dispatch : public HostTest {};

TEST_F(Dispatch, FirstTwoCharactersUpperCasedPickTheMode) {
  struct Case {
    const char* argument;
    Outcome outcome;
  };
  const Case cases[] = {
      {"/S 1234", Outcome::kSaver},
      {"/x", Outcome::kSaver},
      {" /c", Outcome::kSaver},
      {"/c:1234", Outcome::kDialog},
      {"", Outcome::kDialog},
      {"/p 1234", Outcome::kNothing},
      {"/A 1234", Outcome::kPasswordMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argument);
    Fresh();
    fake().command_text = c.argument;
    fake().KeyAtYield(3);
    const bool ended = RunsToEnd();

    const bool saver = fake().window_visible || fake().yields > 0;
    EXPECT_EQ(saver, c.outcome == Outcome::kSaver);
    EXPECT_EQ(fake().dialog != nullptr, c.outcome == Outcome::kDialog);
    if (c.outcome == Outcome::kPasswordMessage) {
      ASSERT_EQ(fake().message_boxes.size(), 1u);
      EXPECT_EQ(fake().message_boxes[0], "Mofu Saver|64|パスワードには\r\n対応していません。");
    } else {
      EXPECT_TRUE(fake().message_boxes.empty());
    }
    // The dialog lives on in the event dispatch; every other road ends.
    EXPECT_EQ(ended, c.outcome != Outcome::kDialog);
    // Nothing but the dialog's OK writes a setting.
    EXPECT_TRUE(fake().settings.writes.empty());
    // The preview and password requests touch nothing else.
    if (c.outcome == Outcome::kNothing) {
      EXPECT_TRUE(fake().log.empty());
    }
    if (c.outcome == Outcome::kPasswordMessage) {
      EXPECT_EQ(fake().log, std::vector<std::string>{"msgbox"});
    }
  }
}

TEST_F(Dispatch, ASecondInstanceEndsAtOnceWithoutReadingTheCommandLine) {
  for (const char* argument : {"/s", "/c"}) {
    SCOPED_TRACE(argument);
    Fresh();
    fake().prev_instance = true;
    fake().command_text = argument;
    EXPECT_TRUE(RunsToEnd());
    EXPECT_EQ(fake().command_reads, 0);
    EXPECT_TRUE(fake().log.empty());
    EXPECT_TRUE(fake().message_boxes.empty());
  }
}

}  // namespace
}  // namespace mofu::test
