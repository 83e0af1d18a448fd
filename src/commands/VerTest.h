#pragma once
// Version and existence tests: of the installed system before an update ("UVersionCheck") and of
// an external program before it runs ("VersionCheck"). A test names where the found value comes
// from (a program file's version resource, an INI or MIF file, a registry value), an operator
// and a target: a version of up to four parts, a text, or several texts joined by "|".
//
// Parsing and comparing are plain logic; the reads go through TVersionSource, whose system form
// (SystemVersionSource.h) reads the real files and registry.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/ValueReference.h"
#include "system/Registry.h"

namespace vek {

enum TVersionTests : std::uint8_t {
  vtEqual,
  vtNotEqual,
  vtLess,
  vtGreater,
  vtEqualOrLess,
  vtEqualOrGreater,
  VtNone,
};

// The operator as a script writes it ("=", "<>", ...; "none" for VtNone), for log lines.
std::string_view VersionTestName(TVersionTests aTest);

// A version of four parts; -1 marks a part that is not given and is skipped by comparisons.
// Parts that come from a version resource are 16 bits wide.
struct TfileVersion {
  std::int32_t Major = -1;
  std::int32_t Minor = -1;
  std::int32_t Release = -1;
  std::int32_t Build = -1;

  // Compares this (found) version with aVersion (the target).
  bool TestVersion(TVersionTests aTest, const TfileVersion& aVersion) const;
  // "1.2.-1.-1" style: every part as it is, for log lines.
  std::string ToString() const;
  bool operator==(const TfileVersion&) const = default;
};

// Why a found text did not give a version; vpOk when it did.
enum TVersionParse : std::uint8_t { vpOk, vpEmptyMajor, vpNotANumber, vpTooLarge, vpSigned, vpNul };
std::string_view VersionParseName(TVersionParse aResult);

// A found text read as a version ("2.1.0.7"): up to four parts at "."; an empty later part stays
// -1, parts after the fourth are ignored. A part must be plain decimal digits that fit in 16
// bits: a sign, a NUL, other characters or a larger number make the text no version at all
// rather than a wrapped or truncated one.
TVersionParse ParseFoundVersion(std::string_view aText, TfileVersion& aVersion);

// What a source read for the test, in the form the platform gives it.
struct TVersionResource {
  bool found = false;                  // the file has a readable version resource
  std::string FileVersion;             // the string value "FileVersion" of its string table
  std::uint32_t FixedFileVersion = 0;  // the fixed file version, most significant half
  std::uint32_t FixedFileBuild = 0;    // and least significant half
};

// The platform's reads behind the tests. The INI and plain-registry reads are those of value
// references.
class TVersionSource : public TValueSource {
 public:
  virtual bool FileExists(const std::string& aPath) const = 0;
  // A registry value of a key opened read-only: a string as it is, an integer as decimal text;
  // nothing when the key or value is missing or cannot be read.
  virtual std::optional<std::string> ReadRegistryValue(TRegistryRoot aRoot, const std::string& aKeyPath,
                                                       const std::string& aValueName) const = 0;
  // The names of the subkeys of a key; empty when it cannot be read.
  virtual std::vector<std::string> ReadRegistrySubKeys(TRegistryRoot aRoot,
                                                       const std::string& aKeyPath) const = 0;
  virtual TVersionResource ReadVersionResource(const std::string& aPath) const = 0;
};

// The fixed file version of a resource as four 16-bit parts; all -1 without one.
TfileVersion FixedVersionOf(const TVersionResource& aResource);
// The fixed file version of a file; all -1 (equal to any version) when the file is missing or
// has no version resource.
TfileVersion CreateAndLoadVersionInfo(const TVersionSource& aSource, const std::string& aFileName);

// What one run of a test saw, for the log.
struct TVersionTrace {
  std::string found;  // the value read, as compared
  std::string note;   // why a found value could not be compared, when it could not
};

class TFileVersionCheck {
 public:
  std::string filename;  // a file path, or a registry root name beginning with "HKEY_"
  std::string Section;   // INI section, registry key path or the name of the version value
  std::string Key;       // INI key or registry value name
  std::string Value;     // a textual target; empty when the target is a version
  TfileVersion version;  // the target version
  TVersionTests VerTest = vtEqual;
  std::string ErrorText;        // shown when the test fails
  bool FileMustExists = false;  // a missing file fails the test; "<FILEEXISTS>" clears it
  bool KeyMustExists = false;   // a missing value compares as "0"; "<KEYEXISTS>" clears it
  bool ValOrKeyTest = false;    // registry: without the value, the highest version-like subkey
  std::string ParseNote;        // what in the target could not be read as given; empty when all

  // The three-part form of the script's "UVersionCheck" lines: file, section, test.
  void SetVersionTest(std::string_view aFilename, std::string_view aSection, std::string_view aTest);
  // The one-text form of an external program's "VersionCheck": "file,section[,key]<op>target".
  void SetVersionTest(std::string_view aVersionKey);

  // Reads the found value and compares it; aLangCode selects the language override of INI keys.
  bool IsVersionOk(const TVersionSource& aSource, std::string_view aLangCode,
                   TVersionTrace* aTrace = nullptr) const;
  // The value the test reads, for display.
  std::string GetTestTargetVersion(const TVersionSource& aSource, std::string_view aLangCode) const;
  // The target as the script gave it, for log lines: the text or the version.
  std::string TargetText() const;

 private:
  void SetOperatorAndTarget(std::string_view aOp, std::string_view aTarget);
  // The file part of a test with its leading tokens (<FILEEXISTS>, <KEYEXISTS>, <VALORKEY>)
  // taken off into the flags.
  void SetFileAndTokens(std::string_view aFilename);
  bool CompareFound(const std::string& aFound, TVersionTrace* aTrace) const;
  bool RegistryOk(const TVersionSource& aSource, TVersionTrace* aTrace) const;
  bool IniOk(const TVersionSource& aSource, std::string_view aLangCode, TVersionTrace* aTrace) const;
  bool ResourceOk(const TVersionSource& aSource, TVersionTrace* aTrace) const;
};

// One log line for a test that ran: where it read, what it found, the operator, the target and
// the result, with the reason when a value could not be compared.
//   Version test "C:\Prog\app.exe" FixedFileVersion: found 1.2.0.0 >= 2.1: failed
std::string VersionCheckLogLine(const TFileVersionCheck& aCheck, const TVersionTrace& aTrace, bool aPassed);

// The parts of a script line: the name before the operator, the operator's run of "<", "=" and
// ">" characters, and the target after it.
struct TOperatorSplit {
  std::string name;
  std::string op;
  std::string target;
};
TOperatorSplit SplitOperator(std::string_view aText);

// The items of a "|" target: "|" and white space separate them, double quotes group.
std::vector<std::string> SplitTargetItems(std::string_view aValue);

}  // namespace vek
