#include "script/UserRightsCheck.h"

#include "script/LoaderRules.h"

namespace vek {

bool RightsMet(std::uint8_t aRequired, const TUserRights& aUser) {
  if (aRequired & rfAdministrator) return aUser.Admin;
  if (aRequired & rfPowerUser) return aUser.Admin || aUser.PowerUser;
  return true;
}

}  // namespace vek
