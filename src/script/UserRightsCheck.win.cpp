#include "script/UserRightsCheck.h"

#include "system/UserRights.h"

namespace vek {

TUserRights CurrentUserRights() {
  const TTokenGroups groups = CurrentTokenGroups();
  // An administrator has every right a power user has.
  return TUserRights{groups.administrator, groups.powerUser || groups.administrator};
}

}  // namespace vek
