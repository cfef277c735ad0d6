#include "install/install_steps.h"

#include "install/messages.h"

namespace qx::install {

void InstallSteps::Add(std::function<void()> step, UINT delayMs) { steps_.push_back({std::move(step), delayMs}); }

void InstallSteps::Start(HWND window) {
  if (steps_.empty()) return;
  // A timer message comes after waiting paints and input, unlike a posted one.
  ::SetTimer(window, TIMER_INSTALL_STEP, steps_.front().delayMs > 0 ? steps_.front().delayMs : USER_TIMER_MINIMUM,
             nullptr);
}

void InstallSteps::OnTimer(HWND window) {
  ::KillTimer(window, TIMER_INSTALL_STEP);
  if (steps_.empty()) return;
  Step step = std::move(steps_.front());
  steps_.pop_front();
  step.run();
  Start(window);
}

void InstallSteps::RunAllNow(HWND window) {
  ::KillTimer(window, TIMER_INSTALL_STEP);
  while (!steps_.empty()) {
    Step step = std::move(steps_.front());
    steps_.pop_front();
    if (step.delayMs > 0) ::Sleep(step.delayMs);
    step.run();
  }
}

}  // namespace qx::install
