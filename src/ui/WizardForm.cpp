#include "ui/WizardForm.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "base/Format.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/WinText.h"
#include "ui/ConfirmPage.h"
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

UINT WindowDpi(HWND aWindow) {
  // GetDpiForWindow exists from Windows 10 1607 on; before, the screen's DPI is the only one.
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<TGetDpiForWindow>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi) {
    if (const UINT dpi = getDpi(aWindow)) return dpi;
  }
  const HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
  if (screen) ::ReleaseDC(nullptr, screen);
  return static_cast<UINT>(dpi);
}

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
  return ::CreateFontIndirectW(&font);
}

void DeleteFont(HFONT& aFont) {
  if (aFont) ::DeleteObject(aFont);
  aFont = nullptr;
}

bool IsCleanUpRun(TRunMode aMode) { return aMode == rmCleanUp || aMode == rmWorkStationCleanUp; }

// Steps at which the run's work is done: leaving the run then is no cancellation.
bool WorkIsDone(TStepTypes aStep) {
  return aStep == stCleanUpShowErrors || aStep == stFinalInfo || aStep == stFinishCleanUp || aStep == stFinish ||
         aStep == stTerminate;
}

std::string Line(const std::vector<std::string>& aLines, std::size_t aIndex) {
  return aIndex < aLines.size() ? aLines[aIndex] : std::string();
}

}  // namespace

TWizardForm::TWizardForm() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  LoadRichEditLibrary();
  fLightBrush = ::CreateSolidBrush(kLightColour);
  fWhiteBrush = ::CreateSolidBrush(kWhiteColour);
  CreateFrame();
  CreatePages();
  ApplyScale(WindowDpi(fHandle));
  ApplyFixedCaptions();
  ::SetWindowTextW(Control(idCopyrightPanel), kVendorCaption);
}

TWizardForm::~TWizardForm() {
  if (fSetup) fSetup->SetOnStep(nullptr);
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
    const std::span<const TControlSpec> controls = PageControls(static_cast<TWizardPageId>(page));
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
  fSetup->SetOnStep([this](TSetupEngine& aSender) { SetupStep(aSender); });
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
  for (int page = 0; page < kWizardPageCount; ++page) {
    const std::unique_ptr<TWizardPage>& p = fPages[static_cast<std::size_t>(page)];
    if (p && p->Handle()) ::ShowWindow(p->Handle(), page == aPage && !fWelcomePictureShown ? SW_SHOW : SW_HIDE);
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
  // Keyboard focus must not stay on a button that is gone.
  const HWND focus = ::GetFocus();
  if (!focus || !::IsWindowVisible(focus) || !::IsWindowEnabled(focus)) {
    const HWND preferred = Button(set.defaultButton);
    if (::IsWindowEnabled(preferred)) ::SendMessageW(fHandle, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(preferred), TRUE);
  }
}

void TWizardForm::InitGui(bool aUseOEMGui) {
  fOemLook = aUseOEMGui;
  if (aUseOEMGui) ::SetWindowTextW(Control(idCopyrightPanel), kOemCaption);
  // The engine carries no welcome picture yet: the image stays empty.
  ::InvalidateRect(fHandle, nullptr, TRUE);
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

template <typename F>
void TWizardForm::CallEngine(F&& aCall) {
  if (!fSetup) return;
  ++fEngineDepth;
  try {
    aCall(*fSetup);
  } catch (...) {
    --fEngineDepth;
    throw;
  }
  --fEngineDepth;
  if (fEngineDepth == 0) AfterEngineReturned();
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
// The step handler.

void TWizardForm::SetupStep(TSetupEngine& aSender) {
  if (&aSender != fSetup) return;
  switch (aSender.StepAction()) {
    case saEnter: StepEnter(aSender); break;
    case saUpdate: StepUpdate(aSender); break;
    case saLeave: StepLeave(aSender); break;
    case saNone: break;
  }
}

void TWizardForm::StepEnter(TSetupEngine& e) {
  const TStepTypes step = e.Step();
  if (step == stStart) {
    ::SetForegroundWindow(fHandle);
    Showbuttons(sbExit);
    ShowPage(pgLoadini);
  } else if (step == stShowWelcomePicture) {
    Showbuttons(sbNextExit);
    SetWelcomePicture(true);
  } else if (step == stInstUpd) {
    ShowWelcomePage(e);
  } else if (step == stSelectLanguage) {
    // The language page shows only a language choice of the script, which the engine does
    // not offer yet; the buttons are those of the page.
    Showbuttons(e.ShowWelcomePicture() ? sbPrevNextExit : sbNextExit);
  } else if (step == StStartInfo) {
    NextBtnClick();  // no start info pages
  } else if (step == stWhereTo) {
    ShowWhereToPage(e);
  } else if (step == StReadInstallIniExternals) {
    Showbuttons(sbExit);
  } else if (step == stInstallFiles) {
    Showbuttons(sbExit);
    SetText(idUnpackText, LanguageText(txt::InstFiles_0));
    SetText(idFromFileInfoText, LanguageText(txt::InstFiles_From));
    SetText(idToFileInfoText, LanguageText(txt::InstFiles_To));
    SetText(idFromFileLabel, {});
    SetText(idToFileLabel, {});
    ShowPage(pgInstall);
  } else if (step == StReadInstallIniOptions) {
    Showbuttons(sbExit);
    ShowPage(pgLoadini);
    Repaint();
  } else if (step == stCheckWhereTo) {
    e.Context().InstallPath = Text(idInstallPathEdit);
  } else if (step == stCleanUpStart) {
    Showbuttons(sbYesNo);
    ShowPage(pgInfopage);
  } else if (step == stCleanUpDirInfo) {
    const HWND list = Control(idCleanupDirList);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& folder : e.CleanUpDirList()) {
      ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(folder).c_str()));
    }
    Showbuttons(sbOkCancel);
    ShowPage(pgInfoCleanUp);
  } else if (step == stCleanUpExecute) {
    ShowPage(pgInfopage);
    Showbuttons(sbStop);
  } else if (step == stCleanUpShowErrors) {
    std::string memo = Text(idMemo1);
    for (const std::string& line : e.CleanuUpErrorList()) memo += "\r\n" + line;
    SetText(idMemo1, memo);
    ShowPage(pgErrorCleanup);
    Showbuttons(sbOk);
  }
}

