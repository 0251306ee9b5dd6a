#pragma once

#include <stdexcept>
#include <string>

namespace mofu {

// Error numbers the program may meet; the numbers follow the classic forms
// runtime so an error report reads the way such reports always have.
enum class ErrorNumber : int {
  kTypeMismatch = 13,
  kOverflow = 6,
  kFileNotFound = 53,
  kPathFileAccess = 75,
  kInvalidPicture = 481,
  kSettingsWrite = 5,
};

// A run-time error. Recovery points are try/catch blocks on this type and on
// nothing broader, so that ending the process is never mistaken for one.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(ErrorNumber number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  ErrorNumber Number() const { return number_; }

 private:
  ErrorNumber number_;
};

// The saver cannot have the keyboard or the pointer: another program holds
// it. Covering the screen then would show a sky that no input ends, so the
// process ends without covering anything, with a status that tells an idle
// tool to try again later.
class InputHeldElsewhere : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
inline constexpr int kTryAgainLaterStatus = 75;

// Thrown by End: unwinds to the start routine, which ends the process. It is
// deliberately not a std::exception so no ordinary handler can swallow it.
struct ProcessEnd {};

[[noreturn]] inline void End() { throw ProcessEnd{}; }

}  // namespace mofu
