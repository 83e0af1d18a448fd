// The test driver of the user interface tests: it runs under Wine in the same prefix as the
// program under test and operates that program's windows from outside, as a user would.
//
//   uidriver <command> [--option value | --flag]...
//
// A top-level window is named by --hwnd H, or by --class C and/or --title T (exact) or
// --title-has T (a part of the caption); only visible windows count unless --hidden is given.
// A control inside it is named by --id N, --text T (its text with or without the "&" of its
// accelerator) and/or --ctl-class C; --nth K takes the K-th match (from 0) in window order.
//
//   windows                         every visible top-level window, one JSON line each
//   wait [--timeout ms]             waits for the window (default 15000 ms) and prints it;
//                                   with --enabled also until it accepts input
//   gone [--timeout ms]             waits until no window matches any more
//   list                            the window and each of its descendants, one JSON line each
//                                   (its "rect" and "client" area in screen coordinates)
//   find                            the control's JSON line
//   text                            the control's (or the window's) text, UTF-8, no JSON
//   click [--how bm|command]        posts BM_CLICK to the control (default), or WM_COMMAND with
//                                   BN_CLICKED to its parent
//   mouse --x X --y Y [--double]    posts a left click (or double click) at a point of the
//                                   control's client area, for owner-drawn lists
//   settext --value V               sets the control's text (WM_SETTEXT)
//   select --index N | --item T     selects an item of a list box or combo box and tells the
//                                   parent as a user's choice would (LBN_/CBN_SELCHANGE)
//   key --vk N [--alt]              posts a key press (down and up) to the control, or to the
//                                   focused control of the window when no control is named;
//                                   --alt makes it a system key (an "&" accelerator)
//   close                           posts WM_CLOSE to the window (its close box)
//   screenshot --out FILE.png       grabs the window from the screen into a PNG file
//   screen                          the work area, the screen and the system's DPI as JSON
//   fits                            for each visible control of the window that shows a text,
//                                   whether the text fits: measured by uidriverhook.dll inside
//                                   the program, with the control's own font and as the control
//                                   draws it (wrapped where it wraps), against its client area
//                                   less the box or frame the system draws; for a list box,
//                                   whether its rows are as tall as a line of its font:
//                                   {"hwnd","id","class","text","need":[w,h],"room":[w,h],"fits"}
//   answers [--ms M]                for M ms (default 2000) asks the window every 20 ms for an
//                                   empty message and prints how long its thread took to answer:
//                                   {"asked":N,"unanswered":K,"slowest_ms":X,"median_ms":Y};
//                                   a question gets 5 s, and the asking ends with the window
//
// Exit codes: 0 done, 1 bad command line, 2 window or control not found (or still there after
// `gone`'s timeout), 3 the operation failed. Every message sent to another process has a time
// limit, and every wait has one: the driver never hangs on a window that does not answer.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "FitsHook.h"
#include "PngFile.h"
#include "system/WinText.h"

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr int kDefaultWaitMs = 15000;
constexpr int kPollMs = 50;

enum ExitCode { kOk = 0, kUsage = 1, kNotFound = 2, kFailed = 3 };

// ---- text ----------------------------------------------------------------------------------

std::string Utf8(const std::wstring& aText) { return vek::Narrow(aText); }

