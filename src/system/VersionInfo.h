#pragma once
// TVersionInfo: the version resource of a file, read once when it is created. Without a
// resource (or without the file) the fixed values are 0 and the strings empty.
#include <cstdint>
#include <string>
#include <vector>

namespace vek {

class TVersionInfo {
 public:
  explicit TVersionInfo(const std::string& aFileName);

  bool IsVersionInfoFound() const { return fFound; }
  // The string value "FileVersion" of the resource's string table.
  std::string FileVersion() const { return StringValue("FileVersion"); }
  // A string value of the string table named by the first translation ("040904E4" without one);
  // empty when absent. The text ends at its first NUL.
  std::string StringValue(const std::string& aName) const;
  // The two 32-bit halves of the fixed file and product versions, most significant first.
  std::uint32_t FixedFileVersion() const { return fFixedFileVersion; }
  std::uint32_t FixedFileBuild() const { return fFixedFileBuild; }
  std::uint32_t FixedProductVersion() const { return fFixedProductVersion; }
  std::uint32_t FixedProductBuild() const { return fFixedProductBuild; }
  const std::string& TranslationName() const { return fTranslation; }

 private:
  std::vector<unsigned char> fData;
  bool fFound = false;
  std::string fTranslation = "040904E4";
  std::uint32_t fFixedFileVersion = 0;
  std::uint32_t fFixedFileBuild = 0;
  std::uint32_t fFixedProductVersion = 0;
  std::uint32_t fFixedProductBuild = 0;
};

// A 32-bit half as "high.low" of its 16-bit words.
std::string FixedVersionToString(std::uint32_t aHalf);

}  // namespace vek
