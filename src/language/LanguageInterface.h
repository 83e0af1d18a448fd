#pragma once
// Ilanguages: what the program asks of its language table. One object lives for the whole run;
// the start-up creates it and every fixed text is read through it by number (or by name).
#include <string>
#include <string_view>

namespace vek {

class Ilanguages {
 public:
  virtual ~Ilanguages() = default;

  // Opens the table when it is not open yet and selects the column of aLangCode (compared
  // without regard to case). False when the table has no such column; texts then come from
  // the default column.
  virtual bool load(const std::string& aLangCode) = 0;
  virtual void close() = 0;
  // The text of a row in the selected language, the default language's text where the
  // selected one is missing; empty when the table is closed or has no such row.
  virtual std::string ls(int aId) const = 0;
  virtual std::string ls(std::string_view aName) const = 0;
  virtual std::string GetdefaultLangCode() const = 0;
  virtual void SetdefaultLangCode(const std::string& aLangCode) = 0;
};

}  // namespace vek
