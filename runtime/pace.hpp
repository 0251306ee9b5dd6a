#pragma once

#include <cstdint>

namespace mofu {

// What the pace model needs of a backend: a monotonic clock, a way to sleep
// that wakes at once when input arrives, and a way to put the frame on screen.
class PaceClock {
 public:
  virtual ~PaceClock() = default;
  virtual std::int64_t NowMicros() = 0;
  // Sleeps until the deadline or until input is pending, whichever is first.
  // Returns true when it woke (or did not sleep) because of input.
  virtual bool WaitForInput(std::int64_t deadline_micros) = 0;
  // Shows what changed since the last frame.
  virtual void PresentFrame() = 0;
};

// Keeps the loop at a machine-independent pace. Every pass of the loop and
// every iteration of the sprite's delay has a fixed nominal cost; the loop may
// never run ahead of real time, so when nominal time gets ahead the model
// presents the frame and sleeps. A stall (the machine busy elsewhere, a
// suspended process) is forgiven rather than caught up with a burst.
class PaceModel {
 public:
  static constexpr std::int64_t kPassMicros = 20;
  static constexpr std::int64_t kIterationMicros = 1;
  // Lagging further behind than this counts as a stall.
  static constexpr std::int64_t kStallMicros = 100'000;
  // The longest a change other than the cat's waits to be shown: three
  // display refreshes. Each frame is a wake-up and a present, which is most
  // of what the saver costs, and stars and eraser dots need no smoother
  // showing than this; without a step of the cat the model sleeps only once
  // nominal time is this far ahead: few, long sleeps.
  static constexpr std::int64_t kFrameMicros = 48'000;
  // One display refresh at 60 Hz, where the system tells no other.
  static constexpr std::int64_t kRefreshMicros = 16'667;

  // A refresh interval of 0 is one the system does not tell: 60 Hz.
  explicit PaceModel(PaceClock& clock, std::int64_t frame_micros = kFrameMicros,
                     std::int64_t refresh_micros = kRefreshMicros);

  // The display changed (a new mode, another monitor); 0 as above.
  void SetRefreshMicros(std::int64_t refresh_micros) {
    refresh_micros_ = refresh_micros > 0 ? refresh_micros : kRefreshMicros;
  }

  // One pass of the loop, at its event yield; presents the frame if due.
  void Pass();
  // The cat took a step on screen, now in nominal time. Frames follow the
  // cat: each step goes on screen when real time reaches it, at most once a
  // display refresh, so it moves one pixel a frame up to the refresh rate;
  // faster, a present carries the steps taken since the last one.
  void Stepped();
  // Iterations of the sprite's delay.
  void Iterations(std::int64_t count);
  // Presents the frame unless one went out within the last frame time.
  void PresentIfDue();

  std::int64_t NominalMicros() const { return nominal_; }
  // The clock as the model last read it: during this pass, or after its sleep.
  std::int64_t ClockMicros() const { return now_; }
  std::int64_t FrameMicros() const { return frame_micros_; }

 private:
  void WaitForRealTime();
  void PresentIfDueAt(std::int64_t now);
  void PresentDue();
  void Present(std::int64_t now);
  std::int64_t StepDue() const;
  void ShowDueStep();

  PaceClock& clock_;
  std::int64_t frame_micros_;
  std::int64_t refresh_micros_ = kRefreshMicros;
  int steps_unshown_ = 0;     // steps taken since the last present
  std::int64_t step_at_ = 0;  // the first of them, in nominal time
  std::int64_t nominal_;
  std::int64_t now_;
  std::int64_t last_present_;
};

}  // namespace mofu