void TWizardForm::StepUpdate(TSetupEngine& e) {
  const TStepTypes step = e.Step();
  const TStepMessage message = e.StepMessage();
  const std::vector<std::string>& lines = e.InfoLines();
  if (step == stSetLanguage) {
    ApplyFixedCaptions();
  } else if (step == StStartInfo) {
    NextBtnClick();
  } else if (step == stAcceptLicens) {
    // The agreement text is not loaded by the engine yet: the page has nothing to accept.
    e.SetNextStep(stAcceptLicens);
    Showbuttons(sbYesNoDefault);
    SetText(idLicensMemo, {});
    ::EnableWindow(Button(nbYes), FALSE);
    SetText(idLicensLabel1, LanguageText(txt::Licens_1));
    SetText(idLicensLabel2, LanguageText(txt::Licens_2));
    ShowPage(pgLicensAgreement);
    ::SendMessageW(fHandle, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(idLicensMemo)), TRUE);
  } else if (step == stDeftCust) {
    Showbuttons(sbPrevExit);
    SetText(idDefaultBtn, e.DefaultBtnCaption());
    SetText(idDefaultLabel, e.DefaultLabelCaption());
    SetText(idCustomBtn, e.CustomBtnCaption());
    SetText(idCustomLabel, e.CustomLabelCaption());
    ShowPage(pgDeftCust);
  } else if (step == stIoptions) {
    if (fOptionsPage) InstallToCaption = fOptionsPage->Prepare();
    Showbuttons(sbPrevNextExit);
    ShowPage(pgOptions);
  } else if (step == stInstallFiles) {
    ShowInstallUpdate(e);
  } else if (step == stIconfirm) {
    Showbuttons(sbPrevNextExit);
    if (fConfirmPage) fConfirmPage->Prepare(LanguageText(txt::Iconfirm_0));
    ShowPage(pgConfirm);
  } else if (step == stUpdGroups || step == stUpdUnInstallInfo) {
    Showbuttons(step == stUpdGroups ? sbYesNo : SbCancel);
    SetText(idInfoLabel1, {});
    SetText(idInfoLabel3, {});
    SetText(idInfoLabel2, FormatText(LanguageText(step == stUpdGroups ? txt::Groups_Ask : txt::UnInst_Registering),
                                     {e.SystemName()}));
    ShowPage(pgInfopage);
    Repaint();
  } else if (step == stCopyExternals) {
    if (message == smNone) {
      SetText(idUnpackText, {});
      SetText(idFromFileInfoText, LanguageText(txt::InstFiles_From));
      SetText(idToFileInfoText, LanguageText(txt::InstFiles_To));
      SetText(idFromFileLabel, {});
      SetText(idToFileLabel, {});
      ShowPage(pgInstall);
      Showbuttons(SbCancel);
    } else if (message == smNoProgressBar) {
      ::ShowWindow(Control(idProgressBar1), SW_HIDE);
    } else if (message == smFromToFile) {
      SetShortenedText(idFromFileLabel, Line(lines, 0));
      SetShortenedText(idToFileLabel, Line(lines, 1));
      Repaint();
    } else if (message == smUnPackText) {
      SetText(idUnpackText, Line(lines, 0));
      Repaint();
    }
  } else if (step == stCheckWhereTo) {
    if (e.Context().RunMode != rmInstall || e.InstallMode() != 2) return;
    if (message == smStartFindSystem) {
      Showbuttons(sbStop);
      e.SetStopBtnHandle(Button(nbCancel));
      ShowPage(pgFindProg);
    } else if (message == smFindSystem) {
      SetText(idCancelBtn, LanguageText(txt::contr_Stop));
      SetText(idFindDescLabel, e.Info());
      Repaint();
    } else if (message == smFoundSystem) {
      ShowPage(pgWhereto);
      Showbuttons(sbPrevNextExit);
    } else if (message == smFoundDir) {
      SetShortenedText(idFindPathLabel, e.Info());
      ::UpdateWindow(Control(idFindPathLabel));
    }
  } else if (step == stVerifySystemInfoUserRights) {
    ShowRightsPage({}, txt::Rights_Head,
                   message == smSysAdmRightsFailed ? txt::Rights_Admin : txt::Rights_Power);
    Showbuttons(sbExit);
  } else if (step == stVerifyUserRights) {
    ShowRightsPage(lines, txt::Rights_Selection, 0);
    Showbuttons(sbPrevNextExit);
  } else if (step == stExecuteChoices) {
    if (message == smChoice) {
      Showbuttons(sbPrevNextExit);
      ShowPage(pgChoicePage);
    }
  } else if (step == stCleanUpExecute) {
    if (message == smCleanUpExt) {
      SetText(idInfoLabel1, Line(lines, 0));
      SetText(idInfoLabel2, Line(lines, 1));
      SetText(idInfoLabel3, {});
    } else if (message == smCleanUpFile || message == smCleanUpFolder) {
      SetText(idInfoLabel1, Line(lines, 0));
      SetShortenedText(idInfoLabel2, Line(lines, 1));
      SetText(idInfoLabel3, {});
    } else if (message == smCleanUpGrp) {
      ShowInfoLines(lines);
    }
    Repaint();
  } else if (step == stFinishCleanUp || step == stFinish) {
    ShowFinishPage(e);
  } else if (step == stFinalInfo) {
    Showbuttons(sbNext);
    FinalInfoindex = 0;
    // No final info pages: the run goes on to its end.
    e.SetNextStep(stFinish);
    NextBtnClick();
  } else if (step == stAppRunTest) {
    AppRunPrompt(e);
  }
}

