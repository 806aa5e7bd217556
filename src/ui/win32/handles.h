// Move-only owners of the Windows handles the program keeps: kernel handles, GDI objects
// and file searches. Destructors release quietly.
#pragma once

#include <windows.h>

#include <utility>

namespace tarvenix {

template <class Handle, class Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : handle_(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, Traits::none())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Traits::none()));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::none(); }
  void reset(Handle h = Traits::none()) {
    if (handle_ != Traits::none()) Traits::close(handle_);
    handle_ = h;
  }

 private:
  Handle handle_ = Traits::none();
};

struct KernelHandleTraits {
  static HANDLE none() { return nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits {
  static HANDLE none() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {
  static HANDLE none() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { FindClose(h); }
};
struct FontTraits {
  static HFONT none() { return nullptr; }
  static void close(HFONT h) { DeleteObject(h); }
};

using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using FindHandle = UniqueHandle<HANDLE, FindHandleTraits>;
using FontHandle = UniqueHandle<HFONT, FontTraits>;

}  // namespace tarvenix
