#include "script/UserRightsCheck.h"

// shell32's test of the process token for the Administrators group. Declared here because this
// area does not include the Windows headers; BOOL is an int.
extern "C" __declspec(dllimport) int __stdcall IsUserAnAdmin();

namespace vek {

TUserRights CurrentUserRights() {
  const bool admin = IsUserAnAdmin() != 0;
  return TUserRights{admin, admin};
}

}  // namespace vek