void TWizardForm::StepLeave(TSetupEngine& e) {
  const TStepTypes step = e.Step();
  if (step == stStart) {
    InitGui(e.OemGui());
    if (!IsCleanUpRun(e.Context().RunMode)) {
      ::SetWindowTextW(fHandle, Wide(e.SetupCaption()).c_str());
      SetText(idFlashTitle, e.FlashStr());
    }
    NextBtnClick();
  } else if (step == StStartInfo || step == StReadInstallIniOptions) {
    NextBtnClick();
  } else if (step == stCleanUpStart) {
    InitGui(e.OemGui());
    Repaint();
    SetText(idMemo1, LanguageText(txt::CleanUp_ErrorsHead));
    ::SetWindowTextW(fHandle, Wide(FormatText(LanguageText(txt::CleanUp_Caption), {e.SystemName()})).c_str());
    SetText(idFlashTitle, e.FlashStr());
    ShowInfoLines(e.InfoLines());
    SetText(idInfoCleanUpLabel, LanguageText(txt::CleanUp_DirsHead));
  } else if (step == stTerminate) {
    fTerminated = true;
  }
}

void TWizardForm::ShowInfoLines(const std::vector<std::string>& aLines) {
  SetText(idInfoLabel1, Line(aLines, 0));
  SetText(idInfoLabel2, Line(aLines, 1));
  SetText(idInfoLabel3, Line(aLines, 2));
}