std::string JsonString(const std::wstring& aText) {
  std::string out = "\"";
  for (const char c : Utf8(aText)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// The text a user reads on a control: "&&" shows as "&", a single "&" marks the accelerator.
std::wstring WithoutAccelerators(const std::wstring& aText) {
  std::wstring out;
  for (std::size_t i = 0; i < aText.size(); ++i) {
    if (aText[i] == L'&' && i + 1 < aText.size()) ++i;
    out += aText[i];
  }
  return out;
}

// ---- command line --------------------------------------------------------------------------

class Options {
 public:
  Options(int aCount, wchar_t** aArgs) {
    for (int i = 2; i < aCount; ++i) {
      std::wstring name = aArgs[i];
      if (name.rfind(L"--", 0) != 0) {
        fBad = true;
        continue;
      }
      name.erase(0, 2);
      if (IsFlag(name)) {
        fValues[name] = L"1";
      } else if (i + 1 < aCount) {
        fValues[name] = aArgs[++i];
      } else {
        fBad = true;
      }
    }
  }
  bool Bad() const { return fBad; }
  bool Has(const wchar_t* aName) const { return fValues.count(aName) != 0; }
  std::wstring Text(const wchar_t* aName) const {
    const auto found = fValues.find(aName);
    return found == fValues.end() ? std::wstring() : found->second;
  }
  long long Number(const wchar_t* aName, long long aDefault) const {
    const auto found = fValues.find(aName);
    return found == fValues.end() ? aDefault : std::wcstoll(found->second.c_str(), nullptr, 0);
  }

 private:
  static bool IsFlag(const std::wstring& aName) {
    return aName == L"hidden" || aName == L"enabled" || aName == L"double" || aName == L"alt";
  }
  std::map<std::wstring, std::wstring> fValues;
  bool fBad = false;
};

// ---- reading windows -----------------------------------------------------------------------

std::wstring ClassOf(HWND aWindow) {
  wchar_t name[256] = {};
  ::GetClassNameW(aWindow, name, 256);
  return name;
}

bool Send(HWND aWindow, UINT aMessage, WPARAM aW, LPARAM aL, DWORD_PTR* aResult = nullptr) {
  DWORD_PTR result = 0;
  const bool answered =
      ::SendMessageTimeoutW(aWindow, aMessage, aW, aL, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0;
  if (aResult) *aResult = result;
  return answered;
}

LRESULT SendValue(HWND aWindow, UINT aMessage, WPARAM aW = 0, LPARAM aL = 0) {
  DWORD_PTR result = 0;
  return Send(aWindow, aMessage, aW, aL, &result) ? static_cast<LRESULT>(result) : -1;
}

// Asked with WM_GETTEXT: an edit control of another process keeps its text to itself otherwise.
std::wstring TextOf(HWND aWindow) {
  const LRESULT length = SendValue(aWindow, WM_GETTEXTLENGTH);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!Send(aWindow, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied)) return {};
  text.resize(copied);
  return text;
}

struct ListMessages {
  UINT count, textLength, text, currentSelection;
};
constexpr ListMessages kListBox{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETCURSEL};
constexpr ListMessages kComboBox{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETCURSEL};

std::optional<ListMessages> ListKind(HWND aWindow) {
  const std::wstring name = ClassOf(aWindow);
  if (_wcsicmp(name.c_str(), L"ListBox") == 0 || _wcsicmp(name.c_str(), L"ComboLBox") == 0) return kListBox;
  if (_wcsicmp(name.c_str(), L"ComboBox") == 0) return kComboBox;
  return std::nullopt;
}

// A list that does not keep strings (owner-drawn without LBS_HASSTRINGS) has none to give.
bool KeepsStrings(HWND aWindow, const ListMessages& aKind) {
  const LONG style = ::GetWindowLongW(aWindow, GWL_STYLE);
  if (aKind.count == CB_GETCOUNT) {
    return !(style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || (style & CBS_HASSTRINGS);
  }
  return !(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (style & LBS_HASSTRINGS);
}

std::vector<std::wstring> ItemsOf(HWND aWindow, const ListMessages& aKind) {
  std::vector<std::wstring> items;
  const LRESULT count = SendValue(aWindow, aKind.count);
  const bool strings = KeepsStrings(aWindow, aKind);
  for (LRESULT i = 0; i < count; ++i) {
    if (!strings) {
      items.emplace_back();
      continue;
    }
    const LRESULT length = SendValue(aWindow, aKind.textLength, static_cast<WPARAM>(i));
    std::wstring text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
    DWORD_PTR copied = 0;
    Send(aWindow, aKind.text, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()), &copied);
    text.resize(static_cast<LRESULT>(copied) > 0 ? copied : 0);
    items.push_back(text);
  }
  return items;
}

std::vector<int> SelectionOf(HWND aWindow, const ListMessages& aKind, std::size_t aCount) {
  std::vector<int> selected;
  const LONG style = ::GetWindowLongW(aWindow, GWL_STYLE);
  if (aKind.count == LB_GETCOUNT && (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))) {
    for (std::size_t i = 0; i < aCount; ++i) {
      if (SendValue(aWindow, LB_GETSEL, i) > 0) selected.push_back(static_cast<int>(i));
    }
    return selected;
  }
  const LRESULT current = SendValue(aWindow, aKind.currentSelection);
  if (current >= 0) selected.push_back(static_cast<int>(current));
  return selected;
}

std::optional<LRESULT> CheckStateOf(HWND aWindow) {
  if (_wcsicmp(ClassOf(aWindow).c_str(), L"Button") != 0) return std::nullopt;
  switch (::GetWindowLongW(aWindow, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE: return SendValue(aWindow, BM_GETCHECK);
    default: return std::nullopt;
  }
}

HWND FocusOf(HWND aWindow) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(aWindow, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

std::string Describe(HWND aWindow, HWND aFocus) {
  RECT rect{};
  ::GetWindowRect(aWindow, &rect);
  DWORD process = 0;
  ::GetWindowThreadProcessId(aWindow, &process);
  const LONG style = ::GetWindowLongW(aWindow, GWL_STYLE);
  char numbers[512];
  std::snprintf(numbers, sizeof numbers,
                "\"hwnd\":%llu,\"parent\":%llu,\"owner\":%llu,\"pid\":%lu,\"id\":%ld,\"style\":%lu,"
                "\"exstyle\":%lu,\"visible\":%s,\"enabled\":%s,\"focused\":%s,\"rect\":[%ld,%ld,%ld,%ld]",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(aWindow)),
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(::GetAncestor(aWindow, GA_PARENT))),
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(::GetWindow(aWindow, GW_OWNER))),
                static_cast<unsigned long>(process),
                static_cast<long>((style & WS_CHILD) ? ::GetDlgCtrlID(aWindow) : 0),
                static_cast<unsigned long>(style),
                static_cast<unsigned long>(::GetWindowLongW(aWindow, GWL_EXSTYLE)),
                ::IsWindowVisible(aWindow) ? "true" : "false", ::IsWindowEnabled(aWindow) ? "true" : "false",
                aWindow == aFocus ? "true" : "false", rect.left, rect.top, rect.right, rect.bottom);
  // The client area in screen coordinates, where the window's controls belong.
  RECT client{};
  ::GetClientRect(aWindow, &client);
  ::MapWindowPoints(aWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
  char inside[96];
  std::snprintf(inside, sizeof inside, ",\"client\":[%ld,%ld,%ld,%ld]", client.left, client.top, client.right,
                client.bottom);
  std::string line = "{\"class\":" + JsonString(ClassOf(aWindow)) + ",\"text\":" + JsonString(TextOf(aWindow)) +
                     "," + numbers + inside;
  if (const auto checked = CheckStateOf(aWindow)) line += ",\"checked\":" + std::to_string(*checked);
  if (const auto kind = ListKind(aWindow)) {
    const std::vector<std::wstring> items = ItemsOf(aWindow, *kind);
    line += ",\"items\":[";
    for (std::size_t i = 0; i < items.size(); ++i) line += (i ? "," : "") + JsonString(items[i]);
    line += "],\"selected\":[";
    const std::vector<int> selected = SelectionOf(aWindow, *kind, items.size());
    for (std::size_t i = 0; i < selected.size(); ++i) line += (i ? "," : "") + std::to_string(selected[i]);
    line += "]";
  }
  return line + "}";
}

void PrintLine(const std::string& aLine) {
  std::fwrite(aLine.data(), 1, aLine.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// ---- finding windows -----------------------------------------------------------------------

bool TopLevelMatches(HWND aWindow, const Options& aOptions) {
  if (!aOptions.Has(L"hidden") && !::IsWindowVisible(aWindow)) return false;
  if (aOptions.Has(L"class") && _wcsicmp(ClassOf(aWindow).c_str(), aOptions.Text(L"class").c_str()) != 0) {
    return false;
  }
  if (aOptions.Has(L"title") || aOptions.Has(L"title-has")) {
    wchar_t caption[1024] = {};
    ::GetWindowTextW(aWindow, caption, 1024);  // a top-level caption is known without asking its owner
    if (aOptions.Has(L"title") && aOptions.Text(L"title") != caption) return false;
    if (aOptions.Has(L"title-has") && !std::wcsstr(caption, aOptions.Text(L"title-has").c_str())) return false;
  }
  return true;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  ::EnumWindows(
      [](HWND aWindow, LPARAM aList) noexcept -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(aList)->push_back(aWindow);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND FindTopLevel(const Options& aOptions) {
  if (aOptions.Has(L"hwnd")) {
    const auto window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(aOptions.Number(L"hwnd", 0)));
    return ::IsWindow(window) ? window : nullptr;
  }
  for (HWND window : TopLevelWindows()) {
    if (TopLevelMatches(window, aOptions)) return window;
  }
  return nullptr;
}

std::vector<HWND> Descendants(HWND aWindow) {
  std::vector<HWND> windows;
  ::EnumChildWindows(
      aWindow,
      [](HWND aChild, LPARAM aList) noexcept -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(aList)->push_back(aChild);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool NamesControl(const Options& aOptions) {
  return aOptions.Has(L"id") || aOptions.Has(L"text") || aOptions.Has(L"ctl-class");
}

bool ControlMatches(HWND aControl, const Options& aOptions) {
  if (aOptions.Has(L"id") && ::GetDlgCtrlID(aControl) != aOptions.Number(L"id", 0)) return false;
  if (aOptions.Has(L"ctl-class") &&
      _wcsicmp(ClassOf(aControl).c_str(), aOptions.Text(L"ctl-class").c_str()) != 0) {
    return false;
  }
  if (aOptions.Has(L"text")) {
    const std::wstring wanted = aOptions.Text(L"text");
    const std::wstring text = TextOf(aControl);
    if (text != wanted && WithoutAccelerators(text) != wanted) return false;
  }
  return true;
}

// The named control of the window, or the window itself when no control is named.
HWND FindTarget(const Options& aOptions) {
  HWND window = FindTopLevel(aOptions);
  if (!window || !NamesControl(aOptions)) return window;
  long long skip = aOptions.Number(L"nth", 0);
  for (HWND control : Descendants(window)) {
    if (ControlMatches(control, aOptions) && skip-- == 0) return control;
  }
  return nullptr;
}

// ---- commands ------------------------------------------------------------------------------

int ListWindows(const Options&) {
  for (HWND window : TopLevelWindows()) {
    if (::IsWindowVisible(window)) PrintLine(Describe(window, FocusOf(window)));
  }
  return kOk;
}

template <typename Condition>
bool WaitUntil(const Options& aOptions, Condition aCondition) {
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(aOptions.Number(L"timeout", kDefaultWaitMs));
  for (;;) {
    if (aCondition()) return true;
    if (::GetTickCount64() >= end) return false;
    ::Sleep(kPollMs);
  }
}

int Wait(const Options& aOptions) {
  HWND found = nullptr;
  const bool appeared = WaitUntil(aOptions, [&] {
    found = FindTarget(aOptions);
    return found && (!aOptions.Has(L"enabled") || ::IsWindowEnabled(found));
  });
  if (!appeared) return kNotFound;
  PrintLine(Describe(found, FocusOf(found)));
  return kOk;
}

int WaitGone(const Options& aOptions) {
  return WaitUntil(aOptions, [&] { return FindTarget(aOptions) == nullptr; }) ? kOk : kNotFound;
}

int List(const Options& aOptions) {
  HWND window = FindTopLevel(aOptions);
  if (!window) return kNotFound;
  const HWND focus = FocusOf(window);
  PrintLine(Describe(window, focus));
  for (HWND control : Descendants(window)) PrintLine(Describe(control, focus));
  return kOk;
}

int Find(const Options& aOptions) {
  HWND target = FindTarget(aOptions);
  if (!target) return kNotFound;
  PrintLine(Describe(target, FocusOf(target)));
  return kOk;
}

int Text(const Options& aOptions) {
  HWND target = FindTarget(aOptions);
  if (!target) return kNotFound;
  const std::string text = Utf8(TextOf(target));
  std::fwrite(text.data(), 1, text.size(), stdout);
  return kOk;
}

// Posted, not sent: a click that opens a modal dialog would keep a sent message from returning.
int Click(const Options& aOptions) {
  HWND control = FindTarget(aOptions);
  if (!control) return kNotFound;
  const std::wstring how = aOptions.Has(L"how") ? aOptions.Text(L"how") : L"bm";
  BOOL posted = FALSE;
  if (how == L"bm") {
    posted = ::PostMessageW(control, BM_CLICK, 0, 0);
  } else if (how == L"command") {
    const WPARAM command = MAKEWPARAM(::GetDlgCtrlID(control), BN_CLICKED);
    posted = ::PostMessageW(::GetParent(control), WM_COMMAND, command, reinterpret_cast<LPARAM>(control));
  } else {
    return kUsage;
  }
  return posted ? kOk : kFailed;
}

int Mouse(const Options& aOptions) {
  HWND control = FindTarget(aOptions);
  if (!control) return kNotFound;
  if (!aOptions.Has(L"x") || !aOptions.Has(L"y")) return kUsage;
  const LPARAM at = MAKELPARAM(aOptions.Number(L"x", 0), aOptions.Number(L"y", 0));
  bool posted = ::PostMessageW(control, WM_MOUSEMOVE, 0, at) && ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at) &&
                ::PostMessageW(control, WM_LBUTTONUP, 0, at);
  if (posted && aOptions.Has(L"double")) {
    posted = ::PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at) && ::PostMessageW(control, WM_LBUTTONUP, 0, at);
  }
  return posted ? kOk : kFailed;
}

int SetText(const Options& aOptions) {
  HWND control = FindTarget(aOptions);
  if (!control || !NamesControl(aOptions)) return kNotFound;
  if (!aOptions.Has(L"value")) return kUsage;
  const std::wstring value = aOptions.Text(L"value");
  return Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str())) ? kOk : kFailed;
}

int Select(const Options& aOptions) {
  HWND control = FindTarget(aOptions);
  if (!control) return kNotFound;
  const auto kind = ListKind(control);
  if (!kind) return kFailed;
  const std::vector<std::wstring> items = ItemsOf(control, *kind);
  long long index = aOptions.Number(L"index", -1);
  if (aOptions.Has(L"item")) {
    index = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == aOptions.Text(L"item")) index = static_cast<long long>(i);
    }
  }
  if (index < 0 || index >= static_cast<long long>(items.size())) return kNotFound;
  const bool combo = kind->count == CB_GETCOUNT;
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  const bool multiple = !combo && (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  const bool selected = multiple ? Send(control, LB_SETSEL, TRUE, static_cast<LPARAM>(index))
                                 : Send(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (!selected) return kFailed;
  const WPARAM command = MAKEWPARAM(::GetDlgCtrlID(control), combo ? CBN_SELCHANGE : LBN_SELCHANGE);
  return ::PostMessageW(::GetParent(control), WM_COMMAND, command, reinterpret_cast<LPARAM>(control)) ? kOk : kFailed;
}

// A key press as the keyboard would deliver it: the target's own message loop translates it
// (WM_CHAR, WM_SYSCHAR) and its dialog manager sees Tab, Enter, Esc and accelerators.
int Key(const Options& aOptions) {
  HWND target = FindTarget(aOptions);
  if (!target) return kNotFound;
  if (!NamesControl(aOptions) && !aOptions.Has(L"hwnd")) {
    if (HWND focus = FocusOf(target)) target = focus;
  }
  if (!aOptions.Has(L"vk")) return kUsage;
  const auto key = static_cast<UINT>(aOptions.Number(L"vk", 0));
  const bool alt = aOptions.Has(L"alt");
  const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
  const LPARAM context = alt ? (1 << 29) : 0;
  const LPARAM down = 1 | scan | context;
  const LPARAM up = static_cast<LPARAM>(1 | scan | context | (1u << 30) | (1u << 31));
  const bool posted = ::PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down) &&
                      ::PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, up);
  return posted ? kOk : kFailed;
}

int Close(const Options& aOptions) {
  HWND window = FindTopLevel(aOptions);
  if (!window) return kNotFound;
  return ::PostMessageW(window, WM_CLOSE, 0, 0) ? kOk : kFailed;
}

// The window's pixels as the screen shows them. Another process's window cannot be printed
// into our own device context under Wine, so the window is raised and read from the screen.
int Screenshot(const Options& aOptions) {
  HWND window = FindTarget(aOptions);
  if (!window) return kNotFound;
  if (!aOptions.Has(L"out")) return kUsage;
  ::SetWindowPos(::GetAncestor(window, GA_ROOT), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::Sleep(200);  // lets the raised window repaint before it is read; a pause, not a wait for a result
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return kFailed;

  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  if (bitmap) {
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    copied = ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT) != 0;
    ::GdiFlush();
    ::SelectObject(memory, previous);
  }
  std::vector<std::uint8_t> rgb;
  if (copied) {
    rgb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    const auto* pixel = static_cast<const std::uint8_t*>(bits);  // blue, green, red, unused
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * static_cast<std::size_t>(height); ++i, pixel += 4) {
      rgb.insert(rgb.end(), {pixel[2], pixel[1], pixel[0]});
    }
  }
  if (bitmap) ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return copied && uidriver::WritePng(aOptions.Text(L"out"), width, height, rgb) ? kOk : kFailed;
}

