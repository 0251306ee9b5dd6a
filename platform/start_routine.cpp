#include "platform/start_routine.hpp"

#include <exception>
#include <optional>
#include <string>

#include "platform/host.hpp"
#include "platform/runtime_error.hpp"

namespace mofu {

int RunProgram(Host& host, void (*start_procedure)(), void (*release_forms)()) {
  SetHost(&host);
  std::optional<std::string> error;
  try {
    start_procedure();
    host.RunEventLoop();
  } catch (const ProcessEnd&) {
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
  if (error) host.ReportUnhandledError(*error);
  SetHost(nullptr);
  return error ? 1 : 0;
}

}  // namespace mofu