void TWizardForm::ShowWelcomePage(TSetupEngine& e) {
  Showbuttons(e.ShowWelcomePicture() ? sbPrevNextExit : sbNextExit);
  const std::string welcome = FormatText(LanguageText(txt::instupd_1), {e.WelcomeTitle()});
  std::string second;
  bool choose = false;
  switch (e.Context().RunMode) {
    case rmInstall:
      if (e.Instmode() == 0) {
        second = LanguageText(txt::instupd_2);
        choose = true;
      } else if (e.Instmode() == 1) {
        second = LanguageText(txt::instupd_3);
      } else if (e.Instmode() == 2) {
        second = LanguageText(txt::instupd_4);
      }
      break;
    case rmWorkStationSetup: second = FormatText(LanguageText(txt::instupd_WsSetup), {e.SystemTitle()}); break;
    case rmWorkStationUpdate: second = FormatText(LanguageText(txt::instupd_WsUpdate), {e.SystemTitle()}); break;
    case rmCleanUp:
    case rmWorkStationCleanUp: break;
  }
  SetText(idInstUpdLabel, second.empty() && e.Context().RunMode != rmInstall ? std::string()
                                                                              : welcome + "\r\n\r\n" + second);
  for (const int radio : {idInstallRadioBtn, idUpdateRadioBtn}) {
    ::ShowWindow(Control(radio), choose ? SW_SHOW : SW_HIDE);
    ::EnableWindow(Control(radio), choose);
  }
  if (choose) {
    SetText(idInstallRadioBtn, LanguageText(txt::contr_Install));
    SetText(idUpdateRadioBtn, LanguageText(txt::contr_Update));
    // An installation is what most runs want: it is preselected.
    if (::SendMessageW(Control(idUpdateRadioBtn), BM_GETCHECK, 0, 0) != BST_CHECKED) {
      ::SendMessageW(Control(idInstallRadioBtn), BM_SETCHECK, BST_CHECKED, 0);
      e.SetInstallMode(1);
    }
  }
  ShowPage(pgInstUpd);
  Repaint();
}

