#include "system/SysInfo.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <iterator>

#include "system/Input.h"

namespace vek {
namespace {

// The test prefix is a Windows 10 workstation.
TEST(SysInfo, TheRunningSystem) {
  const WinVersion version = GetWinVersion();
  EXPECT_TRUE(version.ntFamily);
  EXPECT_GE(version.Number(), 6.0);
  EXPECT_FALSE(IsTerminalServer()) << "suite mask " << version.suiteMask;
}

// The key state of this thread is set directly, as a click with Ctrl held would leave it.
TEST(SysInfo, IsCtrlDownFollowsTheKeyState) {
  BYTE saved[256];
  ASSERT_TRUE(::GetKeyboardState(saved));
  BYTE keys[256];
  std::copy(std::begin(saved), std::end(saved), keys);
  for (const BYTE state : {BYTE{0x80}, BYTE{0x00}, BYTE{0x81}}) {
    keys[VK_CONTROL] = state;
    ASSERT_TRUE(::SetKeyboardState(keys));
    EXPECT_EQ(IsCtrlDown(), (state & 0x80) != 0) << int{state};
  }
  ::SetKeyboardState(saved);
}

}  // namespace
}  // namespace vek
