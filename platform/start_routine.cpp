#include "platform/start_routine.hpp"

#include <cstdio>

#include "platform/host.hpp"
#include "platform/runtime_error.hpp"

namespace mofu {

int RunProgram(Host& host, void (*start_procedure)(), void (*release_forms)()) {
  SetHost(&host);
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
  } catch (const RuntimeError& error) {
    host.ReportUnhandledError(error.what());
    status = 1;
  }
  release_forms();
  SetHost(nullptr);
  return status;
}

}  // namespace mofu
