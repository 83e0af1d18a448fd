#pragma once
// The script's own text variables: two ordered lists of name=value, names compared without
// regard to case. A user path variable is joined as a path with the text that follows its
// reference; a user variable is inserted as it is. Both lists live for the whole run.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vek {

class TUserVariables {
 public:
  using TList = std::vector<std::pair<std::string, std::string>>;

  // Setting a name that the list holds replaces its value; otherwise the name is appended.
  void SetPathVariable(std::string_view aName, std::string_view aValue) { Set(fPathVariables, aName, aValue); }
  void SetVariable(std::string_view aName, std::string_view aValue) { Set(fVariables, aName, aValue); }
  // Removes the name from both lists.
  void Delete(std::string_view aName);
  bool Exists(std::string_view aName) const;
  // The path variable first, then the variable; empty when neither has the name.
  std::string Value(std::string_view aName) const;

  const TList& PathVariables() const { return fPathVariables; }
  const TList& Variables() const { return fVariables; }

 private:
  static void Set(TList& aList, std::string_view aName, std::string_view aValue);

  TList fPathVariables;
  TList fVariables;
};

}  // namespace vek
