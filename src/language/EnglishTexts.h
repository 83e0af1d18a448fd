#pragma once
// The English column of the language table, compiled into the program. It answers language
// texts when no table is open: a program without the VEKLANG resource (the test programs),
// or one whose resource is damaged.
#include <string_view>

namespace vek {

// The English text of row aId; empty when the table has no such row.
std::string_view BuiltInEnglishText(int aId);

}  // namespace vek
