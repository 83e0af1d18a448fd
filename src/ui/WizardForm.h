#pragma once
// TWizardForm: the installer's main window in an interactive run, a passive front end of
// TSetupEngine. The engine decides the steps; the window shows one page per step, offers the
// buttons the step allows (Showbuttons) and turns each press into an engine call. Steps start
// from the one-shot timer Timer1 (StateMachineRun), so the next step always runs from the
// message loop after the handler that asked for it has returned.
//
// One engine call at a time: while a step runs it pumps messages (extraction, cleanup, the
// search for an installed system), and a timer or a button that would start another step then
// waits until the step has returned. Only Exit, Stop, Cancel and a close act at once, by
// setting the flags the running step reads.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/SetupEngine.h"
#include "ui/ButtonSets.h"
#include "ui/ControlPage.h"
#include "ui/PictureBitmap.h"
#include "ui/WizardPages.h"

namespace vek {

class TOptionsPage;
class TConfirmPage;
class TWizardProgress;

// Steps at which the run's work is done: leaving the run then is no cancellation.
inline bool WorkIsDone(TStepTypes aStep) {
  return aStep == stCleanUpShowErrors || aStep == stFinalInfo || aStep == stFinishCleanUp || aStep == stFinish ||
         aStep == stTerminate;
}

// The start and final info steps, which page through their lists before the engine moves on.
bool IsInfoStep(TStepTypes aStep);

// Line aIndex of the engine's info lines, empty when there is none.
inline std::string Line(const std::vector<std::string>& aLines, std::size_t aIndex) {
  return aIndex < aLines.size() ? aLines[aIndex] : std::string();
}

// What the choice page shows: a script's choice or the language choice, its items already in the
// user's language.
struct TChoiceView {
  std::string description;
  std::string info;
  std::vector<std::string> items;
  int selection = -1;  // -1: none yet
  bool combo = false;  // a combo box (the language choice always) instead of radio buttons
};

// The alternatives of the external program on display: its texts RB1 to RB4 in the user's
// language (empty: none) and the one chosen before (1 to 4; 0 none).
struct TProgramAlternatives {
  std::array<std::string, 4> texts;
  int selected = 0;
};

// An item of the language choice: the option's text and, when its variable is a locale number
// that the system knows, the system's name of that language.
std::string LanguageChoiceItem(const std::string& aText, const std::string& aVariable);

class TWizardForm {
 public:
  TWizardForm();  // FormCreate
  ~TWizardForm();
  TWizardForm(const TWizardForm&) = delete;
  TWizardForm& operator=(const TWizardForm&) = delete;

  HWND Handle() const { return fHandle; }
  // The Setup property: the engine (not owned), whose step event this window becomes.
  void SetSetup(TSetupEngine* aSetup);
  // Shows the window and runs the message loop until it closes.
  void Run();
  // An error escaped a step: the window closed and the run could not be carried out.
  bool Failed() const { return fFailed; }

  // The step handler (the engine's OnStep): one notification of the engine, as the engine
  // announces it with its Step, StepAction and StepMessage.
  void StepNotification(TSetupEngine& aSender, TStepTypes aStep, TStepAction aAction, TStepMessage aMessage);

  // The choice page and the agreement page, as the engine's choice and agreement steps fill
  // them (the engine does not load choices and agreements yet).
  void ShowChoice(const TChoiceView& aChoice);
  void ShowAgreement(const std::vector<std::string>& aLines, bool aValid);
  int ChoiceSelection() const { return fChoiceSelection; }
  // The external program's alternatives, as the external-program loop gives them with its
  // program before it announces it; the user's pick (1 to 4, 0 none) goes back the same way.
  void SetProgramAlternatives(const TProgramAlternatives& aAlternatives) { fProgramAlternatives = aAlternatives; }
  int ProgramChoice() const { return fProgramChoice; }

  void StateMachineRun();
  void Showbuttons(TShowButtonType aShowbutton);
  void InitGui(bool aUseOEMGui);
  void SetWelcomePicture(bool aOnOff);
  // The bitmap that WelcomeImage shows (null: none), for tests.
  HBITMAP WelcomeBitmap() const { return fWelcomeBitmap.get(); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam) noexcept;
  INT_PTR HandleMessage(UINT aMessage, WPARAM aWParam, LPARAM aLParam);

