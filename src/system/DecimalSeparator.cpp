#include "system/DecimalSeparator.h"

#include <windows.h>

#include "system/WinText.h"

namespace vek {

std::string UserDecimalSeparator() {
  wchar_t separator[8] = {};  // at most four characters and the terminator, by the locale rules
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  if (length <= 1) return ".";
  return Narrow(std::wstring_view(separator, static_cast<std::size_t>(length - 1)));
}

}  // namespace vek
