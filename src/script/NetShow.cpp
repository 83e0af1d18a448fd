#include "script/NetShow.h"

namespace vek {

bool InstallationKindMatches(int aCode, bool aNetInstall, bool aTSInstall) {
  switch (aCode) {
    case 0: return !aNetInstall;
    case 1: return true;
    case 2: return aNetInstall;
    case 3: return !aTSInstall;
    case 4: return aTSInstall;
    case 5: return aNetInstall && !aTSInstall;
    case 6: return aTSInstall && !aNetInstall;
    case 7: return aNetInstall && aTSInstall;
    case 8: return !aNetInstall && !aTSInstall;
    case 9: return !aNetInstall || aTSInstall;
    case 10: return !aTSInstall || aNetInstall;
    default: return false;
  }
}

}  // namespace vek
