#pragma once
// The formatter for language texts and log lines: "%s" (text), "%d" (decimal), "%x"
// (upper-case hexadecimal), "%%", with an optional "-" flag, "0" flag and width ("%-10s",
// "%08x"). It never reads past its arguments: a placeholder without an argument, or whose
// argument is of the wrong kind (a number for "%d" is required; "%s" also prints a number),
// and any unknown placeholder are copied to the output as they stand. So a translation with
// a wrong placeholder prints the placeholder instead of crashing.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace vek {

class FormatArg {
 public:
  FormatArg(std::string_view aText) : fValue(std::string(aText)) {}
  FormatArg(const std::string& aText) : fValue(aText) {}
  FormatArg(const char* aText) : fValue(std::string(aText ? aText : "")) {}
  FormatArg(int aNumber) : fValue(static_cast<std::int64_t>(aNumber)) {}
  FormatArg(long aNumber) : fValue(static_cast<std::int64_t>(aNumber)) {}
  FormatArg(long long aNumber) : fValue(static_cast<std::int64_t>(aNumber)) {}
  FormatArg(unsigned aNumber) : fValue(static_cast<std::int64_t>(aNumber)) {}
  FormatArg(unsigned long aNumber) : fValue(static_cast<std::int64_t>(aNumber)) {}
  FormatArg(unsigned long long aNumber) : fValue(static_cast<std::int64_t>(aNumber)) {}

  const std::string* Text() const { return std::get_if<std::string>(&fValue); }
  const std::int64_t* Number() const { return std::get_if<std::int64_t>(&fValue); }

 private:
  std::variant<std::string, std::int64_t> fValue;
};

std::string FormatText(std::string_view aFormat, std::initializer_list<FormatArg> aArgs);

}  // namespace vek
