// COM ownership: an interface pointer that releases itself, and the
// apartment that a step initialises around its own calls.
#pragma once

#include <objbase.h>

#include <utility>

namespace qx::win {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(T* adopted) : ptr_(adopted) {}
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) {
    ComPtr copy(other);
    std::swap(ptr_, copy.ptr_);
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      ptr_ = std::exchange(other.ptr_, nullptr);
    }
    return *this;
  }

  T* Get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  T** Receive() {
    Reset();
    return &ptr_;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
  void Reset() {
    if (ptr_) std::exchange(ptr_, nullptr)->Release();
  }

  template <typename U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> other;
    if (ptr_) ptr_->QueryInterface(iid, other.ReceiveVoid());
    return other;
  }

 private:
  T* ptr_ = nullptr;
};

// CoInitialize for the lifetime of a scope; uninitialises only what it started.
class ScopedCoInitialize {
 public:
  ScopedCoInitialize() : result_(::CoInitialize(nullptr)) {}
  ~ScopedCoInitialize() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ScopedCoInitialize(const ScopedCoInitialize&) = delete;
  ScopedCoInitialize& operator=(const ScopedCoInitialize&) = delete;
  bool Succeeded() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

}  // namespace qx::win
