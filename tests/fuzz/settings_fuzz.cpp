// libFuzzer target for the settings file's grammar: any text reads without
// fault, and a value written into it reads back as written while the other
// key keeps what it had. The stored number then goes through the same
// conversion the saver and the dialog use.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/ini_text.hpp"
#include "runtime/numeric.hpp"
#include "runtime/runtime_error.hpp"

namespace {

// One function per broken promise, so that the fuzzer tells findings apart
// by their stacks.
[[noreturn]] __attribute__((noinline)) void WrittenValueDoesNotReadBack() { std::abort(); }
[[noreturn]] __attribute__((noinline)) void WriteChangedTheOtherKey() { std::abort(); }

void Convert(const std::optional<std::string>& value) {
  if (!value) return;
  try {
    mofu::TextToInt16(*value);
  } catch (const mofu::RuntimeError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> blk = mofu::IniValue(text, "setting", "blk");
  const std::optional<std::string> sspeed = mofu::IniValue(text, "setting", "sspeed");
  Convert(blk);
  Convert(sspeed);

  // What the dialog's OK does: blk, then sspeed, each into the text as it
  // stands after the one before.
  const std::string once = mofu::IniWithValue(text, "setting", "blk", "120");
  if (mofu::IniValue(once, "setting", "blk") != "120") WrittenValueDoesNotReadBack();
  if (mofu::IniValue(once, "setting", "sspeed") != sspeed) WriteChangedTheOtherKey();
  const std::string twice = mofu::IniWithValue(once, "setting", "sspeed", "11");
  if (mofu::IniValue(twice, "setting", "sspeed") != "11") WrittenValueDoesNotReadBack();
  if (mofu::IniValue(twice, "setting", "blk") != "120") WriteChangedTheOtherKey();
  return 0;
}
