#include "runtime/start_routine.hpp"

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/harness.hpp"

namespace mofu::test {
namespace {

headless::HeadlessHost* running = nullptr;

void ReleaseFormsAndSay() {
  Module1::ReleaseForms();
  running->log.push_back("forms released");
}

class StartRoutine : public HostTest {};

TEST_F(StartRoutine, EveryFailureIsReportedAfterTheWindowsAreGone) {
  struct Case {
    const char* name;
    const char* command;
    std::function<void()> create_window;  // what creating a window does
    std::function<void(int)> at_yield;    // what a yield of the saver does
    int status;
    std::vector<std::string> reports;
  };
  const auto refuse = [] { throw std::runtime_error("The saver window could not be created"); };
  const Case cases[] = {
      {"the system refuses the saver window",
       "/s",
       refuse,
       nullptr,
       1,
       {"The saver window could not be created"}},
      {"a run-time error creating the window",
       "/s",
       [] { throw RuntimeError(ErrorNumber::kPathFileAccess, "cannot open the X display"); },
       nullptr,
       1,
       {"cannot open the X display"}},
      {"something that is no exception class at all",
       "/s",
       [] { throw 42; },
       nullptr,
       1,
       {"An unexpected error ended the program."}},
      {"memory runs out while the saver shows",
       "/s",
       nullptr,
       [](int yield) {
         if (yield == 5) throw std::bad_alloc();
       },
       1,
       {std::bad_alloc().what()}},
      {"another program holds the input: a line for the idle tool, no box",
       "/s",
       [] { throw InputHeldElsewhere("another program holds the keyboard"); },
       nullptr,
       kTryAgainLaterStatus,
       {}},
      {"the saver ended by a key", "/s", nullptr, nullptr, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    running = &fake();
    fake().command_text = c.command;
    fake().on_create_window = c.create_window;
    fake().on_yield = c.at_yield;
    fake().KeyAtYield(20);

    EXPECT_EQ(RunProgram(fake(), &Module1::Main, &ReleaseFormsAndSay), c.status);

    EXPECT_EQ(fake().unhandled_errors, c.reports);
    std::vector<std::string> tail = {"forms released"};
    if (!c.reports.empty()) tail.push_back("unhandled error");
    ASSERT_GE(fake().log.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(fake().log.end() - static_cast<long>(tail.size()),
                                       fake().log.end()),
              tail);
    SetHost(fake_.get());  // the routine lets go of the host as it ends
  }
}

}  // namespace
}  // namespace mofu::test
