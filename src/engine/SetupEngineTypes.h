#pragma once
// The enumerations shared by the engine and its front ends. Their order is part of the
// contract: the log names unnamed steps by their ordinal number.
#include <cstdint>
#include <string>

namespace vek {

enum TStepTypes : std::uint8_t {
  stStart,                       // 0
  stAppRunTest,                  // 1
  stShowWelcomePicture,          // 2
  stInstUpd,                     // 3
  stSelectLanguage,              // 4
  stSetLanguage,                 // 5
  StStartInfo,                   // 6
  stSmallFontTest,               // 7: no transition leads here
  stAcceptLicens,                // 8
  stDeftCust,                    // 9
  stIoptions,                    // 10
  stWhereTo,                     // 11
  StReadInstallIniExternals,     // 12
  stInstallFiles,                // 13
  stIconfirm,                    // 14
  StReadInstallIniOptions,       // 15
  stUpdGroups,                   // 16
  stDoUpdGroups,                 // 17
  stDoForceUpdGroups,            // 18
  stUpdUnInstallInfo,            // 19
  stCopyExternals,               // 20
  stExecuteExternals,            // 21
  stCheckWhereTo,                // 22
  stVerifySystemInfoUserRights,  // 23
  stVerifyUserRights,            // 24
  stExecuteChoices,              // 25
  stCleanUpStart,                // 26
  stCleanUpDirInfo,              // 27
  stCleanUpExecute,              // 28
  stCleanUpShowErrors,           // 29
  stFinishGenWorkStation,        // 30: no transition leads here
  stFinishCleanUp,               // 31
  stFinalInfo,                   // 32
  stFinish,                      // 33
  stTerminate,                   // 34
  stWait,                        // 35: no transition leads here
};
inline constexpr int kStepTypeCount = stWait + 1;

enum TStepAction : std::uint8_t { saNone, saEnter, saLeave, saUpdate };

enum TStepMessage : std::uint8_t {
  smNone,
  smSysAdmRightsFailed,
  smSysPowerRightsFailed,
  smStartFindSystem,
  smFindSystem,
  smFoundSystem,
  smFoundDir,
  smInitProgressMonitor,
  smUpdate,
  smProgressMax,
  smProgressStep,
  smNoProgressBar,
  smFromToFile,
  smFromFile,
  smUnPackText,
  smYesNoBtn,
  smRs_Ask,
  smRs_RunProg,
  smDiskDrive,
  smGetProgInfo,
  smFindFile,
  smShowErrorLog,
  smCleanUpExt,
  smCleanUpFile,
  smCleanUpFolder,
  smCleanUpGrp,
  smChoice,
};

// Which button set the wizard shows.
enum TShowButtonType : std::uint8_t {
  sbPrevNextExit,
  sbPrevNext,
  sbNextExit,
  sbPrevExit,
  sbNext,
  sbExit,
  sbYesNo,
  sbYesNoDefault,
  sbOkCancel,
  sbOkAbort,
  sbOk,
  SbCancel,
  sbContinue,
  sbAbort,
  sbStop,
};

// States of the external-program loop.
enum TRunStates : std::uint8_t {
  rs_getprog,
  rs_ask,
  rs_scandrive,
  rs_runprog,
  rs_ForceRunprog,
  rs_getnextprog,
  rs_extAppIsRunning,
};

// States of the choice loop.
enum TChoiceStates : std::uint8_t { ch_ask, ch_set };

struct TPrevStep {
  TStepTypes PrevStep = stStart;
};

// The display name written to the log at the start of each step; steps without one, and
// values outside the enumeration, give "Unknown step: " and the ordinal number.
std::string GetStepName(int aStep);

// How the sequence goes on after a step.
enum TGoOn : std::uint8_t {
  goAtOnce,    // the next step is performed at once
  goIfSilent,  // at once in a silent run; otherwise the front end continues
  goWait,      // the front end continues (a silent run ends here)
  goEnd,       // the sequence ends; NextStep stays as it is
};

// What a step decided: the step after it, how to go on, and whether the run has failed to do
// what it was asked (the exit code tells it). Every step returns one; the engine applies it in
// one place.
struct TStepOutcome {
  TStepTypes next = stTerminate;
  TGoOn goOn = goEnd;
  bool failed = false;

  static TStepOutcome AtOnce(TStepTypes aNext) { return {aNext, goAtOnce, false}; }
  static TStepOutcome IfSilent(TStepTypes aNext) { return {aNext, goIfSilent, false}; }
  static TStepOutcome Wait(TStepTypes aNext) { return {aNext, goWait, false}; }
  static TStepOutcome End() { return {stTerminate, goEnd, false}; }
  // The same outcome for a run that failed.
  TStepOutcome Failed() const { return {next, goOn, true}; }
};

}  // namespace vek
