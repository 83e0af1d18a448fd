#include "ModalScript.h"

#include <algorithm>

#include "system/WinText.h"
#include "ui/DialogWindow.h"

namespace vek {

namespace {

constexpr UINT kTickMs = 40;
constexpr int kGuardTicks = 250;  // 10 s: a window that nobody answers is closed then

struct TScript {
  std::vector<TModalStep> Steps;
  std::size_t Next = 0;
  std::vector<HWND> Known;  // windows that were open before the call
  HWND Answered = nullptr;  // the window the last step got
  int Ticks = 0;
  bool Busy = false;
};

TScript* gScript = nullptr;

HWND NewestModalWindow() {
  struct TFind {
    const TScript* Script;
    HWND Found;
  } find{gScript, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND aWindow, LPARAM aFind) -> BOOL {
        auto* f = reinterpret_cast<TFind*>(aFind);
        if (!IsWindowVisible(aWindow) || !IsWindowEnabled(aWindow)) return TRUE;
        if (std::find(f->Script->Known.begin(), f->Script->Known.end(), aWindow) != f->Script->Known.end()) return TRUE;
        wchar_t className[64] = {};
        GetClassNameW(aWindow, className, 64);
        if (std::wstring(className) == L"tooltips_class32") return TRUE;
        f->Found = aWindow;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept {
  if (gScript == nullptr || gScript->Busy) return;
  ++gScript->Ticks;
  const HWND window = NewestModalWindow();
  if (window == nullptr || window == gScript->Answered) {
    if (gScript->Ticks > kGuardTicks && window != nullptr) {
      // Hang guard: the step did not end its window.
      PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return;
  }
  if (gScript->Next >= gScript->Steps.size()) {
    if (gScript->Ticks > kGuardTicks) PostMessageW(window, WM_CLOSE, 0, 0);
    return;
  }
  gScript->Answered = window;
  gScript->Busy = true;
  try {
    gScript->Steps[gScript->Next++](window);
  } catch (...) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  if (gScript != nullptr) gScript->Busy = false;
}

}  // namespace

bool RunWithModalSteps(const std::function<void()>& aCall, std::vector<TModalStep> aSteps) {
  TScript script;
  script.Steps = std::move(aSteps);
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND aWindow, LPARAM aKnown) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(aKnown)->push_back(aWindow);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&script.Known));
  TScript* const outer = gScript;
  gScript = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, Tick);
  aCall();
  KillTimer(nullptr, timer);
  gScript = outer;
  return script.Next == script.Steps.size();
}

std::string WindowTexts(HWND aWindow) {
  std::string texts = GetText(aWindow);
  EnumChildWindows(
      aWindow,
      [](HWND aChild, LPARAM aTexts) -> BOOL {
        *reinterpret_cast<std::string*>(aTexts) += "\n" + GetText(aChild);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

void ClickButton(HWND aWindow, const std::string& aCaption) {
  struct TFind {
    std::string Caption;
    HWND Found;
  } find{aCaption, nullptr};
  EnumChildWindows(
      aWindow,
      [](HWND aChild, LPARAM aFind) -> BOOL {
        auto* f = reinterpret_cast<TFind*>(aFind);
        wchar_t className[32] = {};
        GetClassNameW(aChild, className, 32);
        if (_wcsicmp(className, L"Button") != 0 || !IsWindowVisible(aChild) || !IsWindowEnabled(aChild)) return TRUE;
        std::string text = GetText(aChild);
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
        if (!f->Caption.empty() && text != f->Caption) return TRUE;
        f->Found = aChild;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  if (find.Found != nullptr) SendMessageW(find.Found, BM_CLICK, 0, 0);
}

void ClickListRow(HWND aList, int aRow, int aX) {
  RECT row{};
  SendMessageW(aList, LB_GETITEMRECT, static_cast<WPARAM>(aRow), reinterpret_cast<LPARAM>(&row));
  const LPARAM at = MAKELPARAM(aX, (row.top + row.bottom) / 2);
  SendMessageW(aList, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(aList, WM_LBUTTONUP, 0, at);
  PumpMessages();
}

void PressKey(HWND aWindow, WPARAM aKey) {
  SendMessageW(aWindow, WM_KEYDOWN, aKey, 1);
  SendMessageW(aWindow, WM_KEYUP, aKey, 0xC0000001);
  PumpMessages();
}

void PumpMessages() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace vek
