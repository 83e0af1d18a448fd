#pragma once
// A plain top-level window that hosts the options page and the confirmation page as the
// wizard does: the pages live in its page area, its Next button follows the options page, and
// Next and Back switch between the two pages. The page tests and the page host program share it.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/ConfirmPage.h"
#include "ui/OptionsPage.h"

namespace vek {

enum THostControl : int {
  idHostBackBtn = 10,
  idHostNextBtn = 11,
};

class TPagesHost {
 public:
  explicit TPagesHost(TSetupEngine& aSetup);
  ~TPagesHost();
  TPagesHost(const TPagesHost&) = delete;
  TPagesHost& operator=(const TPagesHost&) = delete;

  // Creates the window (hidden) and both pages; false when the system refuses.
  bool Create(const std::string& aTitle);
  void ShowOptions();
  void ShowConfirm();

  HWND Window() const { return fWindow; }
  HWND NextButton() const { return GetDlgItem(fWindow, idHostNextBtn); }
  TOptionsPage& Options() { return fOptions; }
  TConfirmPage& Confirm() { return fConfirm; }
  const std::string& InstallToCaption() const { return fInstallToCaption; }
  UINT Dpi() const { return fScale.dpi; }

  // Runs the message loop until the window is closed.
  int Run();

 private:
  static LRESULT CALLBACK WindowProc(HWND aWindow, UINT aMsg, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT aMsg, WPARAM wParam, LPARAM lParam);
  void MakeFonts();
  void LayoutAll();

  TSetupEngine& fSetup;
  TOptionsPage fOptions;
  TConfirmPage fConfirm;
  HWND fWindow = nullptr;
  HFONT fFont = nullptr;
  HFONT fBoldFont = nullptr;
  TUiScale fScale;
  std::string fInstallToCaption;
};

}  // namespace vek