int Screen(const Options&) {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  char line[256];
  std::snprintf(line, sizeof line, "{\"work\":[%ld,%ld,%ld,%ld],\"screen\":[%d,%d],\"dpi\":%d}", work.left, work.top,
                work.right, work.bottom, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), dpi);
  PrintLine(line);
  return kOk;
}

// How quickly the window's thread answers: a thread busy with long work that does not pump
// messages shows here as slow or unanswered questions.
int Answers(const Options& aOptions) {
  HWND window = FindTopLevel(aOptions);
  if (!window) return kNotFound;
  LARGE_INTEGER frequency{};
  ::QueryPerformanceFrequency(&frequency);
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(aOptions.Number(L"ms", 2000));
  std::vector<double> answered;
  int unanswered = 0;
  while (::GetTickCount64() < end && ::IsWindow(window)) {
    LARGE_INTEGER before{}, after{};
    ::QueryPerformanceCounter(&before);
    DWORD_PTR ignored = 0;
    const bool answer = ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored) != 0;
    ::QueryPerformanceCounter(&after);
    if (answer) {
      answered.push_back(static_cast<double>(after.QuadPart - before.QuadPart) * 1000.0 /
                         static_cast<double>(frequency.QuadPart));
    } else if (::IsWindow(window)) {
      ++unanswered;
    }
    ::Sleep(20);
  }
  std::sort(answered.begin(), answered.end());
  const double slowest = answered.empty() ? 0 : answered.back();
  const double median = answered.empty() ? 0 : answered[answered.size() / 2];
  char line[160];
  std::snprintf(line, sizeof line, "{\"asked\":%zu,\"unanswered\":%d,\"slowest_ms\":%.1f,\"median_ms\":%.1f}",
                answered.size() + static_cast<std::size_t>(unanswered), unanswered, slowest, median);
  PrintLine(line);
  return kOk;
}

