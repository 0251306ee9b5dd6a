#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "platform/headless/headless_host.hpp"
#include "runtime/host.hpp"
#include "runtime/runtime_error.hpp"
#include "saver/form1.hpp"
#include "settings/form2.hpp"
#include "settings/settings.hpp"
#include "start/module1.hpp"

namespace mofu::test {

using headless::InputEvent;

inline InputEvent Pointer(double x, double y) { return {InputEvent::Kind::kPointer, x, y}; }
inline InputEvent Key(std::int16_t code = 65, std::int16_t character = 0) {
  return InputEvent::Key(code, 0, character);
}

// Each test gets a fresh fake system and fresh program globals.
class HostTest : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
  void TearDown() override {
    Module1::ReleaseForms();
    SetHost(nullptr);
  }

  // Starts over with a new fake system, as a new process would.
  void Fresh() {
    Module1::ReleaseForms();
    fake_ = std::make_unique<headless::HeadlessHost>();
    SetHost(fake_.get());
    EndFlag = BlkWidth = SpeedLevel = BlkOnOpen = 0;
    NextLeft = NextTop = 0;
  }

  headless::HeadlessHost& fake() { return *fake_; }

  // Runs the start procedure; true when the program ended itself.
  bool RunsToEnd() {
    try {
      Module1::Main();
    } catch (const ProcessEnd&) {
      return true;
    }
    return false;
  }

  // Runs the saver with the given command line until it ends.
  void RunSaver() {
    if (fake().command_text.empty()) fake().command_text = "/s";
    ASSERT_TRUE(RunsToEnd());
  }

  void Script(std::initializer_list<float> draws) {
    for (float d : draws) fake().random.script.push_back(d);
  }

  std::unique_ptr<headless::HeadlessHost> fake_;
};

}  // namespace mofu::test
