#include "engine/SetupEngineTypes.h"

#include <array>
#include <string_view>

namespace vek {
namespace {

// Indexed by TStepTypes; an empty entry has no display name.
constexpr std::array<std::string_view, kStepTypeCount> kStepNames{
    "Start",                           // stStart
    "Application Run Test",            // stAppRunTest
    "Show Welcome Picture",            // stShowWelcomePicture
    "Install or Update",               // stInstUpd
    "",                                // stSelectLanguage
    "",                                // stSetLanguage
    "Start Info",                      // StStartInfo
    "SmallFont test",                  // stSmallFontTest
    "User Accept Licenses",            // stAcceptLicens
    "Default or Custom",               // stDeftCust
    "Options",                         // stIoptions
    "Where To Install",                // stWhereTo
    "Read Externals",                  // StReadInstallIniExternals
    "Install files",                   // stInstallFiles
    "Confirm",                         // stIconfirm
    "Read Options",                    // StReadInstallIniOptions
    "Update shortcuts",                // stUpdGroups
    "Do Update shortcuts",             // stDoUpdGroups
    "do Force shortcuts",              // stDoForceUpdGroups
    "Update Uninstall info",           // stUpdUnInstallInfo
    "Copy Externals",                  // stCopyExternals
    "Execute externals",               // stExecuteExternals
    "Check Installpath",               // stCheckWhereTo
    "Verify SystemInfo Users rights",  // stVerifySystemInfoUserRights
    "Verify user rigths",              // stVerifyUserRights
    "",                                // stExecuteChoices
    "Start clean up",                  // stCleanUpStart
    "Clean up dir info",               // stCleanUpDirInfo
    "Clean up execute",                // stCleanUpExecute
    "Clean up show errors",            // stCleanUpShowErrors
    "Finish generate workstation",     // stFinishGenWorkStation
    "Finish CleanUp",                  // stFinishCleanUp
    "Final info",                      // stFinalInfo
    "Finish",                          // stFinish
    "Terminate",                       // stTerminate
    "Wait",                            // stWait
};

}  // namespace

std::string GetStepName(int aStep) {
  if (aStep >= 0 && aStep < kStepTypeCount && !kStepNames[static_cast<std::size_t>(aStep)].empty()) {
    return std::string(kStepNames[static_cast<std::size_t>(aStep)]);
  }
  return "Unknown step: " + std::to_string(aStep);
}

}  // namespace vek
