#pragma once
// Attributes and the last-write time of one file or folder, by UTF-8 path. The time is the
// local wall-clock time, the way pack entries carry theirs.
#include <cstdint>
#include <string>

#include "system/SysResult.h"

namespace vek {

inline constexpr std::uint32_t kAttrReadOnly = 0x01;

// Fails (ERROR_FILE_NOT_FOUND and the like) when nothing of that name exists.
SysResult GetFileAttributesAt(const std::string& aPath, std::uint32_t& aAttributes);
SysResult SetFileAttributesAt(const std::string& aPath, std::uint32_t aAttributes);

struct TLocalFileTime {
  int Year = 1601, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0;
};

SysResult GetLastWriteLocalTime(const std::string& aPath, TLocalFileTime& aTime);
SysResult SetLastWriteLocalTime(const std::string& aPath, const TLocalFileTime& aTime);

}  // namespace vek
