#pragma once
// Test access to the language table's files: the veklang.tsv that the build copied beside the
// generated resource data, and the few text rules the tests check the table with.
#include <string>
#include <string_view>
#include <vector>

#include "language/LanguageTableFormat.h"

namespace vek::test {

// A file of the generated language folder (the build tree's generated/language).
std::string LanguageDataPath(std::string_view aFileName);
std::string ReadBinaryFile(const std::string& aPath);

// The lines of a text file, without line ends.
std::vector<std::string> ReadLines(const std::string& aPath);

// A tab-separated file: the header's cells and every further line's cells.
struct TsvFile {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
};
TsvFile ReadTsv(const std::string& aPath);

// Expects (GoogleTest) the decoded table to hold exactly the shipped veklang.tsv, cell by cell
// and in the file's row order.
void ExpectSameAsShippedTsv(const TLanguageTableData& aTable);

// The placeholders the formatter fills ("%s", "%-10d", "%x"), in order; "%%" is none.
std::vector<std::string> Placeholders(std::string_view aText);
// The accelerator character of a caption (the one after a single "&"), upper-cased; 0 if none.
char32_t Accelerator(std::string_view aText);
// How many "&&" line breaks a message text holds.
int LineBreaks(std::string_view aText);

}  // namespace vek::test
