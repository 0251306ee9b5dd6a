#include "runtime/start_routine.hpp"

#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "runtime/host.hpp"
#include "runtime/runtime_error.hpp"

namespace mofu {

int RunProgram(Host& host, void (*start_procedure)(), void (*release_forms)()) {
  SetHost(&host);
  std::optional<std::string> error;
  int status = 0;
  try {
    start_procedure();
    host.RunEventLoop();
  } catch (const ProcessEnd&) {
  } catch (const InputHeldElsewhere& refusal) {
    // Not an error of the program's: a line for whoever started it, never a
    // message box, which could not be answered either.
    std::fprintf(stderr, "mofu: %s\n", refusal.what());
    status = kTryAgainLaterStatus;
  } catch (const std::exception& failure) {
    // A run-time error, or a failure of the runtime itself (a window the
    // system would not create, memory run out): the user hears of either
    // the same way, rather than the process vanishing.
    error = failure.what();
  } catch (...) {
    error = "An unexpected error ended the program.";
  }
  // The windows go before the report: a saver still covering the screen and
  // holding the input would hide it, or keep the user from answering it.
  release_forms();
  if (error) {
    host.ReportUnhandledError(*error);
    status = 1;
  }
  SetHost(nullptr);
  return status;
}

}  // namespace mofu
