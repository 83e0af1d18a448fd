#pragma once
// The rights of the user the process runs as: membership of the built-in Administrators and
// Power Users groups in the process token.
namespace vek {

struct TTokenGroups {
  bool administrator = false;
  bool powerUser = false;
};

TTokenGroups CurrentTokenGroups();

}  // namespace vek
