#pragma once
// The setup log: file name and line format. Lines are UTF-8 without a byte-order mark, each
// ended by CR LF, appended to the file in the temporary folder.
#include <string>
#include <string_view>

namespace vek {

struct LogTimestamp {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// aTempDir + the program's file name up to its first "." + "_DDMMYY_HHMMSS.log".
std::string MakeLogFileName(std::string_view aTempDir, std::string_view aProgramFileName,
                            const LogTimestamp& aWhen);

// The bytes appended for one message: the message as it is, then CR LF.
std::string LogLine(std::string_view aMessage);

}  // namespace vek