  // Window and layout.
  void CreateFrame();
  void CreatePages();
  void ApplyScale(UINT aDpi);
  void LayoutFrame();
  void CenterOnScreen() const;
  void PaintFrame(HDC aDc) const;
  RECT Px(const RECT& aAt96) const;
  void ApplyFixedCaptions();
  void ShowPage(TWizardPageId aPage);
  void FocusDefaultButton();
  HWND Control(int aId) const;
  HWND Button(TNavButton aButton) const;
  void SetText(int aId, const std::string& aText) const;
  void SetShortenedText(int aId, const std::string& aText) const;
  std::string Text(int aId) const;
  void Repaint() const;
  // WelcomeImage gets the engine's picture drawn for the window's size and DPI, or none.
  void LoadWelcomeImage();

  // Engine calls: one at a time; what arrived meanwhile runs afterwards.
  void CallEngine(const std::function<void(TSetupEngine&)>& aCall);
  void AfterEngineReturned();
  bool EngineBusy() const { return fEngineDepth > 0; }

  void StepEnter(TSetupEngine& e, TStepTypes aStep);
  void StepUpdate(TSetupEngine& e, TStepTypes aStep, TStepMessage aMessage);
  void StepLeave(TSetupEngine& e, TStepTypes aStep);
  void ShowWelcomePage(TSetupEngine& e);
  void ShowWhereToPage(TSetupEngine& e);
  void ShowInstallUpdate(TSetupEngine& e, TStepMessage aMessage);
  void ShowFinishPage(TSetupEngine& e, TStepMessage aMessage);
  void ShowRightsPage(const std::vector<std::string>& aLines, int aTextId, int aSecondTextId);
  void ShowInfoLines(const std::vector<std::string>& aLines);
  void ShowExternalProgram(TStepMessage aMessage, const std::vector<std::string>& aLines);
  // Plain black text in the rich edit of the info page, which becomes the active page.
  void SetRichInfoText(const std::string& aText);

  // Start and final info pages: the list and the index of the next page for either step.
  const std::vector<TCommonInfo>& InfoList(TStepTypes aStep) const;
  int& InfoIndex(TStepTypes aStep);
  bool InfoPagesRemain(TStepTypes aStep);
  bool InfoPageShown(const TCommonInfo& aPage) const;
  void ShowInfoPage(const TCommonInfo& aPage);
  // The next page to show, or on past the pages when none is left.
  void NextInfoPage(TStepTypes aStep);
  // The page shown before the current one; from the first start page, the step before.
  void PrevInfoPage(TStepTypes aStep);
  void AppRunPrompt(TSetupEngine& e);

  // Button handlers.
  void OnCommand(int aId, int aCode, HWND aControl);
  void NextBtnClick();
  void PrevBtnClick();
  void ExitBtnClick();
  void OkBtnClick();
  void CancelBtnClick();
  void YesBtnClick();
  void NoBtnClick();
  void BrowseBtnClick();
  void DefaultBtnClick(bool aCustom);
  void WelcomeImageClick();
  void RBChoice1Click(int aId);
  void RB1Click(int aId);
  void ShowProgramAlternatives();
  // A click that would run the engine while a step runs: it waits for the step's return.
  bool DeferWhileBusy(int aId);
  // The user ends the run before its work is done: logged, and the run counts as cancelled.
  void EndedByUser(const char* aLogLine);
  bool FormCloseQuery();
  void CloseAccepted();

  TSetupEngine* fSetup = nullptr;
  HWND fHandle = nullptr;
  TUiScale fScale;
  HFONT fFont = nullptr;
  HFONT fBoldFont = nullptr;
  HFONT fTitleFont = nullptr;
  HBRUSH fLightBrush = nullptr;
  HBRUSH fWhiteBrush = nullptr;
  std::array<std::unique_ptr<TWizardPage>, kWizardPageCount> fPages;
  TOptionsPage* fOptionsPage = nullptr;
  TConfirmPage* fConfirmPage = nullptr;
  std::unique_ptr<TWizardProgress> fProgress;
  int fActivePage = -1;
  int fChoiceSelection = -1;
  TProgramAlternatives fProgramAlternatives;
  int fProgramChoice = 0;
  bool fWelcomePictureShown = false;
  UniqueHBitmap fWelcomeBitmap;
  bool fOemLook = false;

  bool FirstTime = true;
  std::string InstallToCaption;
  int FinalInfoindex = 0;
  int StartInfoindex = 0;

  int fEngineDepth = 0;
  bool fTimerArmed = false;
  bool fTerminated = false;     // stTerminate has left: the window closes
  bool fCloseRequested = false;  // a close was accepted while a step ran
  bool fFailed = false;
  std::vector<int> fDeferredCommands;
};

}  // namespace vek
