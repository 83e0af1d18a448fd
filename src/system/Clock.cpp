#include "system/Clock.h"

#include <windows.h>

namespace vek {

LocalDateTime GetLocalDateTime() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace vek
