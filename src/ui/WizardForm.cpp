#include "ui/WizardForm.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "base/Format.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/WinText.h"
#include "ui/ConfirmPage.h"
#include "ui/DialogFrame.h"
#include "ui/FolderDialog.h"
#include "ui/Msgdlg.h"
#include "ui/OptionsPage.h"
#include "ui/WhereToPath.h"
#include "ui/WizardProgress.h"

namespace vek {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 10;  // ms: the next step starts as soon as the loop is idle

// The frame at 96 DPI: the client area is 600 x 448.
constexpr int kClientWidth = 600;
constexpr int kClientHeight = 448;
constexpr RECT kTopLight{0, 0, 600, 8};
constexpr RECT kTopDark{0, 8, 600, 4};
constexpr RECT kTopMiddelLight{0, 12, 600, 58};
constexpr RECT kLogo{16, 21, 40, 40};
constexpr RECT kPageTitlePanel{68, 12, 516, 58};
constexpr RECT kFlashTitle{72, 26, 500, 32};
constexpr RECT kTopMiddelDark{0, 70, 600, 3};
constexpr RECT kRightDark{588, 73, 12, 279};
constexpr RECT kPageArea{16, 82, 556, 264};
constexpr RECT kWelcomeImage{16, 80, 564, 270};
constexpr RECT kFooterDark{0, 400, 600, 3};
constexpr RECT kFooterLight{0, 403, 600, 45};
constexpr RECT kCopyrightPanel{16, 416, 568, 20};
// Button places in the button bar (Navigator, y 352..400).
constexpr int kButtonTop = 362;
constexpr int kButtonWidth = 92;
constexpr int kButtonHeight = 28;
constexpr int kPrevLeft = 292;
constexpr int kNextLeft = 388;
constexpr int kExitLeft = 492;

constexpr COLORREF kLightColour = RGB(210, 227, 145);
constexpr COLORREF kDarkColour = RGB(95, 115, 77);
constexpr COLORREF kWhiteColour = RGB(255, 255, 255);

// The vendor captions of the footer (the normal and the OEM look).
constexpr const wchar_t* kVendorCaption = L"Vek Setup";
constexpr const wchar_t* kOemCaption = L"Setup";

constexpr std::array<int, kNavButtonCount> kNavButtonIds{idPrevBtn, idNextBtn, idExitBtn, idCancelBtn,
                                                         idOkBtn,   idYesBtn,  idNoBtn};

// The smallest dialog template for the main window: no controls, the standard dialog class.
struct TMainDialogTemplate {
  DLGTEMPLATE header;
  std::array<WORD, 3> menuClassTitle;
};

// The system's message font at aDpi, in the given weight and size factor (percent).
HFONT MakeFont(UINT aDpi, LONG aWeight, int aPercent) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW font{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font = metrics.lfMessageFont;
  } else {
    font.lfHeight = -12;
    font.lfCharSet = DEFAULT_CHARSET;
  }
  const HDC screen = ::GetDC(nullptr);
  const int systemDpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
  if (screen) ::ReleaseDC(nullptr, screen);
  if (font.lfHeight == 0) font.lfHeight = -12 * systemDpi / USER_DEFAULT_SCREEN_DPI;
  font.lfHeight = MulDiv(MulDiv(font.lfHeight, static_cast<int>(aDpi), systemDpi), aPercent, 100);
  font.lfWeight = aWeight;
  // Chinese texts need a font with Chinese glyphs: the message font reaches them only where the
  // system links it to one (Windows does, Wine does not). The font mapper picks one by its
  // character set.
  if (CurrentLanguageCode() == "CN") {
    font.lfCharSet = GB2312_CHARSET;
    font.lfFaceName[0] = L'\0';
  }
  return ::CreateFontIndirectW(&font);
}

void DeleteFont(HFONT& aFont) {
  if (aFont) ::DeleteObject(aFont);
  aFont = nullptr;
}

}  // namespace