// ---- whether texts fit ----------------------------------------------------------------------

// A handle that closes itself.
template <typename Handle, auto Close>
class Owned {
 public:
  explicit Owned(Handle aHandle) : fHandle(aHandle) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() {
    if (fHandle) Close(fHandle);
  }
  Handle get() const { return fHandle; }

 private:
  Handle fHandle;
};
using OwnedHandle = Owned<HANDLE, ::CloseHandle>;
using OwnedHook = Owned<HHOOK, ::UnhookWindowsHookEx>;
using OwnedLibrary = Owned<HMODULE, ::FreeLibrary>;
using OwnedView = Owned<void*, ::UnmapViewOfFile>;

// uidriverhook.dll lies beside the driver.
std::wstring HookLibraryPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"uidriverhook.dll";
}

std::string FitLine(HWND aControl, const uidriver::TextFit& aFit) {
  char numbers[160];
  std::snprintf(numbers, sizeof numbers, "\"need\":[%ld,%ld],\"room\":[%ld,%ld],\"fits\":%s", aFit.need.cx,
                aFit.need.cy, aFit.room.cx, aFit.room.cy,
                aFit.need.cx <= aFit.room.cx && aFit.need.cy <= aFit.room.cy ? "true" : "false");
  return "{\"hwnd\":" + std::to_string(reinterpret_cast<UINT_PTR>(aControl)) +
         ",\"id\":" + std::to_string(::GetDlgCtrlID(aControl)) + ",\"class\":" + JsonString(ClassOf(aControl)) +
         ",\"text\":" + JsonString(TextOf(aControl)) + "," + numbers + "}";
}

