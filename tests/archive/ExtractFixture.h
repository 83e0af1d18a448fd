#pragma once
// What the extraction tests share: a pack and a destination folder below the temporary
// folder, the destination as the current folder, scripted answers to the dialogs, a bar that
// may refuse large maximums, a cleanup record that may refuse to be written and the log.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ZipBuilder.h"
#include "ZipTestSupport.h"
#include "archive/ProgressMonitor.h"
#include "archive/PackExtraction.h"
#include "base/FakeUserChannel.h"

namespace vek::test {

class TFakeBar : public IProgressBar {
 public:
  explicit TFakeBar(int aLargestMax = INT32_MAX) : fLargestMax(aLargestMax) {}
  bool SetMax(int aMax) override {
    if (aMax > fLargestMax) return false;
    fMax = aMax;
    return true;
  }
  std::optional<int> Max() const override { return fMax; }
  void SetMin(int aMin) override { fMin = aMin; }
  std::optional<int> Min() const override { return fMin; }
  void SetPosition(int aPosition) override {
    fPosition = aPosition;
    Positions.push_back(aPosition);
  }
  std::optional<int> Position() const override { return fPosition; }

  std::vector<int> Positions;

 private:
  int fLargestMax;
  int fMax = 100, fMin = 0, fPosition = 0;
};

class TFakeCleanupRecord : public ICleanupRecord {
 public:
  // Keys are unique within a section, as in the real record.
  bool WriteKey(const std::string& aSection, const std::string& aKey) override {
    if (Refuse) return false;
    std::vector<std::string>& keys = Sections[aSection];
    if (std::find(keys.begin(), keys.end(), aKey) == keys.end()) keys.push_back(aKey);
    return true;
  }
  std::string FileName() const override { return "C:\\cleanup.ini"; }
  void Flush() override { FlushedKeys = Sections; }

  bool Refuse = false;
  // What the record held when it was last made durable.
  std::map<std::string, std::vector<std::string>> FlushedKeys;
  std::map<std::string, std::vector<std::string>> Sections;
};

struct TExtractCall {
  std::vector<std::string> Masks{"*.*"};
  bool NewerOnly = false;
  std::uint16_t FileAttr = 0;
  int UnpackMode = umAll;
};

class ExtractTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the pack "pack.zip" beside the destination folder and returns its path.
  std::string WritePack(const TTestPack& aPack);
  void Extract(const std::string& aPack, const TExtractCall& aCall = {});

  fs::path Target(const std::string& aName) const { return fDest.Path() / PathFromUtf8(aName); }
  std::string TargetUtf8(const std::string& aName) const { return Utf8Path(Target(aName)); }
  std::vector<std::string> Files() const { return TreeOf(fDest.Path()); }
  std::vector<std::string> Recorded() { return fCleanup.Sections["Files"]; }
  bool LogHas(const std::string& aPart) const;

  TTempFolder fPackFolder, fDest;
  TProgressMonitor fMonitor;
  TFakeCleanupRecord fCleanup;
  bool fCleanupErrorShown = false;
  // The run's channel: its Questions are the dialogs the extraction asked, its Answers the
  // answers of the next ones (1 once they run out).
  TFakeUserChannel fChannel;
  std::vector<std::string> fLog;

 private:
  std::string fOldFolder;
};

// An entry stored with this content and DOS time.
TTestEntry EntryOf(const std::string& aName, const std::string& aData, std::uint32_t aDosDateTime = 0x2E8530E4);

}  // namespace vek::test