TWizardForm::TWizardForm() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  LoadRichEditLibrary();
  fLightBrush = ::CreateSolidBrush(kLightColour);
  fWhiteBrush = ::CreateSolidBrush(kWhiteColour);
  CreateFrame();
  SetDialogOwner(fHandle);  // messages and the log are owned by the wizard and disable it
  CreatePages();
  ApplyScale(WindowDpi(fHandle));
  ApplyFixedCaptions();
  ::SetWindowTextW(Control(idCopyrightPanel), kVendorCaption);
}

TWizardForm::~TWizardForm() {
  if (fSetup) fSetup->SetOnStep(nullptr);
  SetDialogOwner(nullptr);
  if (fHandle) ::DestroyWindow(fHandle);
  DeleteFont(fFont);
  DeleteFont(fBoldFont);
  DeleteFont(fTitleFont);
  ::DeleteObject(fLightBrush);
  ::DeleteObject(fWhiteBrush);
}

void TWizardForm::CreateFrame() {
  TMainDialogTemplate dialog{};
  dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | DS_CENTER;
  // A window of its own in the task bar, and Tab reaches into the pages.
  dialog.header.dwExtendedStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  fHandle = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &dialog.header, nullptr,
                                         &TWizardForm::DialogProc, reinterpret_cast<LPARAM>(this));
  if (!fHandle) throw std::runtime_error("the wizard window cannot be created, error " + std::to_string(::GetLastError()));
  ::SetWindowTextW(fHandle, L"Setup");
  const auto child = [this](int aId, const wchar_t* aClass, DWORD aStyle) {
    ::CreateWindowExW(0, aClass, L"", WS_CHILD | aStyle, 0, 0, 0, 0, fHandle,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(aId)), ::GetModuleHandleW(nullptr), nullptr);
  };
  for (const int id : kNavButtonIds) child(id, WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP);
  child(idFlashTitle, WC_STATICW, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS);
  child(idCopyrightPanel, WC_STATICW, WS_VISIBLE | SS_LEFT | SS_NOPREFIX);
  child(idWelcomeImage, WC_STATICW, SS_BITMAP | SS_CENTERIMAGE | SS_NOTIFY);
}

void TWizardForm::CreatePages() {
  TWizardHost host;
  host.wizard = fHandle;
  host.enableNext = [this](bool aEnable) { ::EnableWindow(Button(nbNext), aEnable); };
  for (int page = 0; page < kWizardPageCount; ++page) {
    const std::span<const TControlDef> controls = PageControls(static_cast<TWizardPageId>(page));
    if (controls.empty()) continue;
    auto created = std::make_unique<TControlPage>(
        controls, [this](int aId, int aCode, HWND aControl) { OnCommand(aId, aCode, aControl); });
    created->Create(fHandle, host);
    fPages[static_cast<std::size_t>(page)] = std::move(created);
  }
}

void TWizardForm::SetSetup(TSetupEngine* aSetup) {
  if (fSetup) fSetup->SetOnStep(nullptr);
  fSetup = aSetup;
  if (!fSetup) return;
  fSetup->SetOnStep([this](TSetupEngine& aSender) {
    StepNotification(aSender, aSender.Step(), aSender.StepAction(), aSender.StepMessage());
  });
  ApplyFixedCaptions();
  if (fOptionsPage) return;
  // The options and confirmation pages work on the engine's option lists.
  TWizardHost host;
  host.wizard = fHandle;
  host.enableNext = [this](bool aEnable) { ::EnableWindow(Button(nbNext), aEnable); };
  auto options = std::make_unique<TOptionsPage>(*fSetup);
  auto confirm = std::make_unique<TConfirmPage>(*fSetup);
  options->Create(fHandle, host);
  confirm->Create(fHandle, host);
  fOptionsPage = options.get();
  fConfirmPage = confirm.get();
  fPages[pgOptions] = std::move(options);
  fPages[pgConfirm] = std::move(confirm);
  LayoutFrame();
}

