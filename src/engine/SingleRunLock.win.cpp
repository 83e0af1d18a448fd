// The single-run lock of an installation, taken by the engine's steps (SingleRunLock.h).
#include <algorithm>

#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "engine/SingleRunLock.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/Files.h"

namespace vek {

bool TSetupEngine::LockSystemFolder(const std::string& aFolder) {
  if (aFolder.empty()) return true;
  const std::string full = GetFullPathNameOf(aFolder);
  const std::string name = SingleRunLockName(full.empty() ? aFolder : full);
  if (std::find(fRunLockNames.begin(), fRunLockNames.end(), name) != fRunLockNames.end()) return true;
  TNamedMutex lock;
  const SysResult taken = lock.Acquire(name, kSingleRunWaitMilliseconds);
  if (!taken) {
    Log(FailureLine("Lock the installation in", aFolder, taken));
    LogAndShowMsg(LanguageText(txt::Msg_SetupError), FormatText(LanguageText(txt::Setup_RunBusy), {aFolder}),
                  mtError);
    return false;
  }
  fRunLocks.push_back(std::move(lock));
  fRunLockNames.push_back(name);
  return true;
}

}  // namespace vek
