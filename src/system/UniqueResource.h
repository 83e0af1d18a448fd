#pragma once
// RAII for Win32 handles in one line: UniqueResource<T, Close, Invalid> owns a value of T and
// calls Close on it once unless it is the invalid value. Aliases below name the common handles.
#include <windows.h>

#include <utility>

namespace vek {

template <typename T>
struct NullIsInvalid {
  static T Value() noexcept { return T{}; }
};

// File and find handles signal failure with INVALID_HANDLE_VALUE instead of null.
struct MinusOneIsInvalid {
  static HANDLE Value() noexcept { return INVALID_HANDLE_VALUE; }
};

template <typename T, auto Close, typename Invalid = NullIsInvalid<T>>
class UniqueResource {
 public:
  UniqueResource() noexcept = default;
  explicit UniqueResource(T aValue) noexcept : fValue(aValue) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& aOther) noexcept : fValue(aOther.release()) {}
  UniqueResource& operator=(UniqueResource&& aOther) noexcept {
    if (this != &aOther) reset(aOther.release());
    return *this;
  }
  ~UniqueResource() { reset(); }

  T get() const noexcept { return fValue; }
  explicit operator bool() const noexcept { return fValue != Invalid::Value(); }
  T release() noexcept { return std::exchange(fValue, Invalid::Value()); }
  void reset(T aValue = Invalid::Value()) noexcept {
    if (fValue != Invalid::Value()) Close(fValue);
    fValue = aValue;
  }
  T* put() noexcept {
    reset();
    return &fValue;
  }

 private:
  T fValue = Invalid::Value();
};

namespace detail {
inline void CloseHandleNoResult(HANDLE h) noexcept { ::CloseHandle(h); }
inline void FindCloseNoResult(HANDLE h) noexcept { ::FindClose(h); }
inline void RegCloseKeyNoResult(HKEY h) noexcept { ::RegCloseKey(h); }
inline void FreeLibraryNoResult(HMODULE h) noexcept { ::FreeLibrary(h); }
}  // namespace detail

using UniqueHandle = UniqueResource<HANDLE, detail::CloseHandleNoResult>;
using UniqueFileHandle = UniqueResource<HANDLE, detail::CloseHandleNoResult, MinusOneIsInvalid>;
using UniqueFindHandle = UniqueResource<HANDLE, detail::FindCloseNoResult, MinusOneIsInvalid>;
using UniqueHKey = UniqueResource<HKEY, detail::RegCloseKeyNoResult>;
using UniqueHModule = UniqueResource<HMODULE, detail::FreeLibraryNoResult>;

}  // namespace vek