// Each visible control is asked in turn; the hook in the window's thread measures it there.
int Fits(const Options& aOptions) {
  HWND window = FindTopLevel(aOptions);
  if (!window) return kNotFound;
  const OwnedLibrary library(::LoadLibraryW(HookLibraryPath().c_str()));
  const auto hook = library.get() ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                        ::GetProcAddress(library.get(), uidriver::kFitsHookProc)))
                                  : nullptr;
  const OwnedHandle memory(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                sizeof(uidriver::TextFit), uidriver::kFitsMemory));
  const OwnedView view(memory.get() ? ::MapViewOfFile(memory.get(), FILE_MAP_WRITE, 0, 0, sizeof(uidriver::TextFit))
                                    : nullptr);
  if (!hook || !view.get()) return kFailed;
  const OwnedHook hooked(::SetWindowsHookExW(WH_CALLWNDPROC, hook, library.get(),
                                             ::GetWindowThreadProcessId(window, nullptr)));
  if (!hooked.get()) return kFailed;
  const UINT message = ::RegisterWindowMessageW(uidriver::kFitsMessage);
  auto* fit = static_cast<volatile uidriver::TextFit*>(view.get());
  for (HWND control : Descendants(window)) {
    if (!::IsWindowVisible(control)) continue;
    fit->control = nullptr;
    if (!Send(control, message, 0, 0)) return kFailed;
    const uidriver::TextFit result{fit->control, fit->measured, {fit->need.cx, fit->need.cy},
                                   {fit->room.cx, fit->room.cy}};
    if (result.control != control) return kFailed;  // the hook did not answer
    if (result.measured) PrintLine(FitLine(control, result));
  }
  return kOk;
}

