#pragma once
// Builds VEKLANG bytes for small tables that the tests need in a particular shape (an empty
// cell, a duplicate name), independently of tools/veklang.py; the test of the real table
// checks that both agree on the format.
#include <string>

#include "language/LanguageTableFormat.h"

namespace vek::test {

std::string EncodeTable(const TLanguageTableData& aTable);
// The same bytes with a new checksum after a test changed the payload.
void RecomputeChecksum(std::string& aBytes);

}  // namespace vek::test
