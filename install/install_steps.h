// Runs the install run's main-thread steps one per timer tick on a window,
// in order, so that the window repaints and takes input between them: a
// user must never see a frozen, greyed-out installer while it registers.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

namespace qx::install {

class InstallSteps {
 public:
  // Appends a step; delayMs is how long the queue waits before running it.
  void Add(std::function<void()> step, UINT delayMs = 0);
  // Schedules the next step on `window` (TIMER_INSTALL_STEP).
  void Start(HWND window);
  // The timer's tick: runs one step, schedules the next. A step may add more.
  void OnTimer(HWND window);
  // Runs every waiting step at once, for when the run must end now.
  void RunAllNow(HWND window);
  bool Pending() const { return !steps_.empty(); }

 private:
  struct Step {
    std::function<void()> run;
    UINT delayMs;
  };
  std::deque<Step> steps_;
};

}  // namespace qx::install
