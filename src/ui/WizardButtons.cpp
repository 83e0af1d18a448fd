// The wizard's buttons and its close: each press turns into an engine call or a flag.
#include "ui/WizardForm.h"

#include <commctrl.h>
#include <richedit.h>

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

void TWizardForm::OnCommand(int aId, int aCode, HWND) {
  const bool clicked = aCode == BN_CLICKED;
  if (!fSetup) return;
  if (aId == idWelcomeImage && aCode == STN_CLICKED) return WelcomeImageClick();
  if (aId == idChoiceComboBox && aCode == CBN_SELCHANGE) return RBChoice1Click(aId);
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
    case idRBChoice1:
    case idRBChoice2:
    case idRBChoice3:
    case idRBChoice4: RBChoice1Click(aId); break;
    case idRB1:
    case idRB2:
    case idRB3:
    case idRB4: RB1Click(aId); break;
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
  } else if (IsInfoStep(step) && InfoPagesRemain(step)) {
    Showbuttons(sbPrevNext);
    NextInfoPage(step);
    return;
  }
  StateMachineRun();
}

void TWizardForm::PrevBtnClick() {
  TSetupEngine& e = *fSetup;
  if (IsInfoStep(e.Step())) return PrevInfoPage(e.Step());
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
  if (step == stFinalInfo) return NextInfoPage(stFinalInfo);
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

}  // namespace vek
