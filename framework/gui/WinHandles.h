// One family of owners for Windows handles: each closes its handle with the call that
// belongs to it, moves but never copies, and knows which value means "no handle".
//
//   fw::TFileHandle file(CreateFileA(...));
//   if (!file) RaiseLastOSError();
//   ReadFile(file.Get(), ...);
//
// COM interface pointers use Microsoft::WRL::ComPtr (<wrl/client.h>).
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

template <class Traits>
class TUniqueHandle {
 public:
  using Type = typename Traits::Type;

  TUniqueHandle() noexcept = default;
  explicit TUniqueHandle(Type Handle) noexcept : FHandle(Handle) {}
  ~TUniqueHandle() { Reset(); }
  TUniqueHandle(TUniqueHandle&& Other) noexcept : FHandle(Other.Release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& Other) noexcept {
    if (this != &Other) Reset(Other.Release());
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  Type Get() const noexcept { return FHandle; }
  bool Valid() const noexcept { return FHandle != Traits::Invalid(); }
  explicit operator bool() const noexcept { return Valid(); }

  // Gives the handle up without closing it.
  Type Release() noexcept { return std::exchange(FHandle, Traits::Invalid()); }
  // Closes the handle held (if any) and takes Handle.
  void Reset(Type Handle = Traits::Invalid()) noexcept {
    Type old = std::exchange(FHandle, Handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  // For functions that return a handle through a pointer: closes the one held first.
  Type* Put() noexcept {
    Reset();
    return &FHandle;
  }

 private:
  Type FHandle = Traits::Invalid();
};

namespace handle_traits {

// Processes, threads, events, mutexes, mappings: nil when absent.
struct Kernel {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { CloseHandle(h); }
};

// What CreateFile returns: INVALID_HANDLE_VALUE when absent.
struct File {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { CloseHandle(h); }
};

struct Find {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { FindClose(h); }
};

// An opened registry key; the predefined roots are never owned, so they are not closed.
struct RegKey {
  using Type = HKEY;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept {
    auto value = reinterpret_cast<ULONG_PTR>(h);
    if (value < reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT) || value > reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_USER_LOCAL_SETTINGS))
      RegCloseKey(h);
  }
};

struct Module {
  using Type = HMODULE;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { FreeLibrary(h); }
};

template <class T>
struct GdiObject {
  using Type = T;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { DeleteObject(h); }
};

struct Icon {
  using Type = HICON;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { DestroyIcon(h); }
};

struct MemoryDC {
  using Type = HDC;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { DeleteDC(h); }
};

}  // namespace handle_traits

using TKernelHandle = TUniqueHandle<handle_traits::Kernel>;
using TFileHandle = TUniqueHandle<handle_traits::File>;
using TFindHandle = TUniqueHandle<handle_traits::Find>;
using TRegKeyHandle = TUniqueHandle<handle_traits::RegKey>;
using TModuleHandle = TUniqueHandle<handle_traits::Module>;
template <class T>
using TGdiHandle = TUniqueHandle<handle_traits::GdiObject<T>>;
using TFontHandle = TGdiHandle<HFONT>;
using TBrushHandle = TGdiHandle<HBRUSH>;
using TBitmapHandle = TGdiHandle<HBITMAP>;
using TIconHandle = TUniqueHandle<handle_traits::Icon>;
using TMemoryDCHandle = TUniqueHandle<handle_traits::MemoryDC>;

// A device context borrowed from a window with GetDC, given back with ReleaseDC.
class TWindowDC {
 public:
  explicit TWindowDC(HWND Wnd) noexcept : FWnd(Wnd), FDC(GetDC(Wnd)) {}
  ~TWindowDC() {
    if (FDC != nullptr) ReleaseDC(FWnd, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const noexcept { return FDC; }
  explicit operator bool() const noexcept { return FDC != nullptr; }

 private:
  HWND FWnd;
  HDC FDC;
};

// Selects an object into a device context for the scope and puts the old one back.
class TSelectObject {
 public:
  TSelectObject(HDC DC, HGDIOBJ Object) noexcept : FDC(DC), FOld(SelectObject(DC, Object)) {}
  ~TSelectObject() { SelectObject(FDC, FOld); }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

}  // namespace fw
