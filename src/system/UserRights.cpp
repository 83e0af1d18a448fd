#include "system/UserRights.h"

#include <windows.h>

namespace vek {
namespace {

// Whether the process token holds the built-in group aAlias (a DOMAIN_ALIAS_RID_*), enabled.
bool TokenHasBuiltinGroup(DWORD aAlias) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID group = nullptr;
  if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, aAlias, 0, 0, 0, 0, 0, 0, &group)) {
    return false;
  }
  BOOL member = FALSE;
  const bool checked = ::CheckTokenMembership(nullptr, group, &member) != FALSE;
  ::FreeSid(group);
  return checked && member != FALSE;
}

}  // namespace

TTokenGroups CurrentTokenGroups() {
  return {TokenHasBuiltinGroup(DOMAIN_ALIAS_RID_ADMINS), TokenHasBuiltinGroup(DOMAIN_ALIAS_RID_POWER_USERS)};
}

}  // namespace vek
