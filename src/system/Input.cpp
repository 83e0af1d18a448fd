#include "system/Input.h"

#include <windows.h>

namespace vek {

bool IsCtrlDown() { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }

}  // namespace vek
