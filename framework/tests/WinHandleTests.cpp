// The handle owners close what they own exactly once, hand it over on a move, and never
// close the registry's predefined roots.
#include <gtest/gtest.h>

#include "gui/WinHandles.h"

using namespace fw;

namespace {

bool IsOpen(HANDLE Handle) {
  DWORD flags = 0;
  return GetHandleInformation(Handle, &flags) != FALSE;
}

HANDLE NewEvent() {
  return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

}  // namespace

TEST(WinHandles, OwnersCloseOnceAndMovesHandTheHandleOver) {
  HANDLE raw = NewEvent();
  {
    TKernelHandle first(raw);
    ASSERT_TRUE(first.Valid());
    TKernelHandle second(std::move(first));
    EXPECT_FALSE(first.Valid());
    EXPECT_EQ(second.Get(), raw);
    TKernelHandle third;
    third = std::move(second);
    EXPECT_TRUE(IsOpen(raw));
  }
  EXPECT_FALSE(IsOpen(raw));

  HANDLE kept = NewEvent();
  HANDLE replaced = NewEvent();
  TKernelHandle owner(replaced);
  owner.Reset(kept);
  EXPECT_FALSE(IsOpen(replaced));
  EXPECT_EQ(owner.Release(), kept);
  EXPECT_FALSE(owner.Valid());
  EXPECT_TRUE(IsOpen(kept));
  CloseHandle(kept);
}

TEST(WinHandles, FileAndFindOwnersKnowTheirInvalidValue) {
  TFileHandle missing(CreateFileA("Z:\\no\\such\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(missing);
  WIN32_FIND_DATAA data;
  TFindHandle none(FindFirstFileA("Z:\\no\\such\\*.none", &data));
  EXPECT_FALSE(none);
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  TFindHandle some(FindFirstFileA((std::string(windows) + "\\*").c_str(), &data));
  EXPECT_TRUE(some);
}

TEST(WinHandles, PredefinedRegistryRootsAreNeverClosed) {
  { TRegKeyHandle root(HKEY_CURRENT_USER); }
  TRegKeyHandle software;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, software.Put()), ERROR_SUCCESS);
  EXPECT_TRUE(software);
}
