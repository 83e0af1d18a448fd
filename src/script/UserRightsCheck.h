#pragma once
// Whether the user running the installer meets a rights requirement (the TRightsFlag set of
// LoaderRules.h). The test is split from the asking so that records can be checked against any
// user: CurrentUserRights asks the system once, RightsMet compares.
#include <cstdint>

namespace vek {

struct TUserRights {
  bool Admin = false;
  bool PowerUser = false;  // a member of Power Users, or an administrator
};

// Administrator required: Admin; else power user required: PowerUser or Admin; else true.
bool RightsMet(std::uint8_t aRequired, const TUserRights& aUser);

// Windows (UserRightsCheck.win.cpp): the rights of the user running this process. Power-user
// membership is not asked separately: an administrator counts as power user, and systems from
// NT 6.0 on turn a power-user requirement into an administrator one when the script is read.
TUserRights CurrentUserRights();

}  // namespace vek
