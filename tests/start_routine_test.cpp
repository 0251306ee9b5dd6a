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
    std::function<void()> create_window;  // what creating a window does
    std::function<void(int)> at_yield;    // what a yield of the saver does
    int status;
    std::vector<std::string> reports;
  };
  const auto refused = [] { throw std::runtime_error("The saver window could not be created"); };
  const auto no_display = [] {
    throw RuntimeError(ErrorNumber::kPathFileAccess, "cannot open the X display");
  };
  const auto no_class = [] { throw 42; };
  const auto held = [] { throw InputHeldElsewhere("another program holds the keyboard"); };
  const auto out_of_memory = [](int yield) {
    if (yield == 5) throw std::bad_alloc();
  };
  const Case cases[] = {
      {"window refused", refused, {}, 1, {"The saver window could not be created"}},
      {"a run-time error creating the window", no_display, {}, 1, {"cannot open the X display"}},
      {"no exception class at all", no_class, {}, 1, {"An unexpected error ended the program."}},
      {"out of memory", {}, out_of_memory, 1, {std::bad_alloc().what()}},
      {"input held: no box", held, {}, kTryAgainLaterStatus, {}},
      {"the saver ended by a key", {}, {}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    running = &fake();
    fake().command_text = "/s";
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
