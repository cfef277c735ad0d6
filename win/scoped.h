// One small owner type per kind of Windows handle. Uncopyable, movable;
// each closes its handle with the one function that kind needs.
#pragma once

#include <windows.h>

#include <utility>

namespace qx::win {

template <typename Traits>
class Scoped {
 public:
  using Handle = typename Traits::Handle;

  Scoped() = default;
  explicit Scoped(Handle handle) : handle_(handle) {}
  ~Scoped() { Reset(); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : handle_(other.Release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  bool Valid() const { return Traits::Valid(handle_); }
  explicit operator bool() const { return Valid(); }
  Handle Get() const { return handle_; }
  // For APIs that return the handle through an out parameter.
  Handle* Receive() {
    Reset();
    return &handle_;
  }
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) {
    if (Traits::Valid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // files, processes, threads, snapshots, mutexes
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::RegCloseKey(h); }
};
struct LibraryTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::FreeLibrary(h); }
};
struct SidTraits {
  using Handle = PSID;
  static Handle Invalid() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::FreeSid(h); }
};
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::DeleteObject(h); }
};

using ScopedHandle = Scoped<KernelHandleTraits>;
using ScopedFindHandle = Scoped<FindHandleTraits>;
using ScopedRegKey = Scoped<RegKeyTraits>;
using ScopedLibrary = Scoped<LibraryTraits>;
using ScopedSid = Scoped<SidTraits>;
using ScopedGdiObject = Scoped<GdiObjectTraits>;

}  // namespace qx::win
