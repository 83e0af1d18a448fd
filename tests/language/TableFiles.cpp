#include "TableFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "base/CaseMap.h"
#include "base/Utf.h"

namespace vek::test {

std::string LanguageDataPath(std::string_view aFileName) {
  return std::string(VEK_LANGUAGE_DATA_DIR) + "/" + std::string(aFileName);
}

std::string ReadBinaryFile(const std::string& aPath) {
  std::ifstream in(aPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

std::vector<std::string> SplitTabs(const std::string& aLine) {
  std::vector<std::string> cells;
  std::istringstream in(aLine);
  std::string cell;
  while (std::getline(in, cell, '\t')) cells.push_back(cell);
  if (!aLine.empty() && aLine.back() == '\t') cells.emplace_back();
  return cells;
}

}  // namespace

std::vector<std::string> ReadLines(const std::string& aPath) {
  std::istringstream in(ReadBinaryFile(aPath));
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TsvFile ReadTsv(const std::string& aPath) {
  TsvFile file;
  for (const std::string& line : ReadLines(aPath)) {
    if (file.header.empty()) {
      file.header = SplitTabs(line);
    } else {
      file.rows.push_back(SplitTabs(line));
    }
  }
  return file;
}

void ExpectSameAsShippedTsv(const TLanguageTableData& aTable) {
  const TsvFile tsv = ReadTsv(LanguageDataPath("veklang.tsv"));
  ASSERT_EQ(tsv.header.size(), aTable.fCodes.size() + 2);
  for (std::size_t c = 0; c < aTable.fCodes.size(); ++c) EXPECT_EQ(aTable.fCodes[c], tsv.header[c + 2]);
  ASSERT_EQ(aTable.fRows.size(), tsv.rows.size());
  for (std::size_t r = 0; r < tsv.rows.size(); ++r) {
    const TLanguageRow& row = aTable.fRows[r];
    ASSERT_EQ(tsv.rows[r].size(), row.fTexts.size() + 2) << "line " << r + 2;
    EXPECT_EQ(std::to_string(row.fID), tsv.rows[r][0]) << "line " << r + 2;
    EXPECT_EQ(row.fName, tsv.rows[r][1]) << "line " << r + 2;
    for (std::size_t c = 0; c < row.fTexts.size(); ++c) {
      EXPECT_EQ(row.fTexts[c], tsv.rows[r][c + 2]) << row.fName << " " << aTable.fCodes[c];
    }
  }
}

std::vector<std::string> Placeholders(std::string_view aText) {
  std::vector<std::string> found;
  for (std::size_t pos = aText.find('%'); pos != std::string_view::npos; pos = aText.find('%', pos)) {
    std::size_t end = pos + 1;
    if (end < aText.size() && aText[end] == '%') {
      pos = end + 1;
      continue;
    }
    while (end < aText.size() && std::string_view("-0123456789").find(aText[end]) != std::string_view::npos) ++end;
    if (end < aText.size()) ++end;  // the conversion character
    found.emplace_back(aText.substr(pos, end - pos));
    pos = end;
  }
  return found;
}

char32_t Accelerator(std::string_view aText) {
  for (std::size_t pos = aText.find('&'); pos != std::string_view::npos; pos = aText.find('&', pos)) {
    if (pos + 1 < aText.size() && aText[pos + 1] == '&') {
      pos += 2;
      continue;
    }
    std::size_t next = pos + 1;
    return next < aText.size() ? UpperChar(DecodeUtf8(aText, next)) : 0;
  }
  return 0;
}

int LineBreaks(std::string_view aText) {
  int count = 0;
  for (std::size_t pos = aText.find("&&"); pos != std::string_view::npos; pos = aText.find("&&", pos + 2)) ++count;
  return count;
}

}  // namespace vek::test
