#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

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

// Records which of the saver window's handlers each input reached.
class RecordingHandlers final : public SkyHandlers {
 public:
  void Form_Click() override { calls.push_back("Form_Click"); }
  void Form_KeyDown(Int16 k, Int16) override {
    calls.push_back("Form_KeyDown " + std::to_string(k));
  }
  void Form_KeyPress(Int16 c) override { calls.push_back("Form_KeyPress " + std::to_string(c)); }
  void Form_MouseMove(Int16, Int16, float x, float y) override {
    calls.push_back("Form_MouseMove " + std::to_string(int(x)) + "," + std::to_string(int(y)));
  }
  void Picture1_KeyDown(Int16 k, Int16) override {
    calls.push_back("Picture1_KeyDown " + std::to_string(k));
  }
  void Form_Unload() override { calls.push_back("Form_Unload"); }
  std::vector<std::string> calls;
};

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