void TWizardForm::ShowWhereToPage(TSetupEngine& e) {
  TRunContext& context = e.Context();
  const auto label = [&](int aText) { SetText(idWhereToLabel, FormatText(LanguageText(aText), {e.SystemName()})); };
  const auto chosenRoot = [&context] {
    const int index = context.InstallRootIndex;
    return index >= 0 && static_cast<std::size_t>(index) < context.InstallRootList.size()
               ? context.InstallRootList[static_cast<std::size_t>(index)]
               : std::string();
  };
  switch (context.RunMode) {
    case rmInstall:
      label(e.InstallMode() == 1 ? txt::WhereTo_Install : txt::WhereTo_Update);
      SetText(idInstallPathEdit, e.InstallMode() == 1 ? AddRootFolder(context.InstallPath, chosenRoot())
                                                      : context.InstallPath);
      break;
    case rmWorkStationSetup:
      label(txt::WhereTo_WsSetup);
      SetText(idInstallPathEdit, AddRootFolder(context.InstallPath, context.WorkStationRootDir));
      break;
    case rmWorkStationUpdate:
      label(txt::WhereTo_WsUpdate);
      SetText(idInstallPathEdit, context.InstallPath);
      break;
    case rmCleanUp:
    case rmWorkStationCleanUp: break;
  }
  Showbuttons(sbPrevNextExit);
  ShowPage(pgWhereto);
  const HWND edit = Control(idInstallPathEdit);
  ::SendMessageW(fHandle, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

void TWizardForm::ShowInstallUpdate(TSetupEngine& e) {
  const std::vector<std::string>& lines = e.InfoLines();
  switch (e.StepMessage()) {
    case smInitProgressMonitor:
      fProgress = std::make_unique<TWizardProgress>(Control(idProgressBar1), Control(idToFileLabel));
      ::ShowWindow(Control(idProgressBar1), SW_SHOW);
      if (TProgressMonitor* monitor = e.ProgressMonitor()) {
        monitor->SetProgressBar(&fProgress->Bar);
        monitor->SetFileLabel(&fProgress->FileLabel);
      }
      break;
    case smUpdate: Repaint(); break;
    case smProgressMax:
      if (fProgress) fProgress->Bar.Fill();
      break;
    case smProgressStep:
      if (fProgress) fProgress->Bar.Step();
      break;
    case smFromToFile:
      if (lines.size() >= 2) {
        SetShortenedText(idFromFileLabel, lines[0]);
        SetShortenedText(idToFileLabel, lines[1]);
        Repaint();
      }
      break;
    case smFromFile:
      if (!lines.empty()) {
        SetShortenedText(idFromFileLabel, lines[0]);
        Repaint();
      }
      break;
    case smNone:
    case smSysAdmRightsFailed:
    case smSysPowerRightsFailed:
    case smStartFindSystem:
    case smFindSystem:
    case smFoundSystem:
    case smFoundDir:
    case smNoProgressBar:
    case smUnPackText:
    case smYesNoBtn:
    case smRs_Ask:
    case smRs_RunProg:
    case smDiskDrive:
    case smGetProgInfo:
    case smFindFile:
    case smShowErrorLog:
    case smCleanUpExt:
    case smCleanUpFile:
    case smCleanUpFolder:
    case smCleanUpGrp:
    case smChoice:
      break;
  }
}

void TWizardForm::ShowFinishPage(TSetupEngine& e) {
  if (e.StepMessage() == smNone) {
    ShowInfoLines(e.InfoLines());
    ShowPage(pgInfopage);
    Showbuttons(sbOk);
  } else if (e.StepMessage() == smShowErrorLog) {
    std::string text;
    for (const std::string& line : e.ErrorLog()) text += line + "\r\n";
    MessageOk(LanguageText(txt::LogDlg_Caption), text, mtError);
  }
}

void TWizardForm::ShowRightsPage(const std::vector<std::string>& aLines, int aTextId, int aSecondTextId) {
  std::string text;
  for (const std::string& line : aLines) text += line + "\r\n";
  text += "\r\n" + LanguageText(aTextId);
  if (aSecondTextId != 0) text += "\r\n" + LanguageText(aSecondTextId);
  const HWND edit = Control(idReInfo);
  // Plain black text: the default format of the whole control.
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
  format.crTextColor = RGB(0, 0, 0);
  ::SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  SetText(idReInfo, text);
  ShowPage(pgRichEditInfoPage);
}

void TWizardForm::AppRunPrompt(TSetupEngine& e) {
  const bool cleanUp = IsCleanUpRun(e.Context().RunMode);
  std::string message = FormatText(LanguageText(cleanUp ? txt::AppRun_CleanUp : txt::AppRun_Install), {e.Info()});
  if (message.empty()) message = LanguageText(cleanUp ? txt::AppRun_CleanUpDefault : txt::AppRun_InstallDefault);
  const int answer = ShowMessageDialog(LanguageText(txt::Msg_Warning), message, mtWarning,
                                       {LanguageText(txt::contr_Continue), LanguageText(txt::contr_Exit)}, {}, nullptr);
  if (answer == 1) e.SetNextStep(stAppRunTest);
  if (answer == 2) e.SetNextStep(stTerminate);
}

// ---------------------------------------------------------------------------------------------
// Buttons.

void TWizardForm::OnCommand(int aId, int aCode, HWND) {
  const bool clicked = aCode == BN_CLICKED;
  if (!fSetup) return;
  if (aId == idWelcomeImage && aCode == STN_CLICKED) return WelcomeImageClick();
  if (!clicked) return;
  switch (aId) {
    case idNextBtn:
      if (!DeferWhileBusy(aId)) NextBtnClick();
      break;
    case idPrevBtn:
      if (!DeferWhileBusy(aId)) PrevBtnClick();
      break;
    case idExitBtn: ExitBtnClick(); break;
    case idCancelBtn: CancelBtnClick(); break;
    case idOkBtn:
      if (!DeferWhileBusy(aId)) OkBtnClick();
      break;
    case idYesBtn:
      if (!DeferWhileBusy(aId)) YesBtnClick();
      break;
    case idNoBtn:
      if (!DeferWhileBusy(aId)) NoBtnClick();
      break;
    case idBrowseBtn:
    case idBrowseExt: BrowseBtnClick(); break;
    case idDefaultBtn:
    case idCustomBtn:
      if (!DeferWhileBusy(aId)) DefaultBtnClick(aId == idCustomBtn);
      break;
    case idInstallRadioBtn: fSetup->SetInstallMode(1); break;
    case idUpdateRadioBtn: fSetup->SetInstallMode(2); break;
    default: break;
  }
}

bool TWizardForm::DeferWhileBusy(int aId) {
  if (!EngineBusy()) return false;
  fDeferredCommands.push_back(aId);
  return true;
}

void TWizardForm::EndedByUser(const char* aLogLine) {
  TSetupEngine& e = *fSetup;
  e.Log(aLogLine);
  if (WorkIsDone(e.Step())) return;
  e.SetUserCancelled(true);
  // A cleanup that did not run keeps the program and its record for another try.
  if (IsCleanUpRun(e.Context().RunMode)) {
    e.Context().RemoveSelfOnExit = false;
    e.Context().RemoveScriptOnExit = false;
  }
}

void TWizardForm::NextBtnClick() {
  TSetupEngine& e = *fSetup;
  e.UpdatePrevSteps();
  const TStepTypes step = e.Step();
  if (step == stShowWelcomePicture) {
    SetWelcomePicture(false);
  } else if (step == stInstUpd) {
    if (e.Context().RunMode == rmInstall && ::IsWindowVisible(Control(idUpdateRadioBtn))) {
      e.SetInstallMode(::SendMessageW(Control(idUpdateRadioBtn), BM_GETCHECK, 0, 0) == BST_CHECKED ? 2 : 1);
    }
  }
  StateMachineRun();
}

void TWizardForm::PrevBtnClick() {
  TSetupEngine& e = *fSetup;
  if (e.Step() == stFinalInfo) {
    Showbuttons(sbNextExit);
    return;
  }
  e.SetNextStep(e.PrevStep());
  StateMachineRun();
}

void TWizardForm::ExitBtnClick() {
  TSetupEngine& e = *fSetup;
  if (e.Step() == stInstallFiles && e.IsUnpacking()) {
    // Acts at once: the extraction reads the flag at its next file.
    const int answer = MessageYesNo(LanguageText(txt::Msg_Warning),
                                    FormatText(LanguageText(txt::wizard_QuitAsk), {e.SystemName()}), mtWarning);
    if (answer == 1 && e.ProgressMonitor()) {
      e.ProgressMonitor()->AbortFlag = true;
      EndedByUser(" User Terminated");
    } else {
      Repaint();
    }
    return;
  }
  if (DeferWhileBusy(idExitBtn)) return;
  EndedByUser(" User Terminated");
  e.SetNextStep(stTerminate);
  NextBtnClick();
}

void TWizardForm::OkBtnClick() {
  TSetupEngine& e = *fSetup;
  const TStepTypes step = e.Step();
  if (step == stFinishCleanUp || step == stFinish) e.SetNextStep(stTerminate);
  if (step == stCleanUpDirInfo || step == stCleanUpShowErrors || step == stFinishCleanUp || step == stFinish) {
    CallEngine([](TSetupEngine& aSetup) { aSetup.ExecuteStep(); });
  }
}

void TWizardForm::CancelBtnClick() {
  TSetupEngine& e = *fSetup;
  const TStepTypes step = e.Step();
  if (step == stCleanUpExecute) {
    // Acts at once: the cleanup reads the flag between its files.
    e.Log(" User Canceled");
    const int answer = MessageYesNo(LanguageText(txt::Msg_Information),
                                    FormatText(LanguageText(txt::CleanUp_StopAsk), {e.SystemName()}), mtInformation);
    if (answer == 1) {
      e.SetStopCleanUp(true);
      e.SetUserCancelled(true);
    }
    e.Context().RemoveSelfOnExit = false;
    e.Context().RemoveScriptOnExit = false;
    return;
  }
  // The search for an installed system watches this button itself while it runs.
  if (step == stCheckWhereTo && EngineBusy()) return;
  if (DeferWhileBusy(idCancelBtn)) return;
  if (step == stCleanUpDirInfo) {
    EndedByUser(" User Terminated");
    e.Context().RemoveSelfOnExit = false;
    e.Context().RemoveScriptOnExit = false;
    e.SetNextStep(stTerminate);
    NextBtnClick();
    return;
  }
  e.SetNextStep(stTerminate);
  EndedByUser(" User Terminated");
  NextBtnClick();
}

void TWizardForm::YesBtnClick() {
  TSetupEngine& e = *fSetup;
  const TStepTypes step = e.Step();
  if (step == stAcceptLicens) e.SetNextStep(stWhereTo);
  if (step == stUpdGroups) e.SetNextStep(stDoUpdGroups);
  if (step == stAcceptLicens || step == stUpdGroups || step == stCleanUpStart) NextBtnClick();
}

void TWizardForm::NoBtnClick() {
  TSetupEngine& e = *fSetup;
  const TStepTypes step = e.Step();
  if (step == stUpdGroups) {
    e.SetNextStep(stDoForceUpdGroups);
    NextBtnClick();
  } else if (step == stAcceptLicens || step == stCleanUpStart) {
    // EndedByUser keeps a cleanup's program and record when the cleanup did not run.
    EndedByUser(" User Terminated");
    e.SetNextStep(stTerminate);
    NextBtnClick();
  }
}

void TWizardForm::BrowseBtnClick() {
  if (fActivePage == pgWhereto) {
    if (std::optional<std::string> folder = BrowseForFolder(fHandle, Text(idInstallPathEdit))) {
      SetText(idInstallPathEdit, *folder);
    }
  } else if (fActivePage == pgRunExternals) {
    if (std::optional<std::string> folder = BrowseForFolder(fHandle, Text(idInstallPathEdit))) {
      SetText(idDiskDrivePanel, *folder);
    }
  }
}

void TWizardForm::DefaultBtnClick(bool aCustom) {
  fSetup->UpdatePrevSteps();
  CallEngine([aCustom](TSetupEngine& aSetup) {
    if (aCustom) {
      aSetup.ExecuteUseCustomOptions();
    } else {
      aSetup.ExecuteUseDefaultOptions();
    }
  });
}

void TWizardForm::WelcomeImageClick() {
  if (::GetKeyState(VK_CONTROL) >= 0) return;
  RECT image{};
  ::GetClientRect(Control(idWelcomeImage), &image);
  MessageOk(LanguageText(txt::Msg_Information),
            FormatText("height x width : %d x %d", {image.bottom - image.top, image.right - image.left}),
            mtInformation);
}

// ---------------------------------------------------------------------------------------------
// Closing.

bool TWizardForm::FormCloseQuery() {
  if (!fSetup || fTerminated) return true;
  TSetupEngine& e = *fSetup;
  const TStepTypes step = e.Step();
  if (step == stExecuteExternals) {
    e.SetExternalReboot(true);
    return false;
  }
  if (step == stFinishCleanUp || step == stFinish || step == stTerminate) return true;
  return MessageYesNo(LanguageText(txt::Msg_Warning), FormatText(LanguageText(txt::wizard_QuitAsk), {e.SystemName()}),
                      mtWarning) == 1;
}

void TWizardForm::CloseAccepted() {
  if (!fSetup || fTerminated) {
    ::DestroyWindow(fHandle);
    return;
  }
  TSetupEngine& e = *fSetup;
  EndedByUser(" User Terminated");
  if (EngineBusy()) {
    // The running step stops at its next check; the window closes once it has returned.
    if (TProgressMonitor* monitor = e.ProgressMonitor()) monitor->AbortFlag = true;
    e.SetStopCleanUp(true);
    fCloseRequested = true;
    return;
  }
  // The run ends as Exit ends it: stTerminate saves the record; its leave closes the window.
  e.SetNextStep(stTerminate);
  CallEngine([](TSetupEngine& aSetup) { aSetup.ExecuteStep(); });
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
