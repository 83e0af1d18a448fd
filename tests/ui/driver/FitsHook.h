#pragma once
// What uidriver's "fits" command learns from inside the program under test. A font handle
// belongs to the process that made it, so a control's text can only be measured with its own
// font in that process: the driver hooks the window's thread with uidriverhook.dll, sends each
// control kFitsMessage, and the hook measures the control and leaves the result in a shared
// memory block named kFitsMemory.
#include <windows.h>

namespace uidriver {

inline constexpr const wchar_t* kFitsMessage = L"VekUiDriverFits";
inline constexpr const wchar_t* kFitsMemory = L"Local\\VekUiDriverFits";
inline constexpr const char* kFitsHookProc = "FitsHook";

struct TextFit {
  HWND control;  // the control measured; another one means no hook answered
  BOOL measured;  // false: the control shows no text of its own, or scrolls it
  SIZE need;      // the text as the control lays it out, or a list's row of its font
  SIZE room;      // the client area less the box or frame the control draws; a list's row
};

}  // namespace uidriver