// Physical pixels everywhere, whatever the DPI of the prefix: rectangles, clicks and
// screenshots then agree with what the program under test (itself DPI aware) sees.
void BecomeDpiAware() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  HMODULE user = ::GetModuleHandleW(L"user32.dll");
  const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
      ::GetProcAddress(user, "SetProcessDpiAwarenessContext")));
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (!set || !set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) ::SetProcessDPIAware();
}

struct Command {
  const wchar_t* name;
  int (*run)(const Options&);
};
constexpr Command kCommands[] = {
    {L"windows", ListWindows}, {L"wait", Wait},   {L"gone", WaitGone},     {L"list", List},
    {L"find", Find},           {L"text", Text},   {L"click", Click},       {L"mouse", Mouse},
    {L"settext", SetText},     {L"select", Select}, {L"key", Key},         {L"close", Close},
    {L"screenshot", Screenshot}, {L"screen", Screen}, {L"answers", Answers},
    {L"fits", Fits},
};

}  // namespace

int wmain(int aCount, wchar_t** aArgs) {
  if (aCount < 2) {
    std::fputs("usage: uidriver <command> [--option value]... (see the head of uidriver.cpp)\n", stderr);
    return kUsage;
  }
  const Options options(aCount, aArgs);
  if (options.Bad()) {
    std::fputs("uidriver: every option is --name value (or a --flag)\n", stderr);
    return kUsage;
  }
  BecomeDpiAware();
  _setmode(_fileno(stdout), _O_BINARY);  // texts as they are: no CR added before their LFs
  for (const Command& command : kCommands) {
    if (std::wcscmp(command.name, aArgs[1]) == 0) return command.run(options);
  }
  std::fprintf(stderr, "uidriver: unknown command\n");
  return kUsage;
}