RECT TWizardForm::Px(const RECT& aAt96) const {
  return {fScale.Px(aAt96.left), fScale.Px(aAt96.top), fScale.Px(aAt96.left + aAt96.right),
          fScale.Px(aAt96.top + aAt96.bottom)};
}

void TWizardForm::ApplyScale(UINT aDpi) {
  fScale.dpi = aDpi;
  DeleteFont(fFont);
  DeleteFont(fBoldFont);
  DeleteFont(fTitleFont);
  fFont = MakeFont(aDpi, FW_NORMAL, 100);
  fBoldFont = MakeFont(aDpi, FW_BOLD, 100);
  fTitleFont = MakeFont(aDpi, FW_BOLD, 160);
  LayoutFrame();
  if (fWelcomeBitmap) LoadWelcomeImage();
}

void TWizardForm::LayoutFrame() {
  const auto place = [this](int aId, const RECT& aAt96, HFONT aFont) {
    const RECT r = Px(aAt96);
    const HWND control = Control(aId);
    ::MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(aFont), FALSE);
  };
  place(idFlashTitle, kFlashTitle, fTitleFont);
  place(idCopyrightPanel, kCopyrightPanel, fFont);
  place(idWelcomeImage, kWelcomeImage, fFont);
  const RECT pageArea = Px(kPageArea);
  for (const std::unique_ptr<TWizardPage>& page : fPages) {
    if (page) page->Layout(pageArea, fScale, fFont, fBoldFont);
  }
  const bool okAtExit = ::IsWindowVisible(Button(nbOk)) &&
                        ::GetWindowLongPtrW(Button(nbOk), GWLP_USERDATA) != 0;
  const std::array<int, kNavButtonCount> lefts{kPrevLeft, kNextLeft, kExitLeft, kExitLeft,
                                               okAtExit ? kExitLeft : kNextLeft, kNextLeft, kExitLeft};
  for (int b = 0; b < kNavButtonCount; ++b) {
    place(kNavButtonIds[static_cast<std::size_t>(b)],
          {lefts[static_cast<std::size_t>(b)], kButtonTop, kButtonWidth, kButtonHeight}, fFont);
  }
  RECT window{0, 0, fScale.Px(kClientWidth), fScale.Px(kClientHeight)};
  ::AdjustWindowRectEx(&window, static_cast<DWORD>(::GetWindowLongPtrW(fHandle, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(fHandle, GWL_EXSTYLE)));
  ::SetWindowPos(fHandle, nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(fHandle, nullptr, TRUE);
}

void TWizardForm::PaintFrame(HDC aDc) const {
  const auto fill = [this, aDc](const RECT& aAt96, COLORREF aColour) {
    const RECT r = Px(aAt96);
    const HBRUSH brush = ::CreateSolidBrush(aColour);
    ::FillRect(aDc, &r, brush);
    ::DeleteObject(brush);
  };
  fill(kTopLight, kLightColour);
  fill(kTopDark, kDarkColour);
  fill(kTopMiddelLight, kWhiteColour);
  fill(kTopMiddelDark, kDarkColour);
  fill(kRightDark, kDarkColour);
  fill(kFooterDark, kDarkColour);
  if (!fOemLook) {
    fill(kFooterLight, kLightColour);
    // The logo: the product's colours as a small emblem.
    fill(kLogo, kDarkColour);
    fill({kLogo.left + 8, kLogo.top + 8, kLogo.right - 16, kLogo.bottom - 16}, kLightColour);
  }
}

HWND TWizardForm::Control(int aId) const {
  if (const HWND own = ::GetDlgItem(fHandle, aId)) return own;
  for (const std::unique_ptr<TWizardPage>& page : fPages) {
    if (!page || !page->Handle()) continue;
    if (const HWND control = ::GetDlgItem(page->Handle(), aId)) return control;
  }
  return nullptr;
}

HWND TWizardForm::Button(TNavButton aButton) const { return Control(kNavButtonIds[aButton]); }

void TWizardForm::SetText(int aId, const std::string& aText) const {
  ::SetWindowTextW(Control(aId), Wide(aText).c_str());
}

void TWizardForm::SetShortenedText(int aId, const std::string& aText) const {
  SetText(aId, ShortenedForLabel(Control(aId), aText));
}

std::string TWizardForm::Text(int aId) const {
  const HWND control = Control(aId);
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void TWizardForm::Repaint() const {
  ::RedrawWindow(fHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWizardForm::ApplyFixedCaptions() {
  const std::string script = fSetup ? fSetup->Context().ScriptFileName : std::string();
  SetText(idInifileLabel, FormatText(LanguageText(txt::LoadIniF_1), {script}));
  SetText(idExitBtn, LanguageText(txt::contr_Exit));
  SetText(idNextBtn, LanguageText(txt::contr_Next));
  SetText(idPrevBtn, LanguageText(txt::contr_Back));
  SetText(idCancelBtn, LanguageText(txt::contr_Cancel));
  SetText(idOkBtn, LanguageText(txt::contr_Ok));
  SetText(idYesBtn, LanguageText(txt::contr_Yes));
  SetText(idNoBtn, LanguageText(txt::contr_No));
  for (const int label : {idInfoLabel1, idInfoLabel2, idInfoLabel3}) SetText(label, {});
  SetText(idBrowseBtn, LanguageText(txt::contr_Browse));
  SetText(idBrowseExt, LanguageText(txt::contr_Browse));
}

void TWizardForm::ShowPage(TWizardPageId aPage) {
  fActivePage = aPage;
  // A control of a page that goes keeps no keyboard focus: the system would hand it to some
  // button of the bar (Exit, say), which Enter would then press.
  const HWND focus = ::GetFocus();
  bool focusLeaves = false;
  for (int page = 0; page < kWizardPageCount; ++page) {
    const std::unique_ptr<TWizardPage>& p = fPages[static_cast<std::size_t>(page)];
    if (!p || !p->Handle()) continue;
    const bool shown = page == aPage && !fWelcomePictureShown;
    if (!shown && focus && ::IsChild(p->Handle(), focus)) focusLeaves = true;
    ::ShowWindow(p->Handle(), shown ? SW_SHOW : SW_HIDE);
  }
  if (focusLeaves) FocusDefaultButton();
}

void TWizardForm::FocusDefaultButton() {
  const LRESULT found = ::SendMessageW(fHandle, DM_GETDEFID, 0, 0);
  if (HIWORD(found) != DC_HASDEFID) return;
  const HWND button = ::GetDlgItem(fHandle, LOWORD(found));
  if (button && ::IsWindowVisible(button) && ::IsWindowEnabled(button)) {
    ::SendMessageW(fHandle, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
  }
}

void TWizardForm::StateMachineRun() {
  fTimerArmed = true;
  ::SetTimer(fHandle, kTimer1, kTimer1Interval, nullptr);
}

void TWizardForm::Showbuttons(TShowButtonType aShowbutton) {
  const TButtonSet& set = ButtonSet(aShowbutton);
  // Ok's place is remembered on the button for the layout.
  ::SetWindowLongPtrW(Button(nbOk), GWLP_USERDATA, set.okAtExit ? 1 : 0);
  const int okLeft = fScale.Px(set.okAtExit ? kExitLeft : kNextLeft);
  RECT ok{};
  ::GetWindowRect(Button(nbOk), &ok);
  ::SetWindowPos(Button(nbOk), nullptr, okLeft, fScale.Px(kButtonTop), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  if (set.cancelCaption != 0) SetText(idCancelBtn, LanguageText(set.cancelCaption));
  for (int b = 0; b < kNavButtonCount; ++b) {
    const auto button = static_cast<TNavButton>(b);
    const HWND window = Button(button);
    const bool shown = (set.shown & Bit(button)) != 0;
    if (shown && (set.enable & Bit(button))) ::EnableWindow(window, TRUE);
    if (shown && (set.disable & Bit(button))) ::EnableWindow(window, FALSE);
    ::ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
  }
  // Exactly one default button; the dialog manager moves the default style.
  for (int b = 0; b < kNavButtonCount; ++b) {
    ::SendMessageW(Button(static_cast<TNavButton>(b)), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  ::SendMessageW(fHandle, DM_SETDEFID, static_cast<WPARAM>(kNavButtonIds[set.defaultButton]), 0);
  ::SendMessageW(Button(set.defaultButton), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  // Keyboard focus must not stay on a button that is gone, nor on one of the bar that is not
  // the new default: Enter would press it instead of the step's own answer.
  const HWND focus = ::GetFocus();
  bool onBar = false;
  for (int b = 0; b < kNavButtonCount; ++b) onBar = onBar || focus == Button(static_cast<TNavButton>(b));
  if (!focus || onBar || !::IsWindowVisible(focus) || !::IsWindowEnabled(focus)) FocusDefaultButton();
}

void TWizardForm::InitGui(bool aUseOEMGui) {
  fOemLook = aUseOEMGui;
  if (aUseOEMGui) ::SetWindowTextW(Control(idCopyrightPanel), kOemCaption);
  LoadWelcomeImage();
  ::InvalidateRect(fHandle, nullptr, TRUE);
}

void TWizardForm::LoadWelcomeImage() {
  const HWND image = Control(idWelcomeImage);
  UniqueHBitmap previous = std::move(fWelcomeBitmap);
  if (fSetup && fSetup->WelcomePicture()) {
    RECT area{};
    ::GetClientRect(image, &area);
    TPictureBitmap picture = RenderWelcomePicture(*fSetup->WelcomePicture(), {area.right, area.bottom}, fScale.dpi,
                                                  ::GetSysColor(COLOR_3DFACE));
    if (!picture.Bitmap) fSetup->Log("Welcome picture not shown: " + picture.Reason);
    fWelcomeBitmap = std::move(picture.Bitmap);
  }
  // The control shows the bitmap it is given and deletes none; the previous one goes here.
  ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fWelcomeBitmap.get()));
}

void TWizardForm::SetWelcomePicture(bool aOnOff) {
  fWelcomePictureShown = aOnOff;
  ::ShowWindow(Control(idWelcomeImage), aOnOff ? SW_SHOW : SW_HIDE);
  ::ShowWindow(Control(idFlashTitle), aOnOff ? SW_HIDE : SW_SHOW);
  if (fActivePage >= 0) ShowPage(static_cast<TWizardPageId>(fActivePage));
}

void TWizardForm::CenterOnScreen() const {
  RECT window{};
  ::GetWindowRect(fHandle, &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoW(::MonitorFromWindow(fHandle, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
  const RECT& work = monitor.rcWork;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  ::SetWindowPos(fHandle, nullptr, work.left + std::max(0L, (work.right - work.left - width) / 2),
                 work.top + std::max(0L, (work.bottom - work.top - height) / 2), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWizardForm::Run() {
  CenterOnScreen();
  ::ShowWindow(fHandle, SW_SHOW);
  ::SetForegroundWindow(fHandle);
  if (FirstTime) {
    FirstTime = false;
    StateMachineRun();
  }
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (fHandle && ::IsDialogMessageW(fHandle, &message)) continue;
    // Dialogs of their own (message dialogs) run modal loops; anything else is dispatched here.
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void TWizardForm::CallEngine(const std::function<void(TSetupEngine&)>& aCall) {
  if (!fSetup || fFailed) return;
  ++fEngineDepth;
  try {
    aCall(*fSetup);
  } catch (const std::exception& error) {
    // An error that escaped a step ends the run, as it ends a silent one: nobody could go on
    // from a page whose step broke off.
    fFailed = true;
    fSetup->Log(std::string("Setup stopped by an error: ") + error.what());
  }
  --fEngineDepth;
  if (fEngineDepth > 0) return;
  if (fFailed) {
    ::DestroyWindow(fHandle);
    return;
  }
  AfterEngineReturned();
}

void TWizardForm::AfterEngineReturned() {
  if (fTerminated) {
    ::DestroyWindow(fHandle);
    return;
  }
  if (fCloseRequested) {
    fCloseRequested = false;
    CloseAccepted();
    return;
  }
  std::vector<int> deferred;
  deferred.swap(fDeferredCommands);
  for (const int id : deferred) {
    ::PostMessageW(fHandle, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
  }
}

// ---------------------------------------------------------------------------------------------
// The window procedure.

INT_PTR CALLBACK TWizardForm::DialogProc(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam) noexcept {
  if (aMessage == WM_INITDIALOG) {
    ::SetWindowLongPtrW(aWindow, DWLP_USER, aLParam);
    reinterpret_cast<TWizardForm*>(aLParam)->fHandle = aWindow;
    return FALSE;
  }
  auto* form = reinterpret_cast<TWizardForm*>(::GetWindowLongPtrW(aWindow, DWLP_USER));
  if (!form) return FALSE;
  try {
    return form->HandleMessage(aMessage, aWParam, aLParam);
  } catch (const std::exception& error) {
    if (form->fSetup) form->fSetup->Log(std::string("Wizard: ") + error.what());
  } catch (...) {
    if (form->fSetup) form->fSetup->Log("Wizard: unknown error");
  }
  return FALSE;
}

INT_PTR TWizardForm::HandleMessage(UINT aMessage, WPARAM aWParam, LPARAM aLParam) {
  switch (aMessage) {
    case WM_COMMAND:
      if (LOWORD(aWParam) == IDCANCEL && HIWORD(aWParam) == BN_CLICKED && aLParam == 0) {
        // Esc: as the close box.
        ::PostMessageW(fHandle, WM_CLOSE, 0, 0);
      } else if (aLParam != 0) {
        OnCommand(LOWORD(aWParam), HIWORD(aWParam), reinterpret_cast<HWND>(aLParam));
      }
      return TRUE;
    case WM_TIMER:
      if (aWParam == kTimer1 && !EngineBusy()) {
        // Timer1Timer: one-shot; a step that is running keeps it armed until it returns.
        ::KillTimer(fHandle, kTimer1);
        fTimerArmed = false;
        CallEngine([](TSetupEngine& aSetup) { aSetup.ExecuteStep(); });
      }
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(aWParam) != WA_INACTIVE && FirstTime) {
        FirstTime = false;
        StateMachineRun();
      }
      return FALSE;
    case WM_CLOSE:
      if (FormCloseQuery()) CloseAccepted();
      return TRUE;
    case WM_DESTROY:
      fHandle = nullptr;
      ::PostQuitMessage(0);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(fHandle, &paint);
      PaintFrame(dc);
      ::EndPaint(fHandle, &paint);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      const auto control = reinterpret_cast<HWND>(aLParam);
      const auto dc = reinterpret_cast<HDC>(aWParam);
      if (control == Control(idFlashTitle)) {
        ::SetBkColor(dc, kWhiteColour);
        ::SetTextColor(dc, kDarkColour);
        return reinterpret_cast<INT_PTR>(fWhiteBrush);
      }
      if (control == Control(idCopyrightPanel) && !fOemLook) {
        ::SetBkColor(dc, kLightColour);
        return reinterpret_cast<INT_PTR>(fLightBrush);
      }
      return FALSE;
    }
    case WM_SETCURSOR:
      // The hourglass while a step works, except over the buttons that act at once.
      if (EngineBusy() && LOWORD(aLParam) == HTCLIENT) {
        const auto over = reinterpret_cast<HWND>(aWParam);
        if (over != Button(nbExit) && over != Button(nbCancel)) {
          ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
          ::SetWindowLongPtrW(fHandle, DWLP_MSGRESULT, TRUE);
          return TRUE;
        }
      }
      return FALSE;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(aLParam);
      ApplyScale(HIWORD(aWParam));
      ::SetWindowPos(fHandle, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    default: return FALSE;
  }
}

}  // namespace vek
