// uidriverhook.dll: loaded by the system into the program under test when uidriver hooks one
// of its threads. On kFitsMessage it measures the control's text with the control's own font,
// as the control draws it, and writes the result into the driver's shared memory block.
#include "FitsHook.h"

#include <algorithm>
#include <optional>
#include <string>

namespace {

using uidriver::TextFit;

int Scaled(HWND aWindow, int aAt96) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const UINT dpi = get ? get(aWindow) : 0;
  return MulDiv(aAt96, dpi ? static_cast<int>(dpi) : USER_DEFAULT_SCREEN_DPI, USER_DEFAULT_SCREEN_DPI);
}

// How a control lays out its text: DrawTextW flags, and the room it keeps for itself.
struct TextLayout {
  UINT format;
  SIZE margin;
};

bool IsClass(HWND aWindow, const wchar_t* aName) {
  wchar_t name[64] = {};
  ::GetClassNameW(aWindow, name, 64);
  return ::lstrcmpiW(name, aName) == 0;
}

std::optional<TextLayout> StaticLayout(LONG aStyle) {
  const UINT prefix = (aStyle & SS_NOPREFIX) ? DT_NOPREFIX : 0;
  const SIZE sunken = (aStyle & SS_SUNKEN) ? SIZE{2, 2} : SIZE{};
  switch (aStyle & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT: return TextLayout{DT_WORDBREAK | DT_EXPANDTABS | prefix, sunken};
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP: return TextLayout{DT_SINGLELINE | DT_EXPANDTABS | prefix, sunken};
    default: return std::nullopt;
  }
}

// Push buttons keep an edge and a focus frame inside; check boxes and radio buttons draw their
// box and a gap before the text; a group box writes its caption a little in over its frame.
std::optional<TextLayout> ButtonLayout(HWND aControl, LONG aStyle) {
  const UINT format = (aStyle & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  const int edge = Scaled(aControl, 4);
  switch (aStyle & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON: return TextLayout{format, {2 * edge, 2 * edge}};
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE: return TextLayout{format, {Scaled(aControl, 13 + 6), 0}};
    case BS_GROUPBOX: return TextLayout{DT_SINGLELINE, {2 * Scaled(aControl, 8), 0}};
    default: return std::nullopt;
  }
}

std::optional<TextLayout> LayoutOf(HWND aControl) {
  const LONG style = ::GetWindowLongW(aControl, GWL_STYLE);
  if (IsClass(aControl, L"Static")) return StaticLayout(style);
  if (IsClass(aControl, L"Button")) return ButtonLayout(aControl, style);
  // A single-line edit scrolls its text sideways: only its height must hold a line.
  if (IsClass(aControl, L"Edit") && !(style & ES_MULTILINE)) return TextLayout{DT_SINGLELINE, {0, 2}};
  return std::nullopt;
}

void MeasureText(HWND aControl, HDC aDc, const RECT& aClient, TextFit& aFit) {
  const std::optional<TextLayout> layout = LayoutOf(aControl);
  const int length = ::GetWindowTextLengthW(aControl);
  if (!layout || length <= 0) return;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(aControl, text.data(), length + 1);
  aFit.room = {aClient.right - layout->margin.cx, aClient.bottom - layout->margin.cy};
  // DT_CALCRECT widens the rectangle for a word longer than a line, and gives the height of
  // the wrapped text; a single-line edit counts one line whatever its length.
  RECT need{0, 0, std::max(aFit.room.cx, 1L), 0};
  ::DrawTextW(aDc, text.c_str(), copied, &need, layout->format | DT_CALCRECT);
  const bool scrolls = IsClass(aControl, L"Edit");
  aFit.need = {scrolls ? 0 : need.right - need.left, need.bottom - need.top};
  aFit.measured = TRUE;
}

void Measure(HWND aControl, TextFit& aFit) {
  aFit = TextFit{aControl, FALSE, {}, {}};
  RECT client{};
  ::GetClientRect(aControl, &client);
  HDC dc = ::GetDC(aControl);
  if (!dc) return;
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(aControl, WM_GETFONT, 0, 0));
  const HGDIOBJ previous = ::SelectObject(dc, font ? font : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)));
  if (IsClass(aControl, L"ListBox")) {
    // A list's rows must be as tall as a line of its font; their texts scroll or are drawn by
    // the program itself.
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    aFit = TextFit{aControl, TRUE, {0, metrics.tmHeight},
                   {client.right, static_cast<LONG>(::SendMessageW(aControl, LB_GETITEMHEIGHT, 0, 0))}};
  } else {
    MeasureText(aControl, dc, client, aFit);
  }
  ::SelectObject(dc, previous);
  ::ReleaseDC(aControl, dc);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK FitsHook(int aCode, WPARAM aWParam, LPARAM aLParam) {
  static const UINT message = ::RegisterWindowMessageW(uidriver::kFitsMessage);
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(aLParam);
  if (aCode == HC_ACTION && call && call->message == message) {
    if (HANDLE memory = ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, uidriver::kFitsMemory)) {
      if (void* view = ::MapViewOfFile(memory, FILE_MAP_WRITE, 0, 0, sizeof(TextFit))) {
        Measure(call->hwnd, *static_cast<TextFit*>(view));
        ::UnmapViewOfFile(view);
      }
      ::CloseHandle(memory);
    }
  }
  return ::CallNextHookEx(nullptr, aCode, aWParam, aLParam);
}
