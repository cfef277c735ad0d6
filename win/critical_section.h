// A critical section that lives as long as its owner, its scope lock, and a
// condition variable to wait on it with. The system's own primitives: under
// Wine they wait in the process (futexes), where the C++ runtime's posix
// emulation takes a round trip to the server for every wait and wake.
#pragma once

#include <windows.h>

#include <mutex>

namespace qx::win {

class CriticalSection {
 public:
  CriticalSection() { ::InitializeCriticalSection(&section_); }
  ~CriticalSection() { ::DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  void Enter() { ::EnterCriticalSection(&section_); }
  void Leave() { ::LeaveCriticalSection(&section_); }
  // For std::unique_lock and std::lock_guard.
  void lock() { Enter(); }
  void unlock() { Leave(); }
  CRITICAL_SECTION* Native() { return &section_; }

 private:
  CRITICAL_SECTION section_;
};

class ScopedLock {
 public:
  explicit ScopedLock(CriticalSection& section) : section_(section) { section_.Enter(); }
  ~ScopedLock() { section_.Leave(); }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

 private:
  CriticalSection& section_;
};

using UniqueLock = std::unique_lock<CriticalSection>;

class ConditionVariable {
 public:
  ConditionVariable() = default;
  ConditionVariable(const ConditionVariable&) = delete;
  ConditionVariable& operator=(const ConditionVariable&) = delete;
  template <typename Predicate>
  void Wait(UniqueLock& lock, Predicate ready) {
    while (!ready()) ::SleepConditionVariableCS(&variable_, lock.mutex()->Native(), INFINITE);
  }
  void WakeOne() { ::WakeConditionVariable(&variable_); }
  void WakeAll() { ::WakeAllConditionVariable(&variable_); }

 private:
  CONDITION_VARIABLE variable_ = CONDITION_VARIABLE_INIT;
};

}  // namespace qx::win
