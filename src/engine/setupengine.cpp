#include "engine/setupengine.h"

#include "engine/SetupLog.h"
#include "system/Clock.h"
#include "system/Files.h"
#include "system/PathText.h"
#include "ui/Msgdlg.h"

namespace vek {

TSetupEngine::TSetupEngine(TRunContext& aContext) : fContext(aContext) {
  const LocalDateTime now = GetLocalDateTime();
  fLogFileName = MakeLogFileName(GetTempDir(), ExtractFileName(GetProgramPath()),
                                 {now.year, now.month, now.day, now.hour, now.minute, now.second});
}

TSetupEngine::~TSetupEngine() = default;

bool TSetupEngine::NotifyStep(TStepAction aAction, TStepMessage aMessage) {
  if (!FOnStep) return false;
  fStepAction = aAction;
  fStepMessage = aMessage;
  FOnStep(*this);
  return true;
}

void TSetupEngine::ExecuteStep() {
  const TStepTypes step = fNextStep;
  fStep = step;
  fStepAction = saEnter;
  fStepMessage = smNone;
  if (FOnStep) FOnStep(*this);
  Log(GetStepName(step));
  PerformStep(step);
  // Steps performed inside this one have changed Step; the front end must see this step's
  // own leave, after theirs: enter(A), enter(B), leave(B), leave(A).
  fStep = step;
  fStepAction = saLeave;
  fStepMessage = smNone;
  if (FOnStep) FOnStep(*this);
}

void TSetupEngine::ExecuteStepIfSilent() {
  if (fSilent) ExecuteStep();
}

void TSetupEngine::ContinueAt(TStepTypes aStep) {
  fNextStep = aStep;
  ExecuteStep();
}

void TSetupEngine::ContinueIfSilentAt(TStepTypes aStep) {
  fNextStep = aStep;
  ExecuteStepIfSilent();
}

void TSetupEngine::ExecuteUseDefaultOptions() {
  Log("   Use Default Options");
  fNextStep = stExecuteChoices;
  ExecuteStep();
}

void TSetupEngine::ExecuteUseCustomOptions() {
  Log("   Use Custom Options");
  fNextStep = stIoptions;
  ExecuteStep();
}

void TSetupEngine::UpdatePrevSteps() {
  bool push = false;
  switch (fStep) {
    case stStart:
    case stShowWelcomePicture:
    case stInstUpd:
    case stIoptions:
    case stInstallFiles:
    case stCleanUpStart:
      push = true;
      break;
    case stSelectLanguage: push = false; break;  // the language choice has no options yet
    case stDeftCust: push = fDeftCustMode == 0; break;
    case stWhereTo: push = !fcmdLineInstallPath; break;
    case stExecuteChoices: push = ChoiceIndex == 0; break;
    case stAppRunTest:
    case stSetLanguage:
    case StStartInfo:
    case stSmallFontTest:
    case stAcceptLicens:
    case StReadInstallIniExternals:
    case stIconfirm:
    case StReadInstallIniOptions:
    case stUpdGroups:
    case stDoUpdGroups:
    case stDoForceUpdGroups:
    case stUpdUnInstallInfo:
    case stCopyExternals:
    case stExecuteExternals:
    case stCheckWhereTo:
    case stVerifySystemInfoUserRights:
    case stVerifyUserRights:
    case stCleanUpDirInfo:
    case stCleanUpExecute:
    case stCleanUpShowErrors:
    case stFinishGenWorkStation:
    case stFinishCleanUp:
    case stFinalInfo:
    case stFinish:
    case stTerminate:
    case stWait:
      break;
  }
  if (push) SetPrevStep(fStep);
}

TStepTypes TSetupEngine::PrevStep() {
  if (fPrevSteps.empty()) return stStart;
  const TStepTypes step = fPrevSteps.back().PrevStep;
  fPrevSteps.pop_back();
  return step;
}

void TSetupEngine::Log(const std::string& aLogMessage) {
  if (!fDoLog) return;
  const SysResult first = AppendToFile(fLogFileName, LogLine(aLogMessage));
  if (first) return;
  // Keep the run going as long as the reason for the lost line can be written instead.
  const std::string reason = "Cannot write \"" + fLogFileName + "\": " + SystemErrorMessage(first.error);
  if (!AppendToFile(fLogFileName, LogLine(reason))) throw TLogWriteError(reason);
}

void TSetupEngine::LogAndShowMsg(const std::string& aCaption, const std::string& aMsg, int aType) {
  if (!fSilent) MessageOk(aCaption, aMsg, aType);
  Log(aMsg);
}

}  // namespace vek
